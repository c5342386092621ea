#include "files/FileModes.h"

#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/FileUseLock.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/ReplacedFile.h"
#include "support/DamagedDatabase.h"
#include "support/ExpectRuntimeError.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

struct stat statusOf(const QString &path, bool followLink = true)
{
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    EXPECT_EQ(followLink ? ::stat(name.constData(), &status) : ::lstat(name.constData(), &status), 0)
        << name.data();
    return status;
}

unsigned modeOf(const QString &path)
{
    return statusOf(path).st_mode & 07777;
}

void setMode(const QString &path, unsigned mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

qint64 contacts(const QString &path)
{
    auto db = Database::open(path);
    return db->openRecordset("Select Count(*) as N from tblContacts")->value(0).toLongLong();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QStringList workFilesIn(const QString &folder)
{
    return QDir(folder).entryList({"*.repair-*", "*.scratch-*", "*.rekey-*"}, QDir::Files | QDir::Hidden);
}

// A damaged database of 300 contacts in a folder of its own; its bytes as damaged.
struct DamagedFile {
    DamagedFile() : bytes(damagedBytes()) { writeFileBytes(path, bytes); }

    // Made once: filling the file is most of the time a repair test takes.
    static QByteArray damagedBytes()
    {
        static const QByteArray bytes = [] {
            QTemporaryDir dir;
            const QString path = dir.filePath("Quiltern.mdb");
            createDatabaseFromSchema(path);
            return damageDatabase(path);
        }();
        return bytes;
    }

    QTemporaryDir dir;
    QString path = dir.filePath("Quiltern.mdb");
    QByteArray bytes;
};

} // namespace

// The file a link leads to is repaired beside itself, and keeps its permissions (and, for
// an administrator's repair, its owner and group); the link stays a link.
TEST(ReplacedFile, RepairKeepsTheLinkAndThePermissionsOwnerAndGroup)
{
    struct Case {
        bool link;
        unsigned mode;
    };
    for (const Case &c : {Case{false, 0600}, Case{true, 0600}, Case{true, 0640}, Case{false, 02664}}) {
        DamagedFile file;
        QTemporaryDir links;
        const QString link = links.filePath("t.mdb");
        ASSERT_TRUE(!c.link || QFile::link(file.path, link));
        const bool administrator = ::geteuid() == 0;
        if (administrator)
            ASSERT_EQ(::chown(QFile::encodeName(file.path).constData(), 65534, 65534), 0);
        setMode(file.path, c.mode);

        const Database::RepairReport report = Database::repair(c.link ? link : file.path);
        SCOPED_TRACE(testing::Message() << "link " << c.link << " mode " << std::oct << c.mode);
        EXPECT_EQ(report.backup, file.path + ".bak");
        EXPECT_EQ(readFileBytes(report.backup), file.bytes);
        EXPECT_EQ(modeOf(file.path), c.mode);
        EXPECT_EQ(modeOf(report.backup), c.mode);
        if (administrator) {
            EXPECT_EQ(statusOf(file.path).st_uid, 65534u);
            EXPECT_EQ(statusOf(file.path).st_gid, 65534u);
        }
        if (c.link) {
            EXPECT_TRUE(S_ISLNK(statusOf(link, false).st_mode));
            EXPECT_EQ(QFileInfo(link).symLinkTarget(), file.path);
            EXPECT_EQ(filesIn(links.path()), QStringList{"t.mdb"});
        }
        EXPECT_EQ(filesIn(file.dir.path()), (QStringList{"Quiltern.mdb", "Quiltern.mdb.bak"}));
        EXPECT_GT(contacts(c.link ? link : file.path), 250);
    }
}

// A member of the file's group may write it, but a copy he makes could not be given back
// to its owner; a user may not give a copy a group he is not in. Both are refused before
// anything changes, the repair and the password change alike.
TEST(ReplacedFile, RefusedWhereTheOwnerOrGroupCouldNotBeKept)
{
    if (permissionsBindThisProcess())
        GTEST_SKIP() << "the files of another user are made by an administrator";
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    struct Case {
        uid_t owner;
        gid_t group;
        const char *why;
    };
    for (const Case &c : {Case{0, nobody->pw_gid,
                               "It belongs to the user root, and only root or an "
                               "administrator may give a file to that user."},
                          Case{nobody->pw_uid, 0,
                               "It belongs to the group root, which you are not a member "
                               "of."}}) {
        DamagedFile damaged;
        const QString plain = damaged.dir.filePath("Plain.mdb");
        createDatabaseFromSchema(plain);
        for (const QString &path : {damaged.dir.path(), damaged.path, plain}) {
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), c.owner, c.group), 0);
            setMode(path, path == damaged.dir.path() ? 0770 : 0660);
        }
        const QByteArray plainBytes = readFileBytes(plain);
        QString why;
        const std::optional<QString> refusals = runWherePermissionsBind(
            [&] {
                QString told;
                for (const auto &attempt : std::initializer_list<std::function<void()>>{
                         [&] { Database::repair(damaged.path); },
                         [&] { Database::open(plain, true, false, ";pwd=")->newPassword("", "s3cret"); }}) {
                    try {
                        attempt();
                        told += "done|";
                    } catch (const RuntimeError &error) {
                        told += QString::number(error.number()) + " " + error.description() + "|";
                    }
                }
                return told;
            },
            why);
        if (!refusals)
            GTEST_SKIP() << why.toStdString();
        const QStringList told = refusals->split('|', Qt::SkipEmptyParts);
        ASSERT_EQ(told.size(), 2) << refusals->toStdString();
        for (int i = 0; i < 2; ++i) {
            const QString path = i == 0 ? damaged.path : plain;
            EXPECT_EQ(told[i],
                      QStringLiteral("%1 A new copy of the database '%2' could not keep its owner and "
                                     "group. %3 Nothing was changed.")
                          .arg(err::NotUpdatable)
                          .arg(path, c.why));
        }
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
    const QString link = links.filePath("t.mdb");
    ASSERT_TRUE(QFile::link(real.path, link));
    const QString healthy = real.dir.filePath("Healthy.mdb");
    createDatabaseFromSchema(healthy);
    const QString healthyLink = links.filePath("h.mdb");
    ASSERT_TRUE(QFile::link(healthy, healthyLink));
    EXPECT_FALSE(Database::cannotBeWritten(healthyLink));

    FileModeScope closed(real.dir.path(), ReadOnlyFolder);
    EXPECT_TRUE(Database::cannotBeWritten(healthyLink));
    EXPECT_TRUE(Database::open(healthyLink)->readOnly());
    EXPECT_RUNTIME_ERROR(Database::repair(link), err::NotUpdatable);
    EXPECT_EQ(readFileBytes(real.path), real.bytes);
}

