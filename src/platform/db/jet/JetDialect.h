#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;

namespace platform {

// The field types a database column can have, as the record sets report them.
enum class JetType { Text, Memo, Byte, Integer, Long, Counter, Single, Double, Currency, DateTime, YesNo, Binary };

struct JetColumn {
    QString name;
    JetType type = JetType::Text;
    int size = 0; // defined size of a text field; 0 otherwise
    // Every value is kept as SQLite text (a table column declared with text affinity, or a
    // view column taken straight from one), so a range of texts orders all its values.
    // False for an expression, whose values may be numbers whatever type it reports.
    bool storedAsText = false;
};

// The columns of a table or view, found by name without regard to case; nullptr when
// there is no table or view of that name.
using JetCatalog = std::function<const QList<JetColumn> *(const QString &tableOrView)>;

enum class JetTextKind {
    ReadOnlyQuery, // a record source: exactly one SELECT; anything else is refused
    ActionQuery,   // the system's own Execute texts: one SELECT, INSERT, UPDATE or DELETE
};

struct JetTranslation {
    QString sql;        // SQLite SQL
    QStringList tables; // the tables and views named after FROM (and INTO/UPDATE/DELETE FROM)
};

// Translates a query text once, when it is opened. Throws RuntimeError 3075 for a syntax
// error, 3085 for an unknown function, 3061 for an unknown name, 3078 for an unknown
// table or query after FROM, 3464 for a text compared with a number or date that it
// cannot be read as; each with a clear text.
JetTranslation translateJetSql(const QString &jet, JetTextKind kind, const JetCatalog &catalog);

// Translates a condition (`LastName like "Smi*"`) naming columns of the table or view
// `source`, with the numbers of a query text. The result is an SQLite expression.
QString translateJetCriterion(const QString &criterion, const QString &source, const JetCatalog &catalog);

// The same for FindFirst, which has numbers of its own: 3077 for a criterion it cannot
// read (a second statement included), 3070 for a name it does not know.
QString translateJetFindCriterion(const QString &criterion, const QString &source, const JetCatalog &catalog);

// Registers on a connection the SQL functions that translated texts call.
void registerJetFunctions(sqlite3 *db);

} // namespace platform
