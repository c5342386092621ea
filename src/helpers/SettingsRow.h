#pragma once

#include <QString>

namespace platform {
class Database;
}

// Settings rows are found by their Type with one query shape.
inline QString settingsRowQuery(const QString &type)
{
    return QStringLiteral("Select * from tblSettings Where Type='") + type + QLatin1Char('\'');
}

// Writes the one settings row of a Type: its Name becomes name; the row is added when
// there is none. The query text is left in gSql, as every settings query does.
void storeSettingsRow(platform::Database &db, const QString &type, const QString &name);
