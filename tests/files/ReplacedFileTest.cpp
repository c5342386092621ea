#include "files/FileModes.h"

#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/FileUseLock.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/ReplacedFile.h"
#include "support/DamagedDatabase.h"
#include "support/ExpectRuntimeError.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace platform;

namespace {

struct stat statusOf(const QString &path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

qint64 contacts(const QString &path)
{
    return Database::open(path)->openRecordset("Select Count(*) from tblContacts")->value(0).toLongLong();
}

QStringList filesIn(const QString &folder, const QStringList &names = {})
{
    return QDir(folder).entryList(names, QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray attribute(const QString &path, const char *name)
{
    QByteArray value(4096, '\0');
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value.data(), 4096);
    return size < 0 ? QByteArray() : value.left(size);
}

bool setAttribute(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(), size_t(value.size()),
                      0) == 0;
}

const QString Password = QStringLiteral("s3cret");
const QByteArray Known = "Quarterfield"; // a last name no encrypted page shows

// A damaged database of 300 contacts in a folder of its own; encrypted, with one more named `Known`.
struct DamagedFile {
    explicit DamagedFile(bool encrypted = false) : password(encrypted ? Password : QString())
    {
        static QByteArray damaged[2];
        if (damaged[encrypted].isEmpty()) {
            QTemporaryDir dir;
            const QString made = dir.filePath("Quiltern.mdb");
            createDatabaseFromSchema(made);
            if (!encrypted) {
                damaged[0] = damageDatabase(made);
            } else {
                auto db = Database::open(made);
                db->execute("INSERT INTO tblContacts (LastName) VALUES ('" + QString(Known) + "')");
                for (int i = 0; i < 300; ++i)
                    db->execute("INSERT INTO tblContacts (LastName) VALUES ('Row')");
                db.reset();
                Database::open(made, true, false, ";pwd=")->newPassword(QString(), Password);
                damaged[1] = readFileBytes(made);
                damage::garblePage(damaged[1], damaged[1].size() / damage::EncryptedPageSize / 2, 11,
                                   damage::EncryptedPageSize);
            }
        }
        writeFileBytes(path, bytes = damaged[encrypted]);
    }
    QString password;
    QTemporaryDir dir;
    QString path = dir.filePath("Quiltern.mdb");
    QByteArray bytes;
};

// Runs `work` in a child process; what it returns, and whether a signal ended it.
QByteArray inChild(const std::function<QByteArray()> &work, bool *killed = nullptr)
{
    QTemporaryDir dir;
    const QString told = dir.filePath("told");
    if (::fork() == 0) {
        writeFileBytes(told, work());
        ::_exit(0);
    }
    int status = 0;
    ::wait(&status);
    if (killed)
        *killed = WIFSIGNALED(status);
    return readFileBytes(told);
}

// What a repair told: the contacts it kept and whether it said rows were lost, or the error.
QByteArray repairTold(const DamagedFile &file, const Database::RepairProgress &progress = {})
{
    try {
        const Database::RepairReport report = Database::repair(file.path, file.password, progress);
        return "kept " + QByteArray::number(report.table("tblContacts").kept) +
               (report.lostRows() ? " lost" : "");
    } catch (const RuntimeError &error) {
        return QByteArray::number(error.number()) + " " + error.description().toUtf8();
    }
}

} // namespace

// The file a link leads to is repaired and has its password changed beside itself, and keeps
// its permissions, access list and other attributes (and, done by an administrator, its owner
// and group), with its backup a second name or a copy; the link stays. The work files are
// their owner's alone from their creation on, with no attributes meanwhile.
TEST(ReplacedFile, RepairAndPasswordChangeKeepTheLinkAndThePermissions)
{
    // An access list as the system stores it: a version, then each entry's kind, permissions and
    // the id it names: the owner, nobody (65534), the owning group, the mask, others.
    const QByteArray nobodyMayWrite = QByteArray::fromHex(
        "02000000 01000600ffffffff 02000600feff0000 04000000ffffffff 10000600ffffffff 20000000ffffffff");
    for (const auto &[link, mode, listed] : {std::tuple{false, 0600u, false},
                                             {true, 0640u, false},
                                             {true, 02664u, false},
                                             {false, 0660u, true}}) {
        SCOPED_TRACE(testing::Message() << "link " << link << " mode " << std::oct << mode);
        DamagedFile file;
        QTemporaryDir links;
        const QString opened = link ? links.filePath("t.mdb") : file.path;
        ASSERT_TRUE(!link || QFile::link(file.path, opened));
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(QFile::encodeName(file.path).constData(), 65534, 65534), 0);
        }
        ::chmod(QFile::encodeName(file.path).constData(), mode);
        if (listed && !(setAttribute(file.path, "system.posix_acl_access", nobodyMayWrite) &&
                        setAttribute(file.path, "user.origin", "imported")))
            GTEST_SKIP() << "the disk keeps no access lists or attributes";
        secondNamesRefused() = listed; // the backup is copied
        const struct stat before = statusOf(file.path);
        QStringList steps;
        replaceStepObserver() = [&](ReplaceStep step, const QString &at) {
            if (step == ReplaceStep::WorkFileMade) {
                EXPECT_EQ(statusOf(at).st_mode & 07777, 0600u) << at.toStdString();
                EXPECT_EQ(attribute(at, "user.origin"), QByteArray());
            }
            for (const QString &work : filesIn(file.dir.path(), {"*.repair-*", "*.scratch-*", "*.rekey-*"})) {
                steps.append(work.section('.', 2).section('-', 0, 0));
                EXPECT_EQ(statusOf(file.dir.filePath(work)).st_mode & 077, 0u) << work.toStdString();
                EXPECT_EQ(statusOf(file.dir.filePath(work)).st_uid, before.st_uid);
            }
        };
        EXPECT_EQ(Database::repair(opened).backup, file.path + ".bak");
        Database::open(opened, true, false, ";pwd=")->newPassword("", Password);
        replaceStepObserver() = nullptr;
        secondNamesRefused() = false;
        EXPECT_EQ(QStringList(steps.begin(), std::unique(steps.begin(), steps.end())),
                  (QStringList{"repair", "scratch", "repair", "rekey"}));
        for (const QString &kept : {file.path, file.path + ".bak"}) {
            const struct stat after = statusOf(kept);
            EXPECT_EQ(after.st_mode & 07777, mode) << kept.toStdString();
            EXPECT_EQ(std::pair(after.st_uid, after.st_gid), std::pair(before.st_uid, before.st_gid));
            EXPECT_EQ(attribute(kept, "system.posix_acl_access"), listed ? nobodyMayWrite : QByteArray());
            EXPECT_EQ(attribute(kept, "user.origin"), listed ? QByteArray("imported") : QByteArray());
        }
        EXPECT_EQ(S_ISLNK(statusOf(opened).st_mode), link);
        EXPECT_EQ(readFileBytes(file.path + ".bak"), file.bytes);
        EXPECT_EQ(filesIn(file.dir.path()), (QStringList{"Quiltern.mdb", "Quiltern.mdb.bak"}));
    }
}

