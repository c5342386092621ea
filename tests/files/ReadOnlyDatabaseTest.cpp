#include "files/FileModes.h"

#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "support/ContactGenerator.h"
#include "support/ExpectRuntimeError.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

enum class Marked { File, Folder };

struct ReadOnlyCase {
    const char *name;
    Marked marked;
    QString password;
};

// A database with a few contacts in a folder of its own, then marked read-only.
class ReadOnlyDatabase : public testing::TestWithParam<ReadOnlyCase> {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mPath = mDir.filePath("Quiltern.mdb");
        createDatabaseFromSchema(mPath);
        {
            auto db = Database::open(mPath);
            ContactGenerator::insert(*db, 5);
        }
        if (!GetParam().password.isEmpty()) {
            auto db = Database::open(mPath, true, false, ";pwd=");
            db->newPassword(QString(), GetParam().password);
        }
        mBefore = readFileBytes(mPath);
        if (GetParam().marked == Marked::File)
            mMode.emplace(mPath, ReadOnlyFile);
        else
            mMode.emplace(mDir.path(), ReadOnlyFolder);
    }

    std::unique_ptr<Database> open()
    {
        const QString &password = GetParam().password;
        return password.isEmpty() ? Database::open(mPath) : Database::open(mPath, true, false, ";pwd=" + password);
    }

    void expectUntouched()
    {
        EXPECT_EQ(readFileBytes(mPath), mBefore);
        mMode.reset();
        EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Quiltern.mdb"});
    }

    QTemporaryDir mDir;
    QString mPath;
    QByteArray mBefore;
    std::optional<FileModeScope> mMode;
};

void expectReadOnlyRefusal(const std::function<void()> &write, const QString &path)
{
    try {
        write();
        ADD_FAILURE() << "the write was not refused";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), err::NotUpdatable);
        EXPECT_TRUE(error.description().contains("read-only")) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(QFileInfo(path).absoluteFilePath()))
            << error.description().toStdString();
    }
}

} // namespace

TEST_P(ReadOnlyDatabase, OpensForReadingAndRefusesEveryWrite)
{
    auto db = open();
    EXPECT_TRUE(db->readOnly());
    auto contacts = db->openRecordset("Select * from tblContacts Order By LastName");
    EXPECT_EQ(contacts->recordCount(), 5);
    contacts->findFirst("LastName Like '*'");
    EXPECT_FALSE(contacts->noMatch());

    expectReadOnlyRefusal([&] { db->execute("Update tblContacts Set Selected='x'"); }, mPath);
    expectReadOnlyRefusal([&] { db->execute("Delete * from tblSettings"); }, mPath);
    expectReadOnlyRefusal([&] { contacts->edit(); }, mPath);
    expectReadOnlyRefusal([&] { contacts->addNew(); }, mPath);
    expectReadOnlyRefusal([&] { contacts->deleteRecord(); }, mPath);
    auto table = db->openRecordset("tblContacts", RecordsetType::Table);
    table->setIndex("LastName");
    expectReadOnlyRefusal([&] { table->edit(); }, mPath);
    if (db->exclusive())
        expectReadOnlyRefusal([&] { db->newPassword(GetParam().password, "other"); }, mPath);
    // Nothing half done: the list still reads after the refusals.
    contacts->requery();
    EXPECT_EQ(contacts->recordCount(), 5);
    db.reset();
    expectUntouched();
}

TEST_P(ReadOnlyDatabase, RepairIsRefusedRatherThanReplacingTheFile)
{
    expectReadOnlyRefusal([&] { Database::repair(mPath, GetParam().password); }, mPath);
    expectUntouched();
}

INSTANTIATE_TEST_SUITE_P(Files, ReadOnlyDatabase,
                         testing::Values(ReadOnlyCase{"ReadOnlyFile", Marked::File, {}},
                                         ReadOnlyCase{"ReadOnlyFolder", Marked::Folder, {}},
                                         ReadOnlyCase{"ReadOnlyFileWithPassword", Marked::File, "secret"},
                                         ReadOnlyCase{"ReadOnlyFolderWithPassword", Marked::Folder, "secret"}),
                         [](const testing::TestParamInfo<ReadOnlyCase> &info) { return info.param.name; });

TEST(WritableDatabase, OpensForWritingEvenWhenReadOnlyIsNotAsked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Quiltern.mdb");
    createDatabaseFromSchema(path);
    auto db = Database::open(path);
    EXPECT_FALSE(db->readOnly());
    EXPECT_EQ(db->execute("Update tblContacts Set Selected=' '"), 0);
    db.reset();
    EXPECT_TRUE(Database::open(path, false, true)->readOnly()) << "asked read-only, opened read-only";
}

// As a user the permissions bind: a file that user may not write (owned by another, no
// mark for everyone) opens read-only, and one he may not read is refused for that cause.
TEST(FilePermissions, ForbiddenWriteOpensReadOnlyAndForbiddenReadNamesTheCause)
{
    QTemporaryDir dir;
    FileModeScope reachable(dir.path(), OpenFolder);
    const QString path = dir.filePath("Quiltern.mdb");
    createDatabaseFromSchema(path);
    const QByteArray before = readFileBytes(path);
    FileModeScope ownerOnly(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    auto openAndDescribe = [path] {
        try {
            auto db = Database::open(path);
            return QStringLiteral("opened readOnly=%1").arg(db->readOnly());
        } catch (const RuntimeError &error) {
            return QStringLiteral("%1 %2").arg(error.number()).arg(error.description());
        }
    };

    QString why;
    if (permissionsBindThisProcess()) {
        // The owner may write his own file; only the read test applies.
        EXPECT_EQ(openAndDescribe(), "opened readOnly=0");
    } else {
        const std::optional<QString> asOther = runWherePermissionsBind(openAndDescribe, why);
        if (!asOther)
            GTEST_SKIP() << why.toStdString();
        EXPECT_EQ(*asOther, "opened readOnly=1");
    }

    std::optional<QString> refused;
    {
        FileModeScope unreadable(path, QFile::WriteOwner);
        refused = runWherePermissionsBind(openAndDescribe, why);
    }
    if (!refused)
        GTEST_SKIP() << why.toStdString();
    EXPECT_TRUE(refused->startsWith(QString::number(err::NoReadPermission) + " ")) << refused->toStdString();
    EXPECT_TRUE(refused->contains("no permission to read")) << refused->toStdString();
    EXPECT_TRUE(refused->contains(path)) << refused->toStdString();
    EXPECT_FALSE(refused->contains("not a database")) << refused->toStdString();
    EXPECT_EQ(readFileBytes(path), before);
}
