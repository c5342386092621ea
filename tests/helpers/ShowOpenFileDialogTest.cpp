#include "support/DialogScript.h"

#include "helpers/mCommonDialog.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

namespace {
// The call as the start routine and Open Database make it.
struct DatabaseDialog {
    QString fileName;
    QString fileTitle;
    bool readOnly = false;
    QString filter = "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*";
    int filterIndex = 1;
    int extraFlags = 0;

    bool show()
    {
        return ShowOpenFileDialog(fileName, fileTitle, true, false, readOnly, true, filter, filterIndex,
                                  "/opt/quiltern/", "Open database file", "", nullptr, extraFlags);
    }
};
} // namespace

TEST(OpenFileDialog, ChosenFileComesBackWithItsNameAndFilter)
{
    DialogScript script;
    script.answerOpenFile("/home/u/data/Club.mdb");
    DatabaseDialog dialog;
    EXPECT_TRUE(dialog.show());
    EXPECT_EQ(dialog.fileName, "/home/u/data/Club.mdb");
    EXPECT_EQ(dialog.fileTitle, "Club.mdb");
    EXPECT_EQ(dialog.filterIndex, 1);
    EXPECT_EQ(dialog.filter, QString("Database files (*.mdb)") + QChar(0) + "*.mdb");
    EXPECT_EQ(dialog.extraFlags, 0x1004);
    EXPECT_FALSE(dialog.readOnly);

    ASSERT_EQ(script.shown().size(), 1u);
    const platform::DialogRequest &shown = script.shown()[0];
    EXPECT_EQ(shown.kind, platform::DialogKind::OpenFile);
    EXPECT_EQ(shown.title, "Open database file");
    EXPECT_EQ(shown.initialDir, "/opt/quiltern/");
    EXPECT_EQ(shown.flags, 0x1000 | 0x4);
    EXPECT_EQ(shown.filter, "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");
    EXPECT_EQ(shown.filterIndex, 1);
}

TEST(OpenFileDialog, SecondFilterChosen)
{
    DialogScript script;
    script.answerOpenFile("/tmp/old.bak", 2);
    DatabaseDialog dialog;
    EXPECT_TRUE(dialog.show());
    EXPECT_EQ(dialog.filterIndex, 2);
    EXPECT_EQ(dialog.filter, QString("All Files (*.*)") + QChar(0) + "*.*");
}

TEST(OpenFileDialog, CancelClearsTheOutputs)
{
    DialogScript script;
    script.cancelFile();
    DatabaseDialog dialog;
    dialog.fileName = "start.mdb";
    dialog.fileTitle = "start";
    dialog.extraFlags = 0x8;
    EXPECT_FALSE(dialog.show());
    EXPECT_EQ(dialog.fileName, "");
    EXPECT_EQ(dialog.fileTitle, "");
    EXPECT_EQ(dialog.filter, "");
    EXPECT_EQ(dialog.filterIndex, -1);
    EXPECT_EQ(dialog.extraFlags, 0);
    EXPECT_EQ(script.shown()[0].fileName, "start.mdb");
    EXPECT_EQ(script.shown()[0].flags, 0x1004 | 0x8);
}

TEST(OpenFileDialog, OptionFlagsAndClearedHookBits)
{
    DialogScript script;
    script.answerOpenFile("/tmp/a.txt");
    QString name, title, filter = "Text|*.txt";
    bool readOnly = true;
    int index = 1;
    int flags = 0x20 | 0x40 | 0x80000;
    EXPECT_TRUE(ShowOpenFileDialog(name, title, false, true, readOnly, false, filter, index, "", "Pick",
                                   "txt", nullptr, flags));
    EXPECT_EQ(script.shown()[0].flags, 0x80000 | 0x200 | 0x1);
    EXPECT_EQ(script.shown()[0].defaultExt, "txt");
    EXPECT_TRUE(readOnly) << "the returned flags hold the read-only bit";
}

TEST(OpenFileDialog, ColonInADescriptionShiftsThePairs)
{
    DialogScript script;
    script.answerOpenFile("/tmp/x.mdb", 2);
    DatabaseDialog dialog;
    dialog.filter = "Access: databases|*.mdb|All|*.*";
    EXPECT_TRUE(dialog.show());
    EXPECT_EQ(script.shown()[0].filter, "Access| databases|*.mdb|All|*.*");
    EXPECT_EQ(dialog.filter, QString("*.mdb") + QChar(0) + "All");
}

TEST(OpenFileDialog, OverlongInitialNameRaisesBeforeTheDialog)
{
    DialogScript script;
    DatabaseDialog dialog;
    dialog.fileName = QString(261, 'a');
    try {
        dialog.show();
        ADD_FAILURE() << "no error";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), 5);
    }
    EXPECT_TRUE(script.shown().empty());
    dialog.fileName = QString(260, 'a');
    script.cancelFile();
    EXPECT_FALSE(dialog.show());
}

TEST(OpenFileDialog, NullFieldPicksPairs)
{
    const QString text =
        QString("A") + QChar(0) + "*.a" + QChar(0) + "B" + QChar(0) + "*.b" + QChar(0) + QChar(0);
    EXPECT_EQ(GetNullField(text, 1), QString("A") + QChar(0) + "*.a");
    EXPECT_EQ(GetNullField(text, 2), QString("B") + QChar(0) + "*.b");
    EXPECT_EQ(GetNullField(text, 3), "");
    EXPECT_EQ(GetNullField(text, 0), "");
}
