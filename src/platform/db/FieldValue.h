#pragma once

#include "platform/db/jet/JetDialect.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// What a record set knows of one of its columns: its Jet type and defined size, and the
// table column it comes from, which is where a write to it goes.
struct FieldInfo {
    QString name;
    JetType type = JetType::Text;
    bool typed = false; // false for an expression: values are shown as stored
    int size = 0;
    QString baseTable; // empty for an expression
    QString baseColumn;
    bool rowidAlias = false; // the base table's INTEGER PRIMARY KEY
    bool autoIncrement = false;
};

// The Jet type a declared SQLite column type stands for; false when it names none.
bool jetTypeOfDeclaration(const QString &declaredType, JetType &type, int &size);

// True when SQLite keeps every text, number or date put into a column so declared as text
// (its rule for text affinity: the type names CHAR, CLOB or TEXT and not INT).
bool hasTextAffinity(const QString &declaredType);

// Describes column `column` of a prepared statement from SQLite's column metadata.
FieldInfo describeColumn(sqlite3 *db, sqlite3_stmt *stmt, int column);

// The value of a column as the system reads it: text as QString, dates as QDateTime,
// Yes/No as bool, whole numbers as int, Null as an invalid QVariant.
QVariant readColumn(sqlite3_stmt *stmt, int column, const FieldInfo &field);

// The value to store for `value` written into `field`: converts texts typed by the user
// into numbers and dates, refuses what does not convert (13) and text longer than the
// defined size (3163).
QVariant toStorage(const FieldInfo &field, const QVariant &value);

} // namespace platform
