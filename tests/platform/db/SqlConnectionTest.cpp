#include "platform/db/SqlConnection.h"
#include "platform/db/Database.h"
#include "support/ExpectRuntimeError.h"
#include "support/TempDatabase.h"

#include "platform/db/DaoError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <utility>

using namespace platform;

namespace {

// True when another connection could start writing the file now, without waiting.
bool freeToWrite(const QString &path)
{
    SqlConnection other;
    if (other.open(path, SQLITE_OPEN_READWRITE) != SQLITE_OK)
        return false;
    return sqlite3_exec(other.handle(), "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A connection that holds the file: it is in the middle of a write.
SqlConnection holding(const QString &path)
{
    SqlConnection connection;
    EXPECT_EQ(connection.open(path, SQLITE_OPEN_READWRITE), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(connection.handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    return connection;
}

class SqlConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        temp.db();
        temp.close();
        ASSERT_TRUE(freeToWrite(temp.path()));
    }
    TempDatabase temp;
};

} // namespace

TEST_F(SqlConnectionTest, TheFileIsLetGoWhenTheConnectionGoes)
{
    {
        const SqlConnection writer = holding(temp.path());
        EXPECT_FALSE(freeToWrite(temp.path()));
    }
    EXPECT_TRUE(freeToWrite(temp.path()));
}

TEST_F(SqlConnectionTest, AMovedConnectionStaysOpenUntilItsLastOwnerGoes)
{
    SqlConnection kept;
    {
        SqlConnection first = holding(temp.path());
        kept = std::move(first);
        EXPECT_FALSE(first.isOpen());
    }
    EXPECT_TRUE(kept.isOpen());
    EXPECT_FALSE(freeToWrite(temp.path())) << "the moved-from connection closed what it no longer owns";

    // Taking over another connection closes the one held before.
    kept = SqlConnection();
    EXPECT_FALSE(kept.isOpen());
    EXPECT_TRUE(freeToWrite(temp.path()));
}

TEST_F(SqlConnectionTest, OpeningAgainClosesTheConnectionHeldBefore)
{
    SqlConnection connection = holding(temp.path());
    EXPECT_EQ(connection.open(temp.path(), SQLITE_OPEN_READONLY), SQLITE_OK);
    EXPECT_TRUE(freeToWrite(temp.path()));
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    connection.close(); // closing twice is harmless
}

TEST(SqlConnection, AFailedOpenTellsWhyUntilItIsClosed)
{
    QTemporaryDir dir;
    SqlConnection connection;
    const int rc = connection.open(dir.filePath(QStringLiteral("missing.db")), SQLITE_OPEN_READWRITE);
    EXPECT_EQ(rc & 0xff, SQLITE_CANTOPEN);
    ASSERT_TRUE(connection.isOpen());
    EXPECT_FALSE(QString::fromUtf8(sqlite3_errmsg(connection.handle())).isEmpty());
    connection.close();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.db"))));
}

// The database layer's own opens: a file whose checks fail after the connection was made
// is not left held, and a closed database lets the file go.
TEST_F(SqlConnectionTest, ADatabaseLetsTheFileGoWhenItsOpenFailsOrItCloses)
{
    {
        auto db = Database::open(temp.path(), true);
        EXPECT_FALSE(freeToWrite(temp.path()));
        db->close();
        EXPECT_FALSE(db->isOpen());
        EXPECT_TRUE(freeToWrite(temp.path()));
    }
    {
        // Another program is writing: the exclusive open fails after its connection was made.
        const SqlConnection writer = holding(temp.path());
        EXPECT_RUNTIME_ERROR(Database::open(temp.path(), true), err::FileInUse);
    }
    EXPECT_TRUE(freeToWrite(temp.path())) << "the failed open kept a connection";
    auto db = Database::open(temp.path(), true);
    EXPECT_TRUE(db->isOpen());
}
