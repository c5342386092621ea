#include "files/FileModes.h"

#include "../mainwindow/MainWindowFixture.h"
#include "platform/db/DaoError.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "support/DamagedDatabase.h"
#include "support/FileBytes.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

// An SQLite file of another program: a valid database without this program's tables.
void writeForeignSqliteFile(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                    nullptr);
    sqlite3_exec(db, "CREATE TABLE songs (title TEXT); INSERT INTO songs VALUES ('Blue Moon');", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
}

bool mentions(const platform::DialogRequest &shown, const QString &text)
{
    return shown.text.contains(text);
}

} // namespace

class FilesProgramTest : public MainWindowFixture {
  protected:
    int markedCount()
    {
        auto db = platform::Database::open(path, false, true);
        return db->openRecordset("Select Count(*) from tblContacts Where Selected='x'")->value(0).toInt();
    }
};

struct ReadOnlyStart {
    const char *name;
    bool folder;
};

class ReadOnlyProgramTest : public FilesProgramTest, public testing::WithParamInterface<ReadOnlyStart> {};

TEST_P(ReadOnlyProgramTest, ShowsTheListAndRefusesAWriteOnceLeavingTheFileAsItWas)
{
    prepare(8);
    const QByteArray before = readFileBytes(path);
    const QString marked = GetParam().folder ? QFileInfo(path).absolutePath() : path;
    FileModeScope mode(marked, GetParam().folder ? ReadOnlyFolder : ReadOnlyFile);

    NameList &w = start();
    EXPECT_TRUE(script.shown().empty()) << "a read-only file opens without a word";
    EXPECT_TRUE(gDb->readOnly());
    EXPECT_EQ(w.windowTitle(), "Quiltern Database  " + path + "  (read-only)");
    EXPECT_EQ(shown(w).recordCount(), 8);

    // Another order works; it is only not kept.
    ASSERT_GT(cmbSort(w)->count(), 1);
    cmbSort(w)->setCurrentIndex((cmbSort(w)->currentIndex() + 1) % cmbSort(w)->count());
    w.listViews().cmbSort_Click();
    EXPECT_EQ(shown(w).recordCount(), 8);
    EXPECT_TRUE(script.shown().empty());

    // A mark is a write: one message that names the cause, and no mark.
    script.answerMessage(platform::vbOK);
    clickCell(w, 3, 0);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(mentions(script.shown()[0], "read-only")) << script.shown()[0].text.toStdString();
    EXPECT_EQ(gMainWindow.gSelectedCount, 0);

    // Closing leaves without a word, though closing clears marks on a writable file.
    StartedProgram::closeWindow();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(readFileBytes(path), before);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadOnlyProgramTest,
                         testing::Values(ReadOnlyStart{"ReadOnlyFile", false}, ReadOnlyStart{"ReadOnlyFolder", true}),
                         [](const testing::TestParamInfo<ReadOnlyStart> &info) { return info.param.name; });

TEST_F(FilesProgramTest, ForeignSqliteFileAtStartGetsTheForeignFileMessage)
{
    path = program.folder().filePath("Music.mdb");
    writeForeignSqliteFile(path);
    const QByteArray before = readFileBytes(path);
    program.setCommandLine(path);
    script.answerMessage(platform::vbOK);
    EXPECT_FALSE(program.start());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(mentions(script.shown()[0], "not a database of this program"))
        << script.shown()[0].text.toStdString();
    EXPECT_TRUE(script.shown()[0].text.endsWith("    Error number: 3343"));
    EXPECT_EQ(readFileBytes(path), before);
}

TEST_F(FilesProgramTest, DamagedReadOnlyFileIsNotRepairedButOpensAsItIsAndSaysWhy)
{
    prepare(0);
    const QByteArray bytes = damageDatabase(path);
    FileModeScope mode(path, ReadOnlyFile);

    program.setCommandLine(path);
    script.answerMessage(platform::vbOK);
    EXPECT_TRUE(program.start());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Corrupt Database");
    EXPECT_TRUE(script.shown()[0].text.endsWith("open the copy.  Until then it opens read-only, as it is."));
    EXPECT_TRUE(gDb->readOnly());
    EXPECT_EQ(readFileBytes(path), bytes);
    EXPECT_EQ(QDir(program.folder().path()).entryList(QDir::Files), QStringList{"Quiltern.mdb"});
}

// Told at the open that the book cannot be repaired where it is, the user meets its damage
// again in a report or an export: each points to the copy that can be repaired.
TEST_F(FilesProgramTest, PrintAndExportOfADamagedReadOnlyFilePointToACopyToRepair)
{
    // The damage lies in the notes of the contact that sorts last, which the list never shows.
    prepare(30);
    before("INSERT INTO tblContacts (LastName, Notes, Selected) VALUES ('Zzyzx', '" + QString(6000, 'n') +
           "MIDDLEOFTHENOTES" + QString(6000, 'm') + "', ' ')");
    QByteArray bytes = readFileBytes(path);
    damage::garblePage(bytes, bytes.indexOf("MIDDLEOFTHENOTES") / damage::PageSize + 1);
    writeFileBytes(path, bytes);
    FileModeScope mode(path, ReadOnlyFile);
    program.setCommandLine(path);
    script.answerMessage(platform::vbOK);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(gDb->readOnly());
    NameList &w = *StartedProgram::window();
    const QTemporaryDir out;
    for (const auto &[command, asked, file] : {std::tuple{"PhoneListMenu", platform::vbOK, "out.pdf"},
                                               std::tuple{"ExportWithNotes", platform::vbYes, "out.txt"}}) {
        SCOPED_TRACE(command);
        const std::size_t from = script.shown().size();
        script.answerMessage(asked).answerSaveFile(out.filePath(file)).answerMessage(platform::vbOK);
        w.menuItem(command)->trigger();
        ASSERT_GT(script.shown().size(), from);
        const QString told = script.shown().back().text;
        EXPECT_TRUE(told.contains("is damaged") &&
                    told.contains("copy '" + path + "' into a folder you can write"))
            << told.toStdString();
        EXPECT_FALSE(told.contains("Repair it before use")) << told.toStdString();
    }
}

