#include "platform/db/NewDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"

#include <QFile>

namespace platform {

QString shippedSchema()
{
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(err::FileNotFound, QStringLiteral("The program's database schema is missing."));
    return QString::fromUtf8(file.readAll());
}

void createDatabaseFromSchema(const QString &path)
{
    Database::create(path, shippedSchema());
}

} // namespace platform
