#include "platform/db/JetDialect.h"

// Interim pass-through so the engine can be built and tested on plain SQL while the
// translator is written; replaced whole by the translator.
namespace platform {

JetTranslation translateJetSql(const QString &jet, JetTextKind, const JetCatalog &)
{
    return {jet, {}};
}

QString translateJetCriterion(const QString &criterion, const QString &, const JetCatalog &)
{
    return criterion;
}

void registerJetFunctions(sqlite3 *)
{
}

} // namespace platform