TEST_F(FilesProgramTest, OpenDatabaseKeepsTheCurrentOneWhenTheChosenFileFails)
{
    prepare(4);
    NameList &w = start();
    gDb->execute("Update tblContacts Set Selected='x' Where RecordID <= 2");
    const QString text = program.folder().filePath("notes.mdb");
    writeFileBytes(text, "Dear diary, this is not a database.\n");
    const QString foreign = program.folder().filePath("Music.mdb");
    writeForeignSqliteFile(foreign);
    const QString locked = program.folder().filePath("Locked.mdb");
    platform::createDatabaseFromSchema(locked);
    platform::Database::open(locked, true, false, ";pwd=")->newPassword(QString(), "secret");

    struct Bad {
        QString file;
        QString says;
        std::function<void()> answers;
    };
    const std::vector<Bad> bad = {
        {text, "not a database of this program", [&] { script.answerMessage(platform::vbOK); }},
        {foreign, "not a database of this program", [&] { script.answerMessage(platform::vbOK); }},
        {locked, "Not a valid password",
         [&] { script.answerInput("wrong").answerInput("worse").answerMessage(platform::vbOK); }},
        {locked, "", [&] { script.cancelInput(); }},
    };
    for (const Bad &file : bad) {
        const QByteArray before = readFileBytes(file.file);
        const std::size_t shownBefore = script.shown(platform::DialogKind::Message).size();
        script.answerOpenFile(file.file);
        file.answers();
        w.menuItem("OpenDatabase")->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(StartedProgram::window(), &w) << file.file.toStdString();
        EXPECT_EQ(gDbPath, path);
        EXPECT_EQ(shown(w).recordCount(), 4);
        EXPECT_EQ(count("Select Count(*) from tblContacts Where Selected='x'"), 2) << "the old list is untouched";
        const auto messages = script.shown(platform::DialogKind::Message);
        if (file.says.isEmpty()) {
            EXPECT_EQ(messages.size(), shownBefore) << "a password prompt cancelled says nothing more";
        } else {
            ASSERT_EQ(messages.size(), shownBefore + 1);
            EXPECT_TRUE(mentions(messages.back(), file.says)) << messages.back().text.toStdString();
            EXPECT_EQ(messages.back().title, "Error");
        }
        EXPECT_EQ(readFileBytes(file.file), before);
    }
}

TEST_F(FilesProgramTest, OpenDatabaseAsksAPasswordOnceAndOpensAReadOnlyFileReadOnly)
{
    prepare(4);
    NameList &w = start();
    const QString locked = program.folder().filePath("Locked.mdb");
    platform::createDatabaseFromSchema(locked);
    {
        auto db = platform::Database::open(locked, true, false, ";pwd=");
        ContactGenerator::insert(*db, 2, 3);
        db->newPassword(QString(), "secret");
    }
    FileModeScope mode(locked, ReadOnlyFile);

    script.answerOpenFile(locked).answerInput("secret");
    w.menuItem("OpenDatabase")->trigger();
    QCoreApplication::processEvents();
    NameList *other = StartedProgram::window();
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, &w);
    EXPECT_EQ(gDbPath, locked);
    EXPECT_EQ(script.shown(platform::DialogKind::Input).size(), 1u) << "the password is asked once";
    EXPECT_TRUE(gDb->readOnly());
    EXPECT_TRUE(gDb->exclusive());
    EXPECT_TRUE(other->windowTitle().endsWith("  (read-only)"));
    EXPECT_EQ(shown(*other).recordCount(), 2);
}

TEST_F(FilesProgramTest, HelpSaysWhenThePageIsMissingOrCannotBeShown)
{
    prepare(1);
    NameList &w = start();
    const QString page = QDir(platform::programFolder()).filePath("Quiltern.htm");

    script.answerMessage(platform::vbOK);
    w.menuItem("HelpSystem")->trigger();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "The help file " + page + " cannot be found.");
    EXPECT_TRUE(script.shellCalls().empty());

    writeFileBytes(page, "<html><body>Help</body></html>");
    w.button("cmdHelp")->click();
    ASSERT_EQ(script.shellCalls().size(), 1u);
    EXPECT_EQ(script.shellCalls()[0].kind, platform::DialogKind::OpenDocument);
    EXPECT_EQ(script.shellCalls()[0].text, page);
    EXPECT_EQ(script.shown().size(), 1u) << "a page that opens needs no word";

    script.refuseShellCalls().answerMessage(platform::vbOK);
    w.menuItem("HelpSystem")->trigger();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_TRUE(mentions(script.shown()[1], page + " cannot be shown")) << script.shown()[1].text.toStdString();
}
