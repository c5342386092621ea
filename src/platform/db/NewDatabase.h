#pragma once

#include <QString>

namespace platform {

// The database the program comes with, as compiled into the program (":/db/schema.sql").
QString shippedSchema();

// Makes a new, empty database file at `path` from the shipped schema. Never overwrites:
// an existing file is refused with 3204 and left as it is.
void createDatabaseFromSchema(const QString &path);

} // namespace platform
