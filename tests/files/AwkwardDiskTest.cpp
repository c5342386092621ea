#include "files/FileModes.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/ReplacedFile.h"
#include "support/DamagedDatabase.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace platform;

namespace {

const QString Password = QStringLiteral("s3cret");
// A last name no page of an encrypted file shows, unless decrypted.
const QByteArray Known = "Quarterfield";

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

qint64 contacts(const QString &path, const QString &password = QString())
{
    auto db =
        password.isEmpty() ? Database::open(path) : Database::open(path, true, false, ";pwd=" + password);
    return db->openRecordset("Select Count(*) from tblContacts")->value(0).toLongLong();
}

// A damaged database of 300 contacts, one of them named `Known`, plain or encrypted.
struct DamagedFile {
    explicit DamagedFile(bool encrypted) : encrypted(encrypted)
    {
        createDatabaseFromSchema(path);
        Database::open(path)->execute("INSERT INTO tblContacts (LastName) VALUES ('" + QString(Known) + "')");
        if (!encrypted) {
            bytes = damageDatabase(path);
            return;
        }
        {
            auto db = Database::open(path);
            for (int i = 0; i < 300; ++i)
                db->execute(QString("INSERT INTO tblContacts (LastName, Notes) VALUES ('Row%1', '%2')")
                                .arg(i)
                                .arg(QString(200, 'n')));
        }
        Database::open(path, true, false, ";pwd=")->newPassword(QString(), Password);
        bytes = readFileBytes(path);
        damage::garblePage(bytes, bytes.size() / damage::EncryptedPageSize / 2, 11,
                           damage::EncryptedPageSize);
        writeFileBytes(path, bytes);
    }
    QString password() const { return encrypted ? Password : QString(); }

    bool encrypted;
    QTemporaryDir dir;
    QString path = dir.filePath("Quiltern.mdb");
    QByteArray bytes;
};

// Runs `work` in a child process and returns what it wrote to its pipe; `killed` tells
// whether it ended by a signal.
QByteArray inChild(const std::function<QByteArray()> &work, bool *killed = nullptr)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const QByteArray told = work();
        [[maybe_unused]] const ssize_t written = ::write(channel[1], told.constData(), size_t(told.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray told;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        told.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (killed)
        *killed = WIFSIGNALED(status);
    return told;
}

// What a repair told: how many contacts it kept and whether it said rows were lost, or the
// error that stopped it.
QByteArray repairTold(const QString &path, const QString &password)
{
    try {
        const Database::RepairReport report = Database::repair(path, password);
        return "kept " + QByteArray::number(report.table("tblContacts").kept) +
               (report.lostRows() ? " lost" : "");
    } catch (const RuntimeError &error) {
        return QByteArray::number(error.number()) + " " + error.description().toUtf8();
    }
}

bool holdsKnownText(const QString &folder)
{
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext())
        if (readFileBytes(files.next()).contains(Known))
            return true;
    return false;
}

QByteArray attribute(const QString &path, const char *name)
{
    QByteArray value(4096, '\0');
    const ssize_t size =
        ::getxattr(QFile::encodeName(path).constData(), name, value.data(), size_t(value.size()));
    return size < 0 ? QByteArray() : value.left(size);
}

// An access list as the system stores it: its version, then kind, permissions and id of each
// entry.
QByteArray accessList(std::initializer_list<std::tuple<quint16, quint16, quint32>> entries)
{
    QByteArray list("\x02\0\0\0", 4);
    for (const auto &[kind, permissions, id] : entries) {
        const quint16 head[2] = {kind, permissions};
        list.append(reinterpret_cast<const char *>(head), 4);
        list.append(reinterpret_cast<const char *>(&id), 4);
    }
    return list;
}
constexpr quint32 Anyone = 0xffffffffu;
enum : quint16 { UserOwning = 1, UserNamed = 2, GroupOwning = 4, GroupNamed = 8, Mask = 0x10, Other = 0x20 };

bool setAttribute(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(), size_t(value.size()),
                      0) == 0;
}

} // namespace