// A member of the file's group may write it, but a copy he made could not be given back to
// its owner; a copy may not be given a group its maker is not in where that group may use the
// file, by its mode or its access list. The repair and the password change are refused before
// anything changes. A group that may not use the file is not kept: the user's takes its place.
TEST(ReplacedFile, RefusedWhereTheOwnerOrGroupCouldNotBeKept)
{
    if (permissionsBindThisProcess())
        GTEST_SKIP() << "the files of another user are made by an administrator";
    const QString groupWhy(
        "It belongs to the group root, which you are not a member of. An administrator can "
        "give the file to one of your groups for the work to go on.");
    // An access list (owner, owning group, the group root, mask, others) that lets root's group read.
    const QByteArray rootReads = QByteArray::fromHex(
        "02000000 01000600ffffffff 04000000ffffffff 0800040000000000 10000400ffffffff 20000000ffffffff");
    for (const auto &[owner, group, mode, list, why] :
         {std::tuple{0u, 65534u, 0660u, QByteArray(),
                     QString("It belongs to the user root, and only root or an administrator may give a file "
                             "to that user.")},
          {65534u, 0u, 0660u, QByteArray(), groupWhy},
          {65534u, 0u, 0600u, rootReads, groupWhy},
          {65534u, 0u, 0600u, QByteArray(), QString()}}) {
        SCOPED_TRACE(testing::Message() << std::oct << mode << " list " << !list.isEmpty());
        DamagedFile damaged;
        const QString plain = damaged.dir.filePath("Plain.mdb");
        createDatabaseFromSchema(plain);
        const QByteArray plainBytes = readFileBytes(plain);
        for (const QString &path : {damaged.dir.path(), damaged.path, plain}) {
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), owner, group), 0);
            ::chmod(QFile::encodeName(path).constData(), path == damaged.dir.path() ? 0770 : mode);
            if (path != damaged.dir.path() && !list.isEmpty() &&
                !setAttribute(path, "system.posix_acl_access", list))
                GTEST_SKIP() << "the disk keeps no access lists";
        }
        QString unavailable;
        const std::optional<QString> told = runWherePermissionsBind(
            [&] {
                QString told;
                for (const std::function<void()> &change :
                     {std::function<void()>([&] { Database::repair(damaged.path); }),
                      std::function<void()>(
                          [&] { Database::open(plain, true, false, ";pwd=")->newPassword("", "x"); })})
                    try {
                        change();
                    } catch (const RuntimeError &error) {
                        told += QString::number(error.number()) + " " + error.description() + "\n";
                    }
                return told;
            },
            unavailable);
        if (!told)
            GTEST_SKIP() << unavailable.toStdString();
        if (why.isEmpty()) {
            EXPECT_EQ(*told, QString());
            for (const QString &path : {damaged.path, plain})
                EXPECT_EQ(
                    std::tuple(statusOf(path).st_uid, statusOf(path).st_gid, statusOf(path).st_mode & 07777),
                    std::tuple(65534u, ::getpwnam("nobody")->pw_gid, 0600u));
            continue;
        }
        const QString refusal(
            "%1 A new copy of the database '%2' could not keep its owner and group. %3 Nothing "
            "was changed.\n");
        EXPECT_EQ(*told, refusal.arg(err::NotUpdatable).arg(damaged.path, why) +
                             refusal.arg(err::NotUpdatable).arg(plain, why));
        EXPECT_EQ(readFileBytes(damaged.path), damaged.bytes);
        EXPECT_EQ(readFileBytes(plain), plainBytes);
        EXPECT_EQ(filesIn(damaged.dir.path()), (QStringList{"Plain.mdb", "Quiltern.mdb"}));
    }
}

