#include "helpers/mCommon.h"

#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FileHelpers : public ::testing::Test {
  protected:
    QString path(const QString &name) const { return mDir.filePath(name); }

    QString makeFile(const QString &name)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("contents");
        return file.fileName();
    }

    QTemporaryDir mDir;
};

} // namespace

TEST_F(FileHelpers, FileExistsForPlainAndHiddenFilesOnly)
{
    EXPECT_TRUE(FileExists(makeFile(QStringLiteral("plain.txt"))));
    EXPECT_TRUE(FileExists(makeFile(QStringLiteral(".hidden"))));
    const QString readOnly = makeFile(QStringLiteral("readonly.txt"));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    EXPECT_TRUE(FileExists(readOnly));

    ASSERT_TRUE(QDir(mDir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_FALSE(FileExists(path(QStringLiteral("folder"))));
    EXPECT_FALSE(FileExists(path(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(FileExists(path(QStringLiteral("missing/plain.txt"))));
    EXPECT_FALSE(FileExists(QString()));
}

TEST_F(FileHelpers, DirExistsWithOrWithoutTheFinalSeparator)
{
    ASSERT_TRUE(QDir(mDir.path()).mkdir(QStringLiteral("Pictures")));
    ASSERT_TRUE(QDir(mDir.path()).mkdir(QStringLiteral(".hidden folder")));
    const QString folder = path(QStringLiteral("Pictures"));
    EXPECT_TRUE(DirExists(folder));
    EXPECT_TRUE(DirExists(folder + QLatin1Char('/')));
    EXPECT_TRUE(DirExists(path(QStringLiteral(".hidden folder"))));

    EXPECT_FALSE(DirExists(makeFile(QStringLiteral("file.jpg"))));
    EXPECT_FALSE(DirExists(path(QStringLiteral("Deleted Pictures"))));
    EXPECT_FALSE(DirExists(path(QStringLiteral("Deleted Pictures/"))));
    EXPECT_FALSE(DirExists(QString()));
}

TEST(AddBackslash, AppendsTheSeparatorOnlyWhenMissing)
{
    QString folder = QStringLiteral("/home/user/Pictures");
    AddBackslash(folder);
    EXPECT_EQ(folder, QStringLiteral("/home/user/Pictures/"));
    AddBackslash(folder);
    EXPECT_EQ(folder, QStringLiteral("/home/user/Pictures/"));

    QString empty;
    AddBackslash(empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST_F(FileHelpers, KillFileDeletesReadOnlyAndHiddenFiles)
{
    const QString readOnly = makeFile(QStringLiteral("qn.rvx"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    KillFile(readOnly);
    EXPECT_FALSE(QFile::exists(readOnly));

    const QString hidden = makeFile(QStringLiteral(".picture.bmp"));
    KillFile(hidden);
    EXPECT_FALSE(QFile::exists(hidden));
}

TEST_F(FileHelpers, KillFileLeavesMissingPathsAndFoldersAlone)
{
    EXPECT_NO_THROW(KillFile(path(QStringLiteral("missing.jpg"))));
    EXPECT_NO_THROW(KillFile(QString()));
    ASSERT_TRUE(QDir(mDir.path()).mkdir(QStringLiteral("folder")));
    KillFile(path(QStringLiteral("folder")));
    EXPECT_TRUE(QDir(path(QStringLiteral("folder"))).exists());
}

#ifdef Q_OS_LINUX
TEST(KillFile, RaisesWhenAnExistingFileCannotBeDeleted)
{
    // A kernel file exists but can never be unlinked, not even by the superuser.
    const QString undeletable = QStringLiteral("/proc/self/status");
    ASSERT_TRUE(FileExists(undeletable));
    try {
        KillFile(undeletable);
        FAIL() << "no error raised";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), 75);
        EXPECT_TRUE(error.description().contains(undeletable));
    }
}
#endif

TEST(CheckFileNameChars, RefusesEveryForbiddenCharacter)
{
    const QString forbidden = QStringLiteral("*\\/:?|<>\"");
    for (const QChar ch : forbidden) {
        EXPECT_FALSE(CheckFileNameChars(QStringLiteral("My") + ch + QStringLiteral("Picture")))
            << QString(ch).toStdString();
        EXPECT_FALSE(CheckFileNameChars(QString(ch))) << QString(ch).toStdString();
        EXPECT_FALSE(CheckFileNameChars(QStringLiteral("Picture") + ch)) << QString(ch).toStdString();
    }
}

TEST(CheckFileNameChars, RefusesEmptyBlankAndControlStartedNames)
{
    EXPECT_FALSE(CheckFileNameChars(QString()));
    EXPECT_FALSE(CheckFileNameChars(QStringLiteral("    ")));
    EXPECT_FALSE(CheckFileNameChars(QStringLiteral("\tPicture")));
    EXPECT_FALSE(CheckFileNameChars(QStringLiteral("  \x01name")));
}

TEST(CheckFileNameChars, AcceptsOrdinaryNames)
{
    EXPECT_TRUE(CheckFileNameChars(QStringLiteral("Smith family 2020")));
    EXPECT_TRUE(CheckFileNameChars(QStringLiteral("  padded name  ")));
    EXPECT_TRUE(CheckFileNameChars(QStringLiteral("Café d'Ørsted (1)")));
    EXPECT_TRUE(CheckFileNameChars(QStringLiteral("a")));
}
