#include "editor/GLOBAL.h"
#include "helpers/RecordSource.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/SingleInstance.h"
#include "start/modMain.h"
#include "support/ContactGenerator.h"
#include "support/DamagedDatabase.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/StartedProgram.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

using platform::DialogKind;

namespace {

QString newDatabase(const QString &path)
{
    platform::createDatabaseFromSchema(path);
    return path;
}

void setPassword(const QString &path, const QString &password)
{
    auto db = platform::Database::open(path, true, false, QStringLiteral(";pwd="));
    db->newPassword(QString(), password);
}

// Starts expecting one message box only, answered OK, and the program to end.
platform::DialogRequest startRefused(StartedProgram &program)
{
    DialogScript script;
    script.answerMessage(platform::vbOK);
    EXPECT_FALSE(program.start());
    EXPECT_EQ(StartedProgram::window(), nullptr);
    EXPECT_EQ(script.shown().size(), 1u);
    return script.shown().empty() ? platform::DialogRequest() : script.shown()[0];
}

const QString InvalidNameText =
    "The database file name you supplied on the command line cannot be found.  You specified file name ";

} // namespace

TEST(StartupPaths, CommandLineIsTrimmedButBlanksInsideStay)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("my contacts 2024.mdb"));
    program.setCommandLine("   " + path + "  ");
    DialogScript script;
    ASSERT_TRUE(program.start());
    EXPECT_EQ(gDbPath, path);
    ASSERT_NE(StartedProgram::window(), nullptr);
    EXPECT_EQ(StartedProgram::window()->windowTitle(), "Quiltern Database  " + path);
    EXPECT_EQ(gAppName, "Quiltern");
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(gContactsTable->index(), "LastName");
    EXPECT_EQ(gEditor.gUserField1Size, 255);
    EXPECT_FALSE(gDb->exclusive()) << "a database without a password is opened shared";
}