// Writes go to the file a link leads to and its folder: a link in a folder that may be
// written, to a file in one that may not, opens read-only and is not repaired.
TEST(ReplacedFile, TheReadOnlyDecisionLooksAtTheFileALinkLeadsTo)
{
    DamagedFile real;
    QTemporaryDir links;
    createDatabaseFromSchema(real.dir.filePath("Healthy.mdb"));
    ASSERT_TRUE(QFile::link(real.dir.filePath("Healthy.mdb"), links.filePath("h.mdb")));
    ASSERT_TRUE(QFile::link(real.path, links.filePath("t.mdb")));
    EXPECT_FALSE(Database::cannotBeWritten(links.filePath("h.mdb")));
    FileModeScope closed(real.dir.path(), ReadOnlyFolder);
    EXPECT_TRUE(Database::open(links.filePath("h.mdb"))->readOnly());
    EXPECT_RUNTIME_ERROR(Database::repair(links.filePath("t.mdb")), err::NotUpdatable);
    EXPECT_EQ(readFileBytes(real.path), real.bytes);
}

// On a disk that ignores letter case, a book named in other letters, its folder's too, is
// repaired through the names the folders list, its backup kept beside it under its own name,
// and opened again by them: a driver that numbers each spelling apart would otherwise show
// the renamed book's other spelling stale.
TEST(ReplacedFile, ABookInOtherLettersIsRepairedAndOpenedByTheListedNames)
{
    DamagedFile file;
    ASSERT_TRUE(QDir(file.dir.path()).mkdir("Books"));
    const QString listed = file.dir.filePath("Books/Quiltern.mdb");
    ASSERT_TRUE(QFile::rename(file.path, listed));
    const QString other = file.dir.filePath("BOOKS/QUILTERN.MDB");
    const std::shared_ptr<void> restore(nullptr, [](void *) { setFolderCaseRuleForTesting({}); });
    EXPECT_EQ(listedPath(other), other) << "where case counts, other letters name nothing";
    setFolderCaseRuleForTesting([](const QString &) { return true; });
    for (const auto &[spelled, as] : {std::pair{"BOOKS/QUILTERN.MDB", "Books/Quiltern.mdb"},
                                      {"books/quiltern.mdb", "Books/Quiltern.mdb"},
                                      {"Books/Quiltern.mdb", "Books/Quiltern.mdb"},
                                      {"BOOKS/Gone.mdb", "Books/Gone.mdb"}})
        EXPECT_EQ(listedPath(file.dir.filePath(spelled)).toStdString(), file.dir.filePath(as).toStdString());
    const Database::RepairReport report = Database::repair(other);
    EXPECT_EQ(report.backup, listed + ".bak");
    EXPECT_EQ(filesIn(file.dir.filePath("Books")), (QStringList{"Quiltern.mdb", "Quiltern.mdb.bak"}));
    const std::unique_ptr<Database> reopened = Database::open(file.dir.filePath("books/quiltern.MDB"));
    EXPECT_EQ(reopened->name(), listed);
    EXPECT_EQ(QString::fromUtf8(sqlite3_db_filename(reopened->handle(), "main")), listed);
}

