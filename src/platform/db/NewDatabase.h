#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The database the program comes with, as compiled into the program (":/db/schema.sql").
QString shippedSchema();

// Makes a new, empty database file at `path` from the shipped schema. Never overwrites:
// an existing file is refused with 3204 and left as it is.
void createDatabaseFromSchema(const QString &path);

// Adds to the settings table of the database at `path` (opened with `password`, exclusively
// when there is one) each row a new database ships with that it lacks, with its first
// values: a report position by its Type and Name, any other row by its Type alone (their
// Name holds a value). Returns what was added, "Type" or "Type Name" each, in the shipped
// order; nothing when the file has no settings table.
QStringList putBackShippedSettings(const QString &path, const QString &password = QString());

} // namespace platform