TEST(StartupPaths, MissingCommandLineFileEndsWithItsMessageAndCreatesNothing)
{
    StartedProgram program;
    const QString path = program.folder().filePath("nowhere.mdb");
    program.setCommandLine(" " + path);
    const platform::DialogRequest shown = startRefused(program);
    EXPECT_EQ(shown.text, InvalidNameText + path);
    EXPECT_EQ(shown.title, "Data file name invalid");
    EXPECT_EQ(shown.icon, platform::vbCritical);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(StartupPaths, HiddenFilesAndFoldersAreNotDatabaseFiles)
{
    StartedProgram program;
    const QString hidden = newDatabase(program.folder().filePath(".hidden.mdb"));
    EXPECT_EQ(databaseFileSearch(hidden), "");
    EXPECT_EQ(databaseFileSearch(program.folder().path()), "");
    EXPECT_EQ(databaseFileSearch(" "), "");
    const QString plain = newDatabase(program.folder().filePath("plain.mdb"));
    EXPECT_EQ(databaseFileSearch(plain), "plain.mdb");

    program.setCommandLine(hidden);
    EXPECT_EQ(startRefused(program).title, "Data file name invalid");
}

TEST(StartupPaths, DefaultDatabaseInTheProgramFolder)
{
    StartedProgram program;
    newDatabase(program.folder().filePath("Quiltern.mdb"));
    DialogScript script;
    ASSERT_TRUE(program.start());
    EXPECT_EQ(gDbPath, program.folder().path() + "/Quiltern.mdb");
    EXPECT_TRUE(script.shown().empty());
}

TEST(StartupPaths, FirstDefaultJoinsFolderAndNameWithoutSeparator)
{
    StartedProgram program;
    // The program folder .../Q with a file .../QQuiltern.mdb beside it: that file wins.
    QDir(program.folder().path()).mkdir("Q");
    platform::setProgramFolderForTesting(program.folder().filePath("Q"));
    const QString joined = newDatabase(program.folder().filePath("QQuiltern.mdb"));
    newDatabase(program.folder().filePath("Q/Quiltern.mdb"));
    DialogScript script;
    ASSERT_TRUE(program.start());
    EXPECT_EQ(gDbPath, joined);
}

TEST(StartupPaths, NoDefaultFileAsksWithTheFileDialog)
{
    StartedProgram program;
    const QString chosen = newDatabase(program.folder().filePath("chosen.mdb"));
    DialogScript script;
    script.answerOpenFile(chosen);
    ASSERT_TRUE(program.start());
    EXPECT_EQ(gDbPath, chosen);
    const auto dialogs = script.shown(DialogKind::OpenFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Open database file");
    EXPECT_EQ(dialogs[0].filter, "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*");
    EXPECT_EQ(dialogs[0].filterIndex, 1);
    EXPECT_EQ(dialogs[0].initialDir, program.folder().path() + "/");
}

TEST(StartupPaths, CancelledFileDialogReportsTheMissingFileAndCreatesNone)
{
    StartedProgram program;
    DialogScript script;
    script.cancelFile().answerMessage(platform::vbOK);
    EXPECT_FALSE(program.start());
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Error");
    EXPECT_EQ(messages[0].icon, platform::vbCritical);
    EXPECT_TRUE(messages[0].text.endsWith("    Error number: 3024")) << messages[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(program.folder().filePath("Quiltern.mdb")));
    EXPECT_EQ(StartedProgram::window(), nullptr);
}

TEST(StartupPaths, ForeignFileGetsAClearMessageAndIsNeverTouched)
{
    StartedProgram program;
    QByteArray jet(4096, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    const QString path = program.folder().filePath("Old.mdb");
    writeFileBytes(path, jet);
    program.setCommandLine(path);
    const platform::DialogRequest shown = startRefused(program);
    EXPECT_EQ(shown.title, "Error");
    EXPECT_TRUE(shown.text.contains("Jet")) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.endsWith("    Error number: 3343"));
    EXPECT_EQ(readFileBytes(path), jet);
    EXPECT_EQ(QDir(program.folder().path()).entryList(QDir::Files), QStringList{"Old.mdb"});
}

TEST(StartupSingleInstance, SecondCopyIsRefusedAndBringsTheFirstForward)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    platform::SingleInstance running(program.singleInstanceKey());
    ASSERT_TRUE(running.tryToRun());
    QSignalSpy comeForward(&running, &platform::SingleInstance::comeForwardRequested);

    DialogScript script;
    script.answerMessage(platform::vbOK);
    EXPECT_FALSE(program.start());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text,
              "Quiltern is already running!  For data integrity, you can't start a second "
              "copy of the program.");
    EXPECT_EQ(script.shown()[0].title, "Quiltern 3 #2");
    EXPECT_EQ(script.shown()[0].icon, 0);
    EXPECT_TRUE(comeForward.wait(2000));
    EXPECT_EQ(gDb, nullptr) << "the second copy never opens the database";
    EXPECT_EQ(StartedProgram::window(), nullptr);
}

TEST(StartupSingleInstance, MissingCommandLineFileIsToldBeforeTheSecondCopyTest)
{
    StartedProgram program;
    platform::SingleInstance running(program.singleInstanceKey());
    ASSERT_TRUE(running.tryToRun());
    program.setCommandLine(program.folder().filePath("gone.mdb"));
    EXPECT_EQ(startRefused(program).title, "Data file name invalid");
}

// A temporary folder that is not there is told as such and the program ends: no other copy
// is claimed to run, and no lock is made in the current folder.
TEST(StartupSingleInstance, AMissingTemporaryFolderIsToldAndNoCopyClaimedToRun)
{
    StartedProgram program;
    newDatabase(program.folder().filePath("Quiltern.mdb"));
    const QString gone = program.folder().filePath("gone"), current = QDir::currentPath();
    const QByteArray temporary = qgetenv("TMPDIR");
    QDir::setCurrent(program.folder().path());
    qputenv("TMPDIR", QFile::encodeName(gone));
    const platform::DialogRequest shown = startRefused(program);
    qputenv("TMPDIR", temporary);
    QDir::setCurrent(current);
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.text, "The temporary folder '" + gone +
                              "' cannot be used for the lock that keeps a second copy of the program from "
                              "running.  The folder does not exist.    Error number: 76");
    EXPECT_EQ(QDir(program.folder().path()).entryList(QDir::Files), QStringList{"Quiltern.mdb"});
}

TEST(StartupPassword, WrongThenRightOpensExclusively)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    setPassword(path, "s3cret");
    DialogScript script;
    script.answerInput("wrong").answerInput("s3cret");
    ASSERT_TRUE(program.start());
    const auto asked = script.shown(DialogKind::Input);
    ASSERT_EQ(asked.size(), 2u);
    for (const auto &prompt : asked) {
        EXPECT_EQ(prompt.text, "Type your password.  You have two chances to get it right.");
        EXPECT_EQ(prompt.title, "Password?");
        EXPECT_EQ(prompt.defaultText, "");
        EXPECT_TRUE(prompt.passwordMask) << "passwords are typed into a masked box";
    }
    EXPECT_TRUE(gDb->exclusive());
    EXPECT_TRUE(gDb->hasPassword());
}