// The repair holds the file alone: another copy of the program that has it stops the repair
// before it begins, and no open goes ahead (nor removes the work files) while a repair runs.
TEST(ReplacedFile, OneRepairAtATimeAndNoneUnderAnotherCopy)
{
    DamagedFile file;
    {
        FileUseLock anotherCopy;
        ASSERT_EQ(anotherCopy.take(file.path, false), FileUseLock::Result::Held);
        try {
            Database::repair(file.path);
            ADD_FAILURE() << "repaired under another copy";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.description(), "Could not use '" + file.path + "'; file already in use.");
        }
        EXPECT_EQ(filesIn(file.dir.path()), QStringList{"Quiltern.mdb"});
    }
    int refused = 0;
    replaceStepObserver() = [&](ReplaceStep step, const QString &made) {
        if (step == ReplaceStep::WorkFileMade) {
            EXPECT_RUNTIME_ERROR(Database::open(file.path), err::FileInUse);
            refused += QFileInfo::exists(made);
        }
    };
    Database::repair(file.path);
    replaceStepObserver() = nullptr;
    EXPECT_EQ(refused, 2) << "the repaired copy and the copy it reads through";
}

// A repair killed at each of its steps: the path holds the damaged file or the whole repaired
// one, never nothing; what the repair left beside a damaged file stays until the file opens
// whole, and the next repair finishes the work. Where the backup is copied (no second names
// of a file on the disk), a copy killed part way is never taken for the backup.
TEST(ReplacedFile, ARepairKilledAtAnyStepLeavesTheFileWhole)
{
    for (const auto &[step, seen, copied] : {std::tuple{ReplaceStep::WorkFileMade, 1, false},
                                             {ReplaceStep::WorkFileMade, 2, false},
                                             {ReplaceStep::WorkFileMade, 3, true},
                                             {ReplaceStep::BackupKept, 1, false},
                                             {ReplaceStep::CopyInPlace, 1, false}}) {
        SCOPED_TRACE(testing::Message() << "step " << int(step) << " #" << seen << " copied " << copied);
        DamagedFile file;
        secondNamesRefused() = copied;
        const pid_t child = ::fork();
        if (child == 0) {
            int count = 0;
            replaceStepObserver() = [&](ReplaceStep at, const QString &made) {
                if (made.contains(".backup-"))
                    writeFileBytes(made, file.bytes.left(file.bytes.size() / 2));
                if (at == step && ++count == seen)
                    ::raise(SIGKILL);
            };
            Database::repair(file.path);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        if (step != ReplaceStep::CopyInPlace) {
            EXPECT_EQ(readFileBytes(file.path), file.bytes);
            const QStringList repaired = filesIn(file.dir.path(), {"*.repair-*"});
            EXPECT_RUNTIME_ERROR(Database::open(file.path), err::DamagedDatabase);
            // The finished copy is named when the next repair finds no room on the disk.
            if (step == ReplaceStep::BackupKept) {
                const QByteArray told = inChild([&] {
                    const rlimit most{rlim_t(file.bytes.size() / 8), rlim_t(file.bytes.size() / 8)};
                    ::setrlimit(RLIMIT_FSIZE, &most);
                    return repairTold(file);
                });
                EXPECT_TRUE(told.startsWith("3026 ") && repaired.size() == 1 &&
                            told.endsWith(" A copy earlier work left takes room there: '" +
                                          file.dir.filePath(repaired.value(0)).toUtf8() +
                                          "'. The file has not been changed."))
                    << told.toStdString();
            }
            EXPECT_EQ(filesIn(file.dir.path(), {"*.repair-*", "*.scratch-*"}), repaired);
            Database::repair(file.path);
        }
        secondNamesRefused() = false;
        EXPECT_GT(contacts(file.path), 250);
        EXPECT_EQ(readFileBytes(file.path + ".bak"), file.bytes);
        EXPECT_EQ(filesIn(file.dir.path()), (QStringList{"Quiltern.mdb", "Quiltern.mdb.bak"}));
    }
}

// A disk that fills up during a repair (each file may grow only so far, from the start or
// from when the rows are copied): the repair keeps every row it keeps with room to spare, or
// stops saying the disk is full, the file as it was and nothing left beside it. A row the
// disk could not take is never told as lost.
TEST(AwkwardDisk, AFullDiskStopsTheRepairAndNeverLosesRows)
{
    for (const bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted ? "encrypted" : "plain");
        DamagedFile file(encrypted);
        const QByteArray withRoom = inChild([&] { return repairTold(file); });
        ASSERT_TRUE(withRoom.startsWith("kept ")) << withRoom.toStdString();
        QSet<bool> stopped;
        // Eighths of the file's size, the first three from the start.
        const int limits[] = {1, 5, 24, 1, 3, 5, 7, 9};
        for (int row = 0; row < 8; ++row) {
            QFile::remove(file.path + ".bak");
            writeFileBytes(file.path, file.bytes);
            const bool fromCopying = row >= 3;
            const rlim_t size = rlim_t(file.bytes.size()) * limits[row] / 8;
            const rlimit most{size, size};
            SCOPED_TRACE(testing::Message() << limits[row] << "/8" << (fromCopying ? " from the copy" : ""));
            const QByteArray told = inChild([&] {
                if (!fromCopying)
                    ::setrlimit(RLIMIT_FSIZE, &most);
                return repairTold(file, [&](Database::RepairStep step, qint64, qint64) {
                    if (step == Database::RepairStep::Copying)
                        ::setrlimit(RLIMIT_FSIZE, &most);
                });
            });
            if (told != withRoom) {
                stopped.insert(fromCopying);
                EXPECT_TRUE(told.startsWith("3026 The database '" + file.path.toUtf8() +
                                            "' could not be repaired: Not enough space on disk (") &&
                            told.endsWith(". The file has not been changed."))
                    << told.toStdString();
                EXPECT_EQ(filesIn(file.dir.path()), QStringList{"Quiltern.mdb"});
            }
        }
        EXPECT_EQ(stopped, (QSet<bool>{false, true})) << "a limit tight enough to stop each part";
    }
}