// The repair holds the file alone: another copy of the program or another program that has
// it stops the repair before it begins, and no open goes ahead while a repair runs.
TEST(ReplacedFile, OneRepairAtATimeAndNoneUnderAnotherHolder)
{
    DamagedFile file;
    {
        FileUseLock anotherCopy;
        ASSERT_EQ(anotherCopy.take(file.path, false), FileUseLock::Result::Held);
        try {
            Database::repair(file.path);
            ADD_FAILURE() << "repaired under another copy";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), err::FileInUse);
            EXPECT_EQ(error.description(), "Could not use '" + file.path + "'; file already in use.");
        }
    }
    {
        QProcess holder; // has the file open and reads nothing, as an idle SQLite shell
        holder.start("sh", {"-c", "exec 3<\"$0\"; echo open; read line", file.path});
        ASSERT_TRUE(holder.waitForReadyRead(10000));
        try {
            Database::repair(file.path);
            ADD_FAILURE() << "repaired under another program";
        } catch (const RuntimeError &error) {
            EXPECT_EQ(error.number(), err::FileInUse);
            EXPECT_TRUE(error.description().contains(
                QStringLiteral("file already in use by another program (sh, process %1)")
                    .arg(holder.processId())))
                << error.description().toStdString();
        }
        holder.closeWriteChannel();
        ASSERT_TRUE(holder.waitForFinished(10000));
    }
    EXPECT_EQ(readFileBytes(file.path), file.bytes);
    EXPECT_EQ(filesIn(file.dir.path()), QStringList{"Quiltern.mdb"});

    // While the repair works, another open is refused and leaves its work files alone.
    int refused = 0;
    replaceStepObserver() = [&](ReplaceStep step, const QString &made) {
        if (step != ReplaceStep::WorkFileMade)
            return;
        EXPECT_RUNTIME_ERROR(Database::open(file.path), err::FileInUse);
        EXPECT_TRUE(QFileInfo::exists(made));
        ++refused;
    };
    Database::repair(file.path);
    replaceStepObserver() = nullptr;
    EXPECT_EQ(refused, 2) << "the repaired copy and the copy it reads through";
    EXPECT_GT(contacts(file.path), 250);
}

