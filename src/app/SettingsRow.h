#pragma once

#include <QString>

// Settings rows are found by their Type with one query shape.
inline QString settingsRowQuery(const QString &type)
{
    return QStringLiteral("Select * from tblSettings Where Type='") + type + QLatin1Char('\'');
}