// An encrypted file's repair killed at each of its steps leaves no contact's text in plain,
// neither beside the file nor in the temporary folder, and the file as it was.
TEST(AwkwardDisk, AnEncryptedRepairWritesNothingDecryptedToTheDisk)
{
    DamagedFile file(true);
    ASSERT_FALSE(file.bytes.contains(Known));
    QTemporaryDir temporary;
    using Step = Database::RepairStep;
    for (const std::optional<Step> step : {std::optional(Step::Reading), std::optional(Step::Copying),
                                           std::optional(Step::Checking), std::optional<Step>()}) {
        SCOPED_TRACE(step ? int(*step) : -1); // none: killed once the backup is kept
        bool killed = false;
        inChild(
            [&] {
                ::setenv("TMPDIR", QFile::encodeName(temporary.path()).constData(), 1);
                ::setenv("SQLITE_TMPDIR", QFile::encodeName(temporary.path()).constData(), 1);
                replaceStepObserver() = [&](ReplaceStep at, const QString &) {
                    if (!step && at == ReplaceStep::BackupKept)
                        ::raise(SIGKILL);
                };
                return repairTold(file, [&](Step at, qint64, qint64) {
                    if (at == step)
                        ::raise(SIGKILL);
                });
            },
            &killed);
        EXPECT_TRUE(killed);
        for (const QString &folder : {file.dir.path(), temporary.path()})
            for (QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System); files.hasNext();)
                EXPECT_FALSE(readFileBytes(files.next()).contains(Known)) << files.filePath().toStdString();
        EXPECT_EQ(readFileBytes(file.path), file.bytes);
        QFile::remove(file.path + ".bak");
    }
}