TEST(StartupPassword, TwoWrongAnswersEndWithTheErrorReport)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    setPassword(path, "s3cret");
    DialogScript script;
    script.answerInput("one").answerInput("two").answerMessage(platform::vbOK);
    EXPECT_FALSE(program.start());
    ASSERT_EQ(script.shown(DialogKind::Input).size(), 2u);
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Error");
    EXPECT_TRUE(messages[0].text.endsWith("    Error number: 3031"));
    EXPECT_EQ(StartedProgram::window(), nullptr);
}

TEST(StartupPassword, CancelAtEitherPromptEndsWithoutAMessage)
{
    for (int cancelAt = 1; cancelAt <= 2; ++cancelAt) {
        StartedProgram program;
        const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
        setPassword(path, "s3cret");
        DialogScript script;
        if (cancelAt == 2)
            script.answerInput("wrong");
        script.cancelInput();
        EXPECT_FALSE(program.start());
        EXPECT_TRUE(script.shown(DialogKind::Message).empty());
        EXPECT_EQ(script.shown(DialogKind::Input).size(), size_t(cancelAt));
        EXPECT_EQ(StartedProgram::window(), nullptr);
    }
}

TEST(StartupRepair, DamagedFileIsRepairedOnOkAndTheProgramStarts)
{
    StartedProgram program;
    damageDatabase(newDatabase(program.folder().filePath("Quiltern.mdb")));
    DialogScript script;
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    ASSERT_TRUE(program.start());
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 2u) << "the offer, then what the repair kept";
    EXPECT_EQ(messages[0].text,
              "Database may be corrupted.  Press the OK button if you want Quiltern to attempt "
              "to repair it.");
    EXPECT_EQ(messages[0].title, "Corrupt Database");
    EXPECT_EQ(messages[0].buttons, platform::vbOKCancel);
    EXPECT_EQ(messages[0].icon, platform::vbExclamation);
    EXPECT_NE(StartedProgram::window(), nullptr);
}

TEST(StartupRepair, AListFoundDamagedAsTheWindowFirstShowsIsRepairedAndShownFromTheNewFile)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    {
        auto db = platform::Database::open(path);
        db->execute("INSERT INTO tblContacts (LastName) VALUES ('Ames')");
        db->execute("INSERT INTO tblContacts (LastName) VALUES ('Baker')");
    }
    // The contact list opens as the window first shows itself; the first time, the file
    // reports damage there (not in what the start reads on its second thread meanwhile).
    bool damageReported = false;
    platform::Database::openingObserver() = [&damageReported](const QString &source) {
        if (!damageReported && QThread::currentThread() == qApp->thread() &&
            source.contains("tblContacts", Qt::CaseInsensitive) &&
            source.contains("Order By", Qt::CaseInsensitive)) {
            damageReported = true;
            throw platform::RuntimeError(platform::err::DamagedDatabase, "Damaged while opening the list.");
        }
    };
    DialogScript script;
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    const bool started = program.start();
    platform::Database::openingObserver() = nullptr;
    ASSERT_TRUE(started);
    ASSERT_TRUE(damageReported);
    EXPECT_EQ(script.shown(DialogKind::Message).size(), 2u);
    NameList *window = StartedProgram::window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The list the window shows is read from the file opened after the repair.
    auto *data = window->findChild<platform::DataControl *>("Data1");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->database(), gDb.get());
    ASSERT_NE(data->recordset(), nullptr);
    EXPECT_EQ(data->recordset()->recordCount(), 2);
}

// A repair says what it kept. Each damage is one a repair can read past: the contacts'
// first page (every other page of theirs whole), one page of their rows, the file's first
// bytes, the stored definition of the contacts table, the list of tables; in a file with a
// password, asked once, the contacts' first page, the first page (its list of tables) or
// its end.
struct RepairCase {
    const char *name;
    void (*apply)(QByteArray &bytes, qint64 page);
    qint64 fewestKept; // of 200 contacts
    const char *told;  // what the box says was lost; none when nothing was
    const char *password = "";
    const char *pageOf = "tblContacts"; // the table or index whose first page `apply` is given
};

