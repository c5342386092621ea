#include "platform/RuntimeError.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/ReplacedFile.h"
#include "support/DamagedDatabase.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace platform;

namespace {

const QString Password = QStringLiteral("s3cret");
const QByteArray Known = "Quarterfield"; // a last name no encrypted page shows

// A damaged database of 300 contacts, one of them named `Known`, plain or encrypted.
struct DamagedFile {
    explicit DamagedFile(bool encrypted = false) : password(encrypted ? Password : QString())
    {
        createDatabaseFromSchema(path);
        Database::open(path)->execute("INSERT INTO tblContacts (LastName) VALUES ('" + QString(Known) + "')");
        if (!encrypted) {
            bytes = damageDatabase(path);
            return;
        }
        auto db = Database::open(path);
        for (int i = 0; i < 300; ++i)
            db->execute("INSERT INTO tblContacts (LastName) VALUES ('Row')");
        db.reset();
        Database::open(path, true, false, ";pwd=")->newPassword(QString(), Password);
        bytes = readFileBytes(path);
        damage::garblePage(bytes, bytes.size() / damage::EncryptedPageSize / 2, 11,
                           damage::EncryptedPageSize);
        writeFileBytes(path, bytes);
    }
    QString password;
    QTemporaryDir dir;
    QString path = dir.filePath("Quiltern.mdb");
    QByteArray bytes;
};

// Runs `work` in a child process; what it returns, and whether a signal ended it.
QByteArray inChild(const std::function<QByteArray()> &work, bool *killed = nullptr)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    if (::fork() == 0) {
        const QByteArray told = work();
        [[maybe_unused]] const ssize_t n = ::write(channel[1], told.constData(), size_t(told.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray told;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        told.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::wait(&status);
    if (killed)
        *killed = WIFSIGNALED(status);
    return told;
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

unsigned modeOf(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

QByteArray attribute(const QString &path, const char *name)
{
    QByteArray value(4096, '\0');
    const ssize_t size =
        ::getxattr(QFile::encodeName(path).constData(), name, value.data(), size_t(value.size()));
    return size < 0 ? QByteArray() : value.left(size);
}

bool setAttribute(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(), size_t(value.size()),
                      0) == 0;
}

// An access list as the system stores it: a version, then each entry's kind, permissions and
// the id it names: the owner, nobody (65534), the owning group, the mask, others.
const QByteArray NobodyMayWrite = QByteArray::fromHex(
    "02000000 01000600ffffffff 02000600feff0000 04000000ffffffff 10000600ffffffff 20000000ffffffff");

} // namespace

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
        writeFileBytes(file.path, file.bytes);
        QFile::remove(file.path + ".bak");
        QSet<bool> stopped;
        // Eighths of the file's size, the first three from the start.
        const int limits[] = {1, 5, 24, 1, 3, 5, 7, 9};
        for (int row = 0; row < 8; ++row) {
            const bool fromCopying = row >= 3;
            const int eighths = limits[row];
            const rlimit most{rlim_t(file.bytes.size()) * eighths / 8,
                              rlim_t(file.bytes.size()) * eighths / 8};
            SCOPED_TRACE(testing::Message() << eighths << "/8" << (fromCopying ? " from the copy" : ""));
            const QByteArray told = inChild([&] {
                ::signal(SIGXFSZ, SIG_IGN);
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
                EXPECT_EQ(QDir(file.dir.path()).entryList(QDir::Files), QStringList{"Quiltern.mdb"});
            }
            QFile::remove(file.path + ".bak");
            writeFileBytes(file.path, file.bytes);
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

// A repair (with its backup a second name or a copy) and a password change keep the file's
// access list and other attributes; the copies they work on have none meanwhile.
TEST(AwkwardDisk, TheAccessListAndAttributesAreKept)
{
    const QByteArray &list = NobodyMayWrite;
    for (const auto &[copiedBackup, passwordChange] :
         {std::pair{false, false}, {true, false}, {false, true}}) {
        SCOPED_TRACE(testing::Message()
                     << "copied backup " << copiedBackup << " password " << passwordChange);
        DamagedFile file;
        if (passwordChange) {
            Database::repair(file.path);
            QFile::remove(file.path + ".bak");
        }
        ::chmod(QFile::encodeName(file.path).constData(), 0600);
        if (!setAttribute(file.path, "system.posix_acl_access", list) ||
            !setAttribute(file.path, "user.origin", "imported")) {
            GTEST_SKIP() << "the disk keeps no access lists or attributes";
        }
        secondNamesRefused() = copiedBackup;
        replaceStepObserver() = [&](ReplaceStep step, const QString &made) {
            EXPECT_TRUE(step != ReplaceStep::WorkFileMade || attribute(made, "user.origin").isEmpty());
        };
        QStringList kept{file.path};
        if (passwordChange)
            Database::open(file.path, true, false, ";pwd=")->newPassword(QString(), Password);
        else
            kept.append(Database::repair(file.path).backup);
        replaceStepObserver() = nullptr;
        secondNamesRefused() = false;
        for (const QString &path : kept) {
            EXPECT_EQ(modeOf(path), 0660u) << path.toStdString();
            EXPECT_EQ(attribute(path, "system.posix_acl_access"), list) << path.toStdString();
            EXPECT_EQ(attribute(path, "user.origin"), "imported") << path.toStdString();
        }
    }
}
