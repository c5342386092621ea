#include "platform/db/NewDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/SqlStatement.h"

#include <sqlcipher/sqlite3.h>

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

QStringList putBackShippedSettings(const QString &path, const QString &password)
{
    const std::unique_ptr<Database> database =
        password.isEmpty() ? Database::open(path)
                           : Database::open(path, true, false, QStringLiteral(";pwd=") + password);
    sqlite3 *db = database->handle();
    QStringList added;
    const SqlConnection shipped =
        dbfile::rawOpen(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, QString());
    dbfile::registerFunctions(shipped.handle());
    dbfile::exec(shipped.handle(), shippedSchema().toUtf8().constData());
    try {
        SqlStatement rows(shipped.handle(), QStringLiteral("SELECT Type, Name, Setting1, Setting2, Setting3, "
                                                           "Setting4, Setting5, Setting6, Setting7, Setting8 "
                                                           "FROM tblSettings ORDER BY rowid"));
        // Text comparisons follow the program's order, which ignores case, as every reader's do.
        SqlStatement has(db, QStringLiteral("SELECT 1 FROM main.tblSettings WHERE Type = ?1 AND "
                                            "(?2 IS NULL OR Name = ?2)"));
        SqlStatement add(db, QStringLiteral("INSERT INTO main.tblSettings (Type, Name, Setting1, Setting2, "
                                            "Setting3, Setting4, Setting5, Setting6, Setting7, Setting8) "
                                            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)"));
        while (rows.step()) {
            const QString type = rows.text(0);
            const bool byName = type.startsWith(QLatin1String("REPORT"), Qt::CaseInsensitive);
            has.reset();
            has.bind(1, type);
            if (byName)
                has.bind(2, rows.text(1));
            else
                has.bindNull(2);
            if (has.step())
                continue;
            add.reset();
            for (int column = 0; column < 10; ++column) {
                if (rows.isNull(column))
                    add.bindNull(column + 1);
                else
                    add.bind(column + 1, rows.text(column));
            }
            add.step();
            added.append(byName ? type + QLatin1Char(' ') + rows.text(1) : type);
        }
    } catch (const RuntimeError &error) {
        // A file without the program's settings table is not one of its own: nothing to add.
        if (error.number() != err::UnknownName)
            throw;
    }
    return added;
}

} // namespace platform