class StartupRepairOf : public ::testing::TestWithParam<RepairCase> {};

TEST_P(StartupRepairOf, SaysWhatTheRepairedFileHoldsAndWhereTheOriginalIs)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    {
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, 200);
        db->execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Family')");
        db->execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Quilters')");
        db->execute("INSERT INTO tblRemind (Description, Status) VALUES ('Birthday', 'Active')");
    }
    const QString password = GetParam().password;
    if (!password.isEmpty())
        setPassword(path, password);
    QByteArray bytes = readFileBytes(path);
    GetParam().apply(bytes, damage::firstPageOf(path, GetParam().pageOf, password));
    writeFileBytes(path, bytes);

    DialogScript script;
    if (!password.isEmpty())
        script.answerInput(password);
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    ASSERT_TRUE(program.start());
    EXPECT_EQ(script.shown(DialogKind::Input).size(), password.isEmpty() ? 0u : 1u);
    EXPECT_EQ(gDb->hasPassword(), !password.isEmpty());
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].title, "Corrupt Database") << "a repair offered, not a password asked";
    EXPECT_EQ(readFileBytes(path + ".bak"), bytes);

    const qint64 contacts = gDb->openRecordset("Select Count(*) From tblContacts")->value(0).toLongLong();
    const QString holds = QString("  It holds %1 contacts, 2 categories and 1 reminder.").arg(contacts);
    const QString original = "  The damaged original is kept as " + path + ".bak.";
    EXPECT_EQ(messages[1].title, "Database Repaired");
    EXPECT_GE(contacts, GetParam().fewestKept) << "no more is lost than the rows of the damaged pages";
    EXPECT_LE(contacts, 200);
    EXPECT_TRUE(gDb->isView("qryRemind")) << "the stored queries the windows read";
    if (!GetParam().told) {
        EXPECT_EQ(messages[1].text, "The database has been repaired." + holds + original);
        EXPECT_EQ(messages[1].icon, platform::vbInformation);
    } else {
        EXPECT_EQ(messages[1].text.toStdString(),
                  ("The database has been repaired, but some of its data could not be recovered." + holds +
                   GetParam().told + original)
                      .toStdString());
        EXPECT_EQ(messages[1].icon, platform::vbExclamation);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damages, StartupRepairOf,
    ::testing::Values(
        RepairCase{"ContactsFirstPageGarbled",
                   [](QByteArray &b, qint64 page) { damage::garblePage(b, page); }, 200, nullptr},
        RepairCase{"PageOfContactsGarbled",
                   [](QByteArray &b, qint64 page) { damage::garblePage(b, damage::firstChildOf(b, page)); },
                   180, "  The damaged file held at least 200 contacts."},
        RepairCase{"HeaderBytesChanged",
                   [](QByteArray &b, qint64) {
                       for (int i = 0; i < 40; ++i)
                           b[i] = char((i * 53 + 7) & 0xff);
                   },
                   200, nullptr},
        // A whole file read in its own page size is not cut short, whatever its header says.
        RepairCase{"PageSizeBytesChanged", [](QByteArray &b, qint64) { b[16] = 0x20, b[17] = 0; }, 200,
                   nullptr},
        RepairCase{"SettingsIndexGarbled", [](QByteArray &b, qint64 page) { damage::garblePage(b, page); },
                   200, nullptr, "", "tblSettings.Type"},
        RepairCase{"SchemaFormatChanged", [](QByteArray &b, qint64) { b[47] = 9; }, 200, nullptr},
        RepairCase{"ContactsDefinitionDamaged",
                   [](QByteArray &b, qint64) {
                       const qsizetype at = b.indexOf("CONSTRAINT \"Prefix size\"");
                       ASSERT_GT(at, 0);
                       b[at + 6] = '#';
                   },
                   200, nullptr},
        RepairCase{
            "ListOfTablesGarbled",
            [](QByteArray &b, qint64) { damage::garblePage(b, 1, 11, damage::PageSize, damage::HeaderSize); },
            200, nullptr},
        RepairCase{"ListOfTablesGone",
                   [](QByteArray &b, qint64) {
                       for (qint64 page : damage::listOfTablesPages(b))
                           damage::garblePage(b, page, 11, damage::PageSize,
                                              page == 1 ? damage::HeaderSize : 0);
                   },
                   200,
                   "  Some contacts, categories, category assignments, reminders and settings may be lost.  The "
                   "file's list of tables could not be read, so what else it held is not known."},
        RepairCase{
            "EncryptedContactsFirstPageGarbled",
            [](QByteArray &b, qint64 page) { damage::garblePage(b, page, 11, damage::EncryptedPageSize); },
            200, nullptr, "s3cret"},
        RepairCase{"EncryptedListOfTablesGarbled",
                   [](QByteArray &b, qint64) {
                       damage::garblePage(b, 1, 11, damage::EncryptedPageSize, damage::EncryptedSaltSize);
                   },
                   200, nullptr, "s3cret"},
        // The pages cut off held no row: the indexes that read whole list none missing.
        RepairCase{"EncryptedCutShort", [](QByteArray &b, qint64) { b.truncate(b.size() * 85 / 100 + 123); },
                   200, "  The file was cut short: it ends after 218 of its 257 pages.", "s3cret"}),
    [](const auto &info) { return std::string(info.param.name); });

