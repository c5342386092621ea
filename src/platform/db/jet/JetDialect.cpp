#include "platform/db/jet/JetDialect.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
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

QString translateJetFindCriterion(const QString &criterion, const QString &source, const JetCatalog &catalog)
{
    try {
        return translateJetCriterion(criterion, source, catalog);
    } catch (const RuntimeError &e) {
        // FindFirst reports what it cannot read, and the names it does not know, under
        // numbers of its own.
        switch (e.number()) {
        case err::SyntaxError:
        case err::CharactersAfterEnd:
            throw RuntimeError(err::FindSyntaxError, e.description());
        case err::UnknownName:
            throw RuntimeError(err::FindUnknownName, e.description());
        default:
            throw;
        }
    }
}

} // namespace platform