// A disk that fills up during a repair: the repair either keeps every row it keeps with room
// to spare, or stops, saying the disk is full, with the file as it was and no work file left.
// Never is a row the disk could not take told as lost. Each file may grow only so far, from
// the start or from when the copy of the rows begins (the copy it reads through made).
TEST(AwkwardDisk, AFullDiskStopsTheRepairAndNeverLosesRows)
{
    using Step = Database::RepairStep;
    for (const bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted ? "encrypted" : "plain");
        DamagedFile file(encrypted);
        QTemporaryDir roomy;
        const QString copy = roomy.filePath("Quiltern.mdb");
        writeFileBytes(copy, file.bytes);
        const QByteArray withRoom = repairTold(copy, file.password());
        ASSERT_TRUE(withRoom.startsWith("kept ")) << withRoom.toStdString();
        QHash<bool, int> stopped;
        for (const auto &[fromCopying, eighths] : {std::pair{false, 1},
                                                   {false, 5},
                                                   {false, 9},
                                                   {false, 24},
                                                   {true, 1},
                                                   {true, 3},
                                                   {true, 5},
                                                   {true, 7},
                                                   {true, 9}}) {
            const rlim_t limit = rlim_t(file.bytes.size()) * rlim_t(eighths) / 8;
            SCOPED_TRACE(testing::Message() << "limit " << limit << (fromCopying ? " from the copy" : ""));
            const QByteArray told = inChild([&] {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit most{limit, limit};
                if (!fromCopying)
                    ::setrlimit(RLIMIT_FSIZE, &most);
                try {
                    const Database::RepairReport report =
                        Database::repair(file.path, file.password(), [&](Step step, qint64, qint64) {
                            if (step == Step::Copying)
                                ::setrlimit(RLIMIT_FSIZE, &most);
                        });
                    return "kept " + QByteArray::number(report.table("tblContacts").kept) +
                           (report.lostRows() ? " lost" : "");
                } catch (const RuntimeError &error) {
                    return QByteArray::number(error.number()) + " " + error.description().toUtf8();
                }
            });
            if (told == withRoom) {
                QFile::remove(file.path + ".bak");
                writeFileBytes(file.path, file.bytes);
                continue;
            }
            ++stopped[fromCopying];
            EXPECT_TRUE(told.startsWith("3026 The database '" + file.path.toUtf8() +
                                        "' could not be repaired: Not enough space on disk ("))
                << told.toStdString();
            EXPECT_TRUE(told.endsWith(". The file has not been changed.")) << told.toStdString();
            EXPECT_EQ(readFileBytes(file.path), file.bytes);
            EXPECT_EQ(filesIn(file.dir.path()), QStringList{"Quiltern.mdb"});
        }
        EXPECT_GT(stopped[false], 0) << "no limit was tight enough to stop the repair's reading";
        EXPECT_GT(stopped[true], 0) << "no limit was tight enough to stop the repair's copy";
    }
}

// An encrypted file's repair killed at each of its steps leaves no contact's text in plain,
// neither beside the file nor in the temporary folder; the file stays encrypted and whole.
TEST(AwkwardDisk, AnEncryptedRepairWritesNothingDecryptedToTheDisk)
{
    DamagedFile file(true);
    ASSERT_FALSE(file.bytes.contains(Known));
    QTemporaryDir temporary;
    using Step = Database::RepairStep;
    // Killed at a step of its own, or once the backup is kept.
    for (const std::optional<Step> step : {std::optional(Step::Reading), std::optional(Step::Copying),
                                           std::optional(Step::Checking), std::optional<Step>()}) {
        SCOPED_TRACE(step ? int(*step) : -1);
        bool killed = false;
        inChild(
            [&] {
                ::setenv("TMPDIR", QFile::encodeName(temporary.path()).constData(), 1);
                ::setenv("SQLITE_TMPDIR", QFile::encodeName(temporary.path()).constData(), 1);
                replaceStepObserver() = [&](ReplaceStep at, const QString &) {
                    if (!step && at == ReplaceStep::BackupKept)
                        ::raise(SIGKILL);
                };
                Database::repair(file.path, Password, [&](Step at, qint64, qint64) {
                    if (at == step)
                        ::raise(SIGKILL);
                });
                return QByteArray();
            },
            &killed);
        EXPECT_TRUE(killed) << "the repair never reached the step";
        EXPECT_FALSE(holdsKnownText(file.dir.path()));
        EXPECT_FALSE(holdsKnownText(temporary.path()));
        EXPECT_EQ(readFileBytes(file.path), file.bytes);
        QFile::remove(file.path + ".bak");
    }
    Database::repair(file.path, Password);
    EXPECT_FALSE(holdsKnownText(file.dir.path()));
    EXPECT_GT(contacts(file.path, Password), 250);
}