// What a repair lost is named in the user's words: a table whose only page is garbled (its
// rows told from what its index lists), a table of the user's own that cannot be read.
struct LossCase {
    const char *name;
    void (*apply)(QByteArray &bytes, const QString &path);
    const char *categoriesKept, *told;
};

class StartupRepairLosing : public ::testing::TestWithParam<LossCase> {};

TEST_P(StartupRepairLosing, NamesWhatWasLost)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    {
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, 200);
        for (int i = 1; i <= 8; ++i)
            db->execute(QString("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Group %1')").arg(i));
        for (int i = 1; i <= 92; ++i)
            db->execute(QString("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (%1, %2)")
                            .arg(i)
                            .arg(i % 8 + 1));
        for (const char *sql :
             {"CREATE TABLE Gifts (Name TEXT, Price INTEGER)", "INSERT INTO Gifts VALUES ('Thimble', 4)"})
            platform::SqlStatement(db->handle(), sql).step();
    }
    QByteArray bytes = readFileBytes(path);
    GetParam().apply(bytes, path);
    writeFileBytes(path, bytes);

    DialogScript script;
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    ASSERT_TRUE(program.start());
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(
        messages[1].text.toStdString(),
        QString("The database has been repaired, but some of its data could not be recovered.  It holds 200 "
                "contacts, %1 and 0 reminders.  %2  The damaged original is kept as %3.bak.")
            .arg(GetParam().categoriesKept, GetParam().told, path)
            .toStdString());
    EXPECT_EQ(messages[1].icon, platform::vbExclamation);
}

INSTANTIATE_TEST_SUITE_P(
    Losses, StartupRepairLosing,
    ::testing::Values(LossCase{"CategoriesPage",
                               [](QByteArray &b, const QString &path) {
                                   damage::garblePage(b, damage::firstPageOf(path, "tblCategoryDesc"));
                               },
                               "0 categories", "The damaged file held at least 8 categories."},
                      LossCase{"CategoryAssignmentsPage",
                               [](QByteArray &b, const QString &path) {
                                   damage::garblePage(b, damage::firstPageOf(path, "tblCategoryID"));
                               },
                               "8 categories", "The damaged file held at least 92 category assignments."},
                      LossCase{
                          "SettingsPage",
                          [](QByteArray &b, const QString &path) {
                              damage::garblePage(b, damage::firstPageOf(path, "tblSettings"));
                          },
                          "8 categories",
                          "The damaged file held at least 16 settings.  The settings COMMSETTINGS, "
                          "RETURNADDRESS1, RETURNADDRESS2, RETURNADDRESSCHOICE, REPORT Envelope Orientation, "
                          "REPORT Envelope Main Address, REPORT Envelope Return Address, VERSION, "
                          "REPORTdefault Labels 1 x 2-5/8 3-up, REPORTdefault Labels 1-1/2 x 4 1-up, "
                          "REPORTdefault Labels 15/16 x 3-1/2 1-up, REPORTdefault Labels 1 x 4 2-up, "
                          "REPORTdefault Envelope Main Address, REPORTdefault Envelope Return Address, "
                          "REPORTdefault Envelope Orientation and REPORTdefault Pocket Report are reset to "
                          "their first values."},
                      LossCase{"OwnTableDefinition",
                               [](QByteArray &b, const QString &) {
                                   const qsizetype at = b.indexOf("CREATE TABLE Gifts (");
                                   ASSERT_GT(at, 0);
                                   b[at + 19] = ')';
                               },
                               "8 categories", "Your table Gifts could not be read and is left out."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StartupRepair, CancelEndsWithoutTouchingTheFile)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    const QByteArray bytes = damageDatabase(path);
    DialogScript script;
    script.answerMessage(platform::vbCancel);
    EXPECT_FALSE(program.start());
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(readFileBytes(path), bytes);
    EXPECT_EQ(StartedProgram::window(), nullptr);
}

TEST(StartupRepair, ARepairThatFailsSaysWhyOnceAndTheFileStaysAsItWas)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    const QByteArray bytes = damageBeyondRepair(path);
    const QStringList files = QDir(program.folder().path()).entryList(QDir::Files);
    DialogScript script;
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    EXPECT_FALSE(program.start());
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].title, "Corrupt Database");
    EXPECT_TRUE(messages[1].text.contains("could not be repaired: its tables cannot be read."))
        << messages[1].text.toStdString();
    EXPECT_TRUE(messages[1].text.endsWith("    Error number: 3049"));
    EXPECT_EQ(messages[1].title, "Error");
    EXPECT_EQ(messages[1].icon, platform::vbCritical);
    EXPECT_EQ(readFileBytes(path), bytes);
    EXPECT_EQ(QDir(program.folder().path()).entryList(QDir::Files), files);
    EXPECT_EQ(StartedProgram::window(), nullptr);
}