// Work files are their owner's alone from the moment they exist until they have taken the
// file's place, for the repair and the password change, also through a link.
TEST(ReplacedFile, WorkFilesAreNeverReadableByOthers)
{
    DamagedFile file;
    setMode(file.path, 0644);
    QTemporaryDir links;
    const QString link = links.filePath("t.mdb");
    ASSERT_TRUE(QFile::link(file.path, link));
    QStringList seen;
    replaceStepObserver() = [&](ReplaceStep step, const QString &at) {
        if (step == ReplaceStep::WorkFileMade) {
            EXPECT_EQ(modeOf(at), 0600u) << at.toStdString();
            EXPECT_EQ(statusOf(at).st_uid, statusOf(file.path).st_uid);
        }
        for (const QString &work : workFilesIn(file.dir.path())) {
            seen.append(work.section('.', 2).section('-', 0, 0));
            EXPECT_EQ(modeOf(file.dir.filePath(work)) & 077, 0u) << work.toStdString();
        }
    };
    Database::repair(link);
    Database::open(link, true, false, ";pwd=")->newPassword("", "s3cret");
    Database::open(link, true, false, ";pwd=s3cret")->newPassword("s3cret", "");
    replaceStepObserver() = nullptr;
    for (const char *work : {"repair", "scratch", "rekey"})
        EXPECT_TRUE(seen.contains(work)) << work;
    EXPECT_EQ(modeOf(file.path), 0644u) << "the file's own permissions once it is in place";
    EXPECT_EQ(filesIn(links.path()), QStringList{"t.mdb"});
}

// A repair killed at each of its steps: the path holds the damaged file or the whole
// repaired one, never nothing; what the repair left is removed only once the file opens
// whole, and the next repair finishes the work.
TEST(ReplacedFile, ARepairKilledAtAnyStepLeavesTheFileWhole)
{
    struct Kill {
        ReplaceStep step;
        int seen; // the how-manieth time the step is told
        bool repaired;
    };
    for (const Kill &kill :
         {Kill{ReplaceStep::WorkFileMade, 1, false}, Kill{ReplaceStep::WorkFileMade, 2, false},
          Kill{ReplaceStep::BackupKept, 1, false}, Kill{ReplaceStep::CopyInPlace, 1, true}}) {
        SCOPED_TRACE(testing::Message() << "step " << int(kill.step) << " #" << kill.seen);
        DamagedFile file;
        const pid_t child = ::fork();
        if (child == 0) {
            int count = 0;
            replaceStepObserver() = [&](ReplaceStep step, const QString &) {
                if (step == kill.step && ++count == kill.seen)
                    ::raise(SIGKILL);
            };
            try {
                Database::repair(file.path);
            } catch (...) {
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const QStringList left = workFilesIn(file.dir.path());
        if (kill.repaired) {
            EXPECT_GT(contacts(file.path), 250);
            EXPECT_EQ(readFileBytes(file.path + ".bak"), file.bytes);
        } else {
            EXPECT_EQ(readFileBytes(file.path), file.bytes);
            EXPECT_RUNTIME_ERROR(Database::open(file.path), err::DamagedDatabase);
            const QStringList kept = workFilesIn(file.dir.path());
            EXPECT_TRUE(kept.filter(".scratch-").isEmpty()) << "the copy the repair read through goes";
            EXPECT_EQ(kept.filter(".repair-"), left.filter(".repair-"))
                << "a repaired copy beside a damaged file stays";
            Database::repair(file.path);
            EXPECT_GT(contacts(file.path), 250);
        }
        EXPECT_EQ(filesIn(file.dir.path()), (QStringList{"Quiltern.mdb", "Quiltern.mdb.bak"}));
        EXPECT_EQ(readFileBytes(file.path + ".bak"), file.bytes);
    }
}
