#include "support/TempDatabase.h"

#include "platform/db/NewDatabase.h"

#include <stdexcept>

TempDatabase::TempDatabase()
{
    if (!mDir.isValid())
        throw std::runtime_error("no temporary folder");
    mPath = mDir.filePath(QStringLiteral("Quiltern.mdb"));
    platform::createDatabaseFromSchema(mPath);
}

TempDatabase::~TempDatabase()
{
    close();
}

platform::Database &TempDatabase::db()
{
    if (!mDb)
        mDb = platform::Database::open(mPath);
    return *mDb;
}

void TempDatabase::close()
{
    mDb.reset();
}