TEST(StartupReentry, SetPathSkipsEverythingBeforeTheOpen)
{
    StartedProgram program;
    const QString first = newDatabase(program.folder().filePath("Quiltern.mdb"));
    const QString second = newDatabase(program.folder().filePath("Other.mdb"));
    DialogScript script;
    ASSERT_TRUE(program.start());
    gRecordSource.gWhereClause = " Where  CategoryNumber = 3 ";
    gRecordSource.gListSource = "qryContacts";
    StartedProgram::closeWindow();
    gContactsTable.reset();
    gDb.reset();
    // A command line naming a missing file would end a first start; re-entry never reads it.
    program.setCommandLine(program.folder().filePath("missing.mdb"));
    gDbPath = second;
    ASSERT_EQ(Main(), MainOutcome::MainWindowShown);
    EXPECT_EQ(gDbPath, second);
    EXPECT_EQ(gDb->name(), second);
    EXPECT_EQ(gRecordSource.gListSource, "tblContacts") << "re-entry starts from a clean record source";
    EXPECT_EQ(gRecordSource.gWhereClause, "");
    EXPECT_TRUE(script.shown().empty());
    Q_UNUSED(first);
}

TEST(StartupOpen, WhatIsReadWhileTheWindowIsBuiltServesTheShownWindow)
{
    StartedProgram program;
    const QString path = newDatabase(program.folder().filePath("Quiltern.mdb"));
    {
        auto db = platform::Database::open(path);
        db->execute("INSERT INTO tblContacts (LastName, FirstName) VALUES ('Ames', 'Zoe')");
        db->execute("INSERT INTO tblContacts (LastName, FirstName) VALUES ('Baker', 'Adam')");
        db->execute("INSERT INTO tblSettings (Type, Name) VALUES ('GRIDSORTORDER', 'FirstName')");
    }
    gEditor.gUserField1Size = 1;
    DialogScript script;
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(gDb->name(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(gEditor.gUserField1Size, gDb->tableDef("tblContacts").field("UserField1").size);
    // The contacts table the locate box searches was opened on the second thread; its
    // events and deferred deletions must run on the window's. It follows the stored sort,
    // one of the settings read there too.
    ASSERT_NE(gContactsTable, nullptr);
    EXPECT_EQ(gContactsTable->thread(), QThread::currentThread());
    EXPECT_EQ(gContactsTable->index(), "FirstName");
    gContactsTable->moveFirst();
    EXPECT_EQ(gContactsTable->value("LastName").toString(), "Baker");
    NameList *window = StartedProgram::window();
    ASSERT_NE(window, nullptr);
    auto *data = window->findChild<platform::DataControl *>("Data1");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->database(), gDb.get());
    EXPECT_EQ(data->recordset()->recordCount(), 2);
    EXPECT_EQ(window->findChild<QComboBox *>("cmbSort")->currentText(), "FirstName");
}
