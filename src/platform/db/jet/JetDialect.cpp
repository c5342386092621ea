#include "platform/db/jet/JetDialect.h"

#include "platform/db/jet/JetParser.h"

namespace platform {

JetTranslation translateJetSql(const QString &jet, JetTextKind kind, const JetCatalog &catalog)
{
    return JetParser(jet, catalog).statement(kind);
}

QString translateJetCriterion(const QString &criterion, const QString &source, const JetCatalog &catalog)
{
    return JetParser(criterion, catalog).criterion(source);
}

} // namespace platform