// A password change the user's file-size limit stops is told as the repair tells it: the disk
// is full. The file stays as it was, with nothing beside it.
TEST(AwkwardDisk, AFileSizeLimitStopsThePasswordChangeAsAFullDisk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Quiltern.mdb");
    createDatabaseFromSchema(path);
    {
        auto db = Database::open(path);
        for (int i = 0; i < 300; ++i)
            db->execute("INSERT INTO tblContacts (LastName, Notes) VALUES ('Row', '" + QString(200, 'n') +
                        "')");
    }
    const QByteArray bytes = readFileBytes(path);
    const QByteArray told = inChild([&] {
        const rlimit most{rlim_t(bytes.size() / 2), rlim_t(bytes.size() / 2)};
        ::setrlimit(RLIMIT_FSIZE, &most);
        try {
            Database::open(path, true, false, ";pwd=")->newPassword(QString(), Password);
            return QByteArray("changed");
        } catch (const RuntimeError &error) {
            return QByteArray::number(error.number()) + " " + error.description().toUtf8();
        }
    });
    EXPECT_EQ(told, "3026 Not enough space on disk (" + qt_error_string(EFBIG).toUtf8() + ").");
    EXPECT_EQ(readFileBytes(path), bytes);
    EXPECT_EQ(filesIn(dir.path()), QStringList{"Quiltern.mdb"});
}

// A repair its copies will not fit in memory for (an address space capped a little above what
// the process holds) is refused before it begins, saying so, the file as it was and nothing
// left; with room, the same repair runs.
TEST(AwkwardDisk, ARepairMemoryWillNotHoldIsRefusedBeforeItBegins)
{
    const auto held = [] {
        const QByteArray status = readFileBytes("/proc/self/status");
        const qsizetype at = status.indexOf("VmSize:") + 7;
        return status.mid(at, status.indexOf('\n', at) - at).simplified().split(' ')[0].toLongLong() * 1024;
    };
    for (const bool encrypted : {false, true}) {
        DamagedFile file(encrypted);
        for (const qint64 room : {qint64(8) << 20, qint64(512) << 20}) {
            SCOPED_TRACE(testing::Message() << (encrypted ? "encrypted" : "plain") << ", room " << room);
            const QByteArray told = inChild([&] {
                const rlimit most{rlim_t(held() + room), rlim_t(held() + room)};
                ::setrlimit(RLIMIT_AS, &most);
                return repairTold(file);
            });
            if (room > (qint64(8) << 20)) {
                EXPECT_TRUE(told.startsWith("kept ")) << told.toStdString();
                continue;
            }
            EXPECT_TRUE(told.startsWith("7 The database '" + file.path.toUtf8() +
                                        "' could not be repaired: Out of memory: the repair needs about ") &&
                        told.endsWith(" MB are free. The file has not been changed."))
                << told.toStdString();
            EXPECT_EQ(readFileBytes(file.path), file.bytes);
            EXPECT_EQ(filesIn(file.dir.path()), QStringList{"Quiltern.mdb"});
        }
    }
}
