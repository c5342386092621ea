#include "platform/db/SqlConnection.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <utility>

namespace platform {

SqlConnection::~SqlConnection()
{
    close();
}

SqlConnection::SqlConnection(SqlConnection &&other) noexcept : mDb(std::exchange(other.mDb, nullptr)) {}

SqlConnection &SqlConnection::operator=(SqlConnection &&other) noexcept
{
    if (this != &other) {
        close();
        mDb = std::exchange(other.mDb, nullptr);
    }
    return *this;
}

int SqlConnection::open(const QString &path, int flags)
{
    close();
    return sqlite3_open_v2(QFile::encodeName(path).constData(), &mDb, flags, nullptr);
}

void SqlConnection::close()
{
    if (mDb)
        sqlite3_close_v2(std::exchange(mDb, nullptr));
}

} // namespace platform