// A repair and a password change keep the file's access list and its other attributes, on
// the file and on a backup that had to be copied; the copy it works on has none until it has
// taken the file's place.
TEST(AwkwardDisk, TheAccessListAndAttributesAreKept)
{
    const QByteArray list = accessList({{UserOwning, 6, Anyone},
                                        {UserNamed, 6, 65534},
                                        {GroupOwning, 0, Anyone},
                                        {Mask, 6, Anyone},
                                        {Other, 0, Anyone}});
    for (const auto &[name, copiedBackup] :
         {std::pair{"repair", false}, {"repair copying its backup", true}, {"password change", false}}) {
        SCOPED_TRACE(name);
        DamagedFile file(false);
        ::chmod(QFile::encodeName(file.path).constData(), 0600);
        if (!setAttribute(file.path, "system.posix_acl_access", list) ||
            !setAttribute(file.path, "user.origin", "imported")) {
            GTEST_SKIP() << "the disk keeps no access lists or attributes";
        }
        secondNamesRefused() = copiedBackup;
        replaceStepObserver() = [&](ReplaceStep step, const QString &made) {
            if (step == ReplaceStep::WorkFileMade) {
                EXPECT_EQ(attribute(made, "user.origin"), QByteArray()) << made.toStdString();
            }
        };
        QStringList kept{file.path};
        if (QString(name) == "password change") {
            Database::repair(file.path);
            QFile::remove(file.path + ".bak");
            setAttribute(file.path, "user.origin", "imported");
            setAttribute(file.path, "system.posix_acl_access", list);
            Database::open(file.path, true, false, ";pwd=")->newPassword(QString(), Password);
        } else {
            kept.append(Database::repair(file.path).backup);
        }
        replaceStepObserver() = nullptr;
        secondNamesRefused() = false;
        for (const QString &path : kept) {
            struct stat status {};
            ::stat(QFile::encodeName(path).constData(), &status);
            EXPECT_EQ(status.st_mode & 07777, 0660u) << path.toStdString();
            EXPECT_EQ(attribute(path, "system.posix_acl_access"), list) << path.toStdString();
            EXPECT_EQ(attribute(path, "user.origin"), "imported") << path.toStdString();
        }
    }
}

// The user's own file of a group they are not in (what an administrator's chown leaves): where
// that group may not use the file, its copy takes the user's group and the work goes on;
// where the group may, by the mode or by the access list, the work is refused.
TEST(AwkwardDisk, AGroupThatMayNotUseTheFileIsNotKept)
{
    if (permissionsBindThisProcess())
        GTEST_SKIP() << "the file's group is given by an administrator";
    const QByteArray groupReads = accessList({{UserOwning, 6, Anyone},
                                              {GroupOwning, 0, Anyone},
                                              {GroupNamed, 4, 0},
                                              {Mask, 4, Anyone},
                                              {Other, 0, Anyone}});
    for (const auto &[mode, list, goesOn] :
         {std::tuple{0600u, QByteArray(), true}, {0640u, QByteArray(), false}, {0600u, groupReads, false}}) {
        SCOPED_TRACE(testing::Message() << std::oct << mode << " list " << !list.isEmpty());
        DamagedFile file(false);
        for (const QString &path : {file.dir.path(), file.path})
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 0), 0);
        ::chmod(QFile::encodeName(file.path).constData(), mode);
        if (!list.isEmpty() && !setAttribute(file.path, "system.posix_acl_access", list)) {
            GTEST_SKIP() << "the disk keeps no access lists";
        }
        QString why;
        const std::optional<QString> told = runWherePermissionsBind(
            [&] {
                try {
                    Database::repair(file.path);
                    return QString::number(::getegid());
                } catch (const RuntimeError &error) {
                    return QString::number(error.number()) + " " + error.description();
                }
            },
            why);
        if (!told)
            GTEST_SKIP() << why.toStdString();
        struct stat status {};
        ::stat(QFile::encodeName(file.path).constData(), &status);
        if (goesOn) {
            EXPECT_EQ(*told, QString::number(status.st_gid));
            EXPECT_NE(status.st_gid, 0u);
            EXPECT_EQ(status.st_uid, 65534u);
            EXPECT_EQ(status.st_mode & 07777, mode);
            EXPECT_GT(contacts(file.path), 250);
        } else {
            EXPECT_EQ(*told,
                      QString("3027 A new copy of the database '%1' could not keep its owner and group. It "
                              "belongs to the group root, which you are not a member of. An "
                              "administrator can give the file to one of your groups for the work to go "
                              "on. Nothing was changed.")
                          .arg(file.path));
            EXPECT_EQ(readFileBytes(file.path), file.bytes);
            EXPECT_EQ(status.st_gid, 0u);
        }
    }
}

