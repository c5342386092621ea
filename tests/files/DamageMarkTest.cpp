#include "files/FileModes.h"

#include "platform/db/DamageMark.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "support/ContactGenerator.h"
#include "support/DamagedDatabase.h"
#include "support/ExpectRuntimeError.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>

using namespace platform;

namespace {

enum class Beside { Nothing, UsersFile, LinkOfItsName, ReadOnlyBook, ReadOnlyFolder, ReadOnlyMedium };

struct MarkCase {
    const char *name;
    Beside beside;
    const char *openedBy;
    bool marked;
};

// The folder mounted again over itself, read-only, for as long as it lives.
struct ReadOnlyMount {
    explicit ReadOnlyMount(const QString &folder) : path(QFile::encodeName(folder))
    {
        mounted = ::mount(path, path, nullptr, MS_BIND, nullptr) == 0;
        if (mounted && ::mount(nullptr, path, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            ::umount2(path, MNT_DETACH), mounted = false;
    }
    ~ReadOnlyMount()
    {
        if (mounted)
            ::umount2(path, MNT_DETACH);
    }
    QByteArray path;
    bool mounted = false;
};

class DamageMarkOfABook : public testing::TestWithParam<MarkCase> {};

// Damage a read meets while the book is open: the mark goes only where nothing of its name
// is and the book can be repaired, and whichever path opens the book finds it.
TEST_P(DamageMarkOfABook, IsWrittenOnlyWhereItsNameIsFreeAndFoundByEveryPath)
{
    const MarkCase &c = GetParam();
    QTemporaryDir dir;
    const QDir folder(dir.path());
    ASSERT_TRUE(folder.mkdir("books"));
    const QString real = folder.filePath("books/Quiltern.mdb");
    const QString mark = real + ".damaged";
    createDatabaseFromSchema(real);
    ContactGenerator::insert(*Database::open(real), 200);
    ASSERT_TRUE(QFile::link(real, folder.filePath("Linked.mdb")));
    ASSERT_TRUE(QFile::link(folder.filePath("books"), folder.filePath("Shelf")));
    writeFileBytes(folder.filePath("letter.txt"), "Dear Ann");
    QByteArray bytes = readFileBytes(real);
    damage::garblePage(bytes, damage::firstPageOf(real, "tblContacts"));
    writeFileBytes(real, bytes);
    if (c.beside == Beside::UsersFile)
        writeFileBytes(mark, "my own notes");
    if (c.beside == Beside::LinkOfItsName) {
        ASSERT_TRUE(QFile::link(folder.filePath("letter.txt"), mark));
    }
    std::optional<FileModeScope> mode;
    if (c.beside == Beside::ReadOnlyBook)
        mode.emplace(real, ReadOnlyFile);
    if (c.beside == Beside::ReadOnlyFolder)
        mode.emplace(folder.filePath("books"), ReadOnlyFolder);
    std::optional<ReadOnlyMount> medium;
    if (c.beside == Beside::ReadOnlyMedium && !medium.emplace(folder.filePath("books")).mounted) {
        GTEST_SKIP() << "no read-only mount can be made here";
    }
    const auto entries = [&] {
        return QDir(folder.filePath("books")).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                        QDir::NoDotAndDotDot);
    };
    QStringList expected = entries();
    if (c.marked)
        expected.append("Quiltern.mdb.damaged");

    // Past the size an open checks, the damage is met only by the read.
    const qint64 limit = DamageMark::setOpenCheckLimit(0);
    auto db = Database::open(folder.filePath(c.openedBy));
    EXPECT_RUNTIME_ERROR(db->openRecordset("Select Count(*) From tblContacts Where Notes Like '*x*'"),
                         err::DamagedDatabase);
    db.reset();
    DamageMark::setOpenCheckLimit(limit);

    for (const char *path : {"books/Quiltern.mdb", "Linked.mdb", "Shelf/Quiltern.mdb"})
        EXPECT_EQ(DamageMark::known(folder.filePath(path)), c.marked) << path;
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(readFileBytes(real), bytes);
    EXPECT_EQ(readFileBytes(folder.filePath("letter.txt")), "Dear Ann");
    if (c.beside == Beside::UsersFile) {
        EXPECT_EQ(readFileBytes(mark), "my own notes");
    }
    EXPECT_EQ(QFileInfo(mark).isSymLink(), c.beside == Beside::LinkOfItsName);
    if (mode || medium)
        return;

    // The repair takes away its own mark only.
    Database::repair(folder.filePath(c.openedBy));
    EXPECT_FALSE(DamageMark::known(real));
    EXPECT_EQ(QFileInfo::exists(mark) || QFileInfo(mark).isSymLink(), c.beside != Beside::Nothing);
    EXPECT_EQ(readFileBytes(folder.filePath("letter.txt")), "Dear Ann");
    if (c.beside == Beside::UsersFile) {
        EXPECT_EQ(readFileBytes(mark), "my own notes");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamageMarkOfABook,
    testing::Values(MarkCase{"OpenedByItsOwnPath", Beside::Nothing, "books/Quiltern.mdb", true},
                    MarkCase{"OpenedByALinkToIt", Beside::Nothing, "Linked.mdb", true},
                    MarkCase{"OpenedThroughALinkToItsFolder", Beside::Nothing, "Shelf/Quiltern.mdb", true},
                    MarkCase{"UsersFileOfItsName", Beside::UsersFile, "books/Quiltern.mdb", false},
                    MarkCase{"LinkOfItsName", Beside::LinkOfItsName, "Linked.mdb", false},
                    MarkCase{"ReadOnlyBook", Beside::ReadOnlyBook, "books/Quiltern.mdb", false},
                    MarkCase{"ReadOnlyFolder", Beside::ReadOnlyFolder, "Shelf/Quiltern.mdb", false},
                    MarkCase{"ReadOnlyMedium", Beside::ReadOnlyMedium, "Linked.mdb", false}),
    [](const testing::TestParamInfo<MarkCase> &info) { return info.param.name; });

} // namespace