// Where no second name of the file can be made, the backup is copied under a work name: a
// copy killed part way is never taken for the backup, and the next repair keeps its backup
// under the backup's own name.
TEST(AwkwardDisk, ABackupCopyKilledPartWayIsNotTheBackup)
{
    DamagedFile file(false);
    bool killed = false;
    inChild(
        [&] {
            secondNamesRefused() = true;
            replaceStepObserver() = [&](ReplaceStep step, const QString &made) {
                if (step == ReplaceStep::WorkFileMade && made.contains(".backup-")) {
                    writeFileBytes(made, file.bytes.left(file.bytes.size() / 2));
                    ::raise(SIGKILL);
                }
            };
            Database::repair(file.path);
            return QByteArray();
        },
        &killed);
    ASSERT_TRUE(killed);
    EXPECT_EQ(readFileBytes(file.path), file.bytes);
    EXPECT_FALSE(QFileInfo::exists(file.path + ".bak"));
    secondNamesRefused() = true;
    EXPECT_EQ(Database::repair(file.path).backup, file.path + ".bak");
    secondNamesRefused() = false;
    EXPECT_EQ(readFileBytes(file.path + ".bak"), file.bytes);
    EXPECT_GT(contacts(file.path), 250);
    EXPECT_EQ(filesIn(file.dir.path()), (QStringList{"Quiltern.mdb", "Quiltern.mdb.bak"}));
}

// On a disk that shows one mode for every file (a FAT or exFAT stick), what a repair or a
// password change left is still told by its name's check and its content, and removed.
TEST(AwkwardDisk, LeftoversAreRemovedOnADiskWithoutModes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Quiltern.mdb");
    createDatabaseFromSchema(path);
    const QByteArray plain = readFileBytes(path);
    const auto own = [&](const char *work) {
        return QFileInfo(platform::dbfile::freshSidePath(path, work)).fileName();
    };
    const struct {
        QString name;
        QByteArray bytes;
        bool removed;
    } leftovers[] = {
        {own("rekey"), plain, true},
        {own("scratch"), plain, true},
        {own("backup"), plain.left(plain.size() / 2), true},
        {own("backup"), QByteArray(), true},
        // Not a beginning of the file's.
        {own("backup"), plain.mid(4096, 4096), false},
        {own("repair"), "rows in plain", false},
        {"Quiltern.mdb.rekey-20240101", plain, false},
    };
    for (const auto &leftover : leftovers)
        writeFileBytes(dir.filePath(leftover.name), leftover.bytes);
    for (const QString &name : filesIn(dir.path()))
        ::chmod(QFile::encodeName(dir.filePath(name)).constData(), 0755);
    Database::open(path);
    for (const auto &leftover : leftovers)
        EXPECT_NE(QFileInfo::exists(dir.filePath(leftover.name)), leftover.removed)
            << leftover.name.toStdString();
}
