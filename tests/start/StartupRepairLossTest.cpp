#include "helpers/DatabaseState.h"
#include "mainwindow/NameList.h"
#include "platform/base/Clock.h"
#include "platform/db/DamageMark.h"
#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "platform/ui/Form.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgressWindow.h"
#include "support/ContactGenerator.h"
#include "support/DamagedDatabase.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/StartedProgram.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>
#include <span>
#include <sqlcipher/sqlite3.h>

using platform::DialogKind;

namespace {

const QString Password = QStringLiteral("s3cret");

// A file as a user's would be: contacts, categories and assignments to them, reminders and
// the settings it ships with; encrypted (pages of 1,024 bytes) when asked.
void makeFile(const QString &path, bool encrypted)
{
    platform::createDatabaseFromSchema(path);
    {
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, 300);
        db->beginTrans();
        for (int i = 1; i <= 12; ++i)
            db->execute(QString("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Group %1')").arg(i));
        for (int i = 1; i <= 40; ++i)
            db->execute(
                QString("INSERT INTO tblRemind (LinkedRecordID, Description, Status) VALUES (%1, 'Call', 'Active')")
                    .arg(i * 7));
        db->execute("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, RecordID Mod 12 + 1 FROM "
                    "tblContacts WHERE RecordID Mod 5 < 2");
        db->commitTrans();
    }
    if (encrypted)
        platform::Database::open(path, true, false, ";pwd=")->newPassword(QString(), Password);
}

// That file with the first page of `table` garbled.
void makeFileDamagedIn(const QString &path, const char *table, bool encrypted = false)
{
    makeFile(path, encrypted);
    QByteArray bytes = readFileBytes(path);
    damage::garblePage(bytes, damage::firstPageOf(path, table, encrypted ? Password : QString()), 11,
                       encrypted ? damage::EncryptedPageSize : damage::PageSize);
    writeFileBytes(path, bytes);
}

// Starts on a damaged file and OKs the offer to repair and the box after it: that box.
void startRepaired(StartedProgram &program, DialogScript &script, platform::DialogRequest &box)
{
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    ASSERT_TRUE(program.start());
    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), 2u);
    box = messages[1];
}

struct Named {
    const char *table, *inTheBox;
};
// The last is a table of the user's, without indexes, which only some files have.
const Named Tables[] = {
    {"tblContacts", "contacts"}, {"tblCategoryDesc", "categories"}, {"tblCategoryID", "category assignments"},
    {"tblRemind", "reminders"},  {"tblSettings", "settings"},       {"Visits", "rows of your table Visits"}};
const std::span<const Named> OwnTables = std::span(Tables).first(5);

// Each table's rows, field by field, read straight from the file.
QList<QStringList> rowsOf(platform::Database &db, std::span<const Named> tables)
{
    QList<QStringList> rows;
    for (const Named &table : tables) {
        QStringList &of = rows.emplace_back();
        platform::SqlStatement all(db.handle(), QString("SELECT * FROM %1").arg(table.table));
        while (all.step()) {
            QStringList fields;
            for (int i = 0; i < sqlite3_column_count(all.handle()); ++i)
                fields.append(all.isNull(i) ? QString("<null>") : all.text(i));
            of.append(fields.join('|'));
        }
    }
    return rows;
}

// The tables with a row `before` that is not `after`.
QList<Named> shortOf(const QList<QStringList> &before, QList<QStringList> after,
                     std::span<const Named> tables)
{
    QList<Named> short_;
    for (int t = 0; t < int(tables.size()); ++t)
        if (std::any_of(before[t].begin(), before[t].end(),
                        [&](const QString &row) { return !after[t].removeOne(row); }))
            short_.append(tables[t]);
    return short_;
}

// A file cut at a page boundary or part way through a page, plain or encrypted.
struct Cut {
    const char *name;
    bool encrypted;
    qint64 (*at)(qint64 size, int pageSize);
};

class StartupRepairOfCut : public ::testing::TestWithParam<Cut> {};

// Whatever the cut, the exclamation box tells it, with the pages left of those the header
// counts, and names each table that lost rows (checked against the undamaged file).
TEST_P(StartupRepairOfCut, TellsTheCutAndNamesEachTableThatLostRows)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    const bool encrypted = GetParam().encrypted;
    makeFile(path, encrypted);
    const QList<QStringList> before =
        rowsOf(*(encrypted ? platform::Database::open(path, true, false, ";pwd=" + Password)
                           : platform::Database::open(path)),
               OwnTables);
    const int pageSize = encrypted ? damage::EncryptedPageSize : damage::PageSize;
    QByteArray bytes = readFileBytes(path);
    const qint64 pages = bytes.size() / pageSize;
    const qint64 cut = GetParam().at(bytes.size(), pageSize);
    ASSERT_LT(cut, bytes.size());
    bytes.truncate(cut);
    writeFileBytes(path, bytes);

    DialogScript script;
    if (encrypted)
        script.answerInput(Password);
    platform::DialogRequest box;
    ASSERT_NO_FATAL_FAILURE(startRepaired(program, script, box));
    const QString text = box.text;
    EXPECT_EQ(box.title, "Database Repaired");
    EXPECT_EQ(box.icon, platform::vbExclamation) << text.toStdString();
    const QString told = QString("  The file was cut short: it ends after %1 of its %2 pages.")
                             .arg(cut / pageSize)
                             .arg(pages);
    ASSERT_TRUE(text.contains(told)) << text.toStdString();
    // What the box says was lost, after what the file holds.
    const QString lost = text.mid(text.indexOf(told));

    const QList<Named> short_ = shortOf(before, rowsOf(*gDb, OwnTables), OwnTables);
    for (const Named &table : short_)
        EXPECT_TRUE(lost.contains(table.inTheBox)) << table.table << ": " << text.toStdString();
    EXPECT_FALSE(short_.isEmpty()) << "the cut takes rows with it";
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, StartupRepairOfCut,
    ::testing::Values(
        Cut{"PlainAtAPage", false, [](qint64 size, int page) { return size * 85 / 100 / page * page; }},
        Cut{"PlainPartWayThroughAPage", false, [](qint64 size, int page) { return size * 85 / 100 / page * page + 123; }},
        Cut{"PlainAfter48Pages", false, [](qint64, int page) { return qint64(48) * page; }},
        Cut{"EncryptedAtAPage", true, [](qint64 size, int page) { return size * 85 / 100 / page * page; }},
        Cut{"EncryptedPartWayThroughAPage", true,
            [](qint64 size, int page) { return size * 85 / 100 / page * page + 123; }},
        Cut{"EncryptedAfter49Pages", true, [](qint64, int page) { return qint64(49) * page; }}),
    [](const auto &info) { return std::string(info.param.name); });

// Rows the tables no longer reach are read in groups of pages; a page among them that
// cannot be read costs its own rows only.
TEST(StartupRepairLoss, AnUnreadablePageAmongThoseSearchedCostsItsOwnRowsOnly)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    makeFile(path, false);
    QByteArray bytes = readFileBytes(path);
    const qint64 root = damage::firstPageOf(path, "tblContacts");
    const qint64 leaf = damage::firstChildOf(bytes, root);
    damage::garblePage(bytes, root);
    // The leaf's rows stay, but its page no longer reads as one.
    const int rowsOnLeaf = (uchar(bytes[(leaf - 1) * damage::PageSize + 3]) << 8) |
                           uchar(bytes[(leaf - 1) * damage::PageSize + 4]);
    bytes[(leaf - 1) * damage::PageSize + 3] = char(0xff);
    writeFileBytes(path, bytes);

    DialogScript script;
    platform::DialogRequest box;
    ASSERT_NO_FATAL_FAILURE(startRepaired(program, script, box));
    const qint64 kept = gDb->openRecordset("Select Count(*) From tblContacts")->value(0).toLongLong();
    EXPECT_GT(rowsOnLeaf, 1);
    EXPECT_EQ(kept, 300 - rowsOnLeaf) << "only the rows of the one page that cannot be read are lost";
    EXPECT_TRUE(box.text.contains("  The damaged file held at least 300 contacts."))
        << box.text.toStdString();
    EXPECT_EQ(box.icon, platform::vbExclamation);
}

// A contact whose long notes lost a page of their own cannot be copied: its table is named,
// though every page of the table itself reads.
TEST(StartupRepairLoss, ARowWhoseLongTextLostAPageIsCountedAsLost)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    platform::createDatabaseFromSchema(path);
    {
        auto db = platform::Database::open(path);
        ContactGenerator::insert(*db, 50);
        db->execute("UPDATE tblContacts SET Notes = '" + QString(10000, 'n') + "MIDDLEOFTHENOTES" +
                    QString(10000, 'm') + "' WHERE RecordID = 7");
    }
    // A page in the middle of the notes: the pages after it are found through it.
    QByteArray bytes = readFileBytes(path);
    const qsizetype middle = bytes.indexOf("MIDDLEOFTHENOTES");
    ASSERT_GT(middle, 0);
    damage::garblePage(bytes, middle / damage::PageSize + 1);
    // And the file's first bytes, which the start sees as damage.
    for (int i = 0; i < 40; ++i)
        bytes[i] = char((i * 53 + 7) & 0xff);
    writeFileBytes(path, bytes);

    DialogScript script;
    platform::DialogRequest box;
    ASSERT_NO_FATAL_FAILURE(startRepaired(program, script, box));
    EXPECT_EQ(box.text.toStdString(),
              ("The database has been repaired, but some of its data could not be recovered.  It holds 49 "
               "contacts, 0 categories and 0 reminders.  The damaged file held at least 50 contacts.  The "
               "damaged original is kept as " +
               path + ".bak.")
                  .toStdString());
}

// A repair whose file lost its settings rows: the rows a new database has come back with
// their first values, and every window that reads them opens as in a new database.
TEST(StartupRepairLoss, SettingsTheRepairLostArePutBackAsANewDatabaseHasThem)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    makeFileDamagedIn(path, "tblSettings");

    DialogScript script;
    platform::DialogRequest box;
    ASSERT_NO_FATAL_FAILURE(startRepaired(program, script, box));
    EXPECT_EQ(gDb->openRecordset("Select Name From tblSettings Where Type='RETURNADDRESSCHOICE'")->value(0),
              "3");

    // Each opens without a word of a missing row; closed, it changes nothing.
    const std::pair<const char *, const char *> windows[] = {{"ReturnAddress", "ReturnAddressMenu"},
                                                             {"ReportOptionsForm", "ReportOptionsMenu"},
                                                             {"CommSettingsForm", "ModemPortMenu"}};
    for (const auto &[name, command] : windows) {
        bool opened = false;
        script.onModal(name,
                       [&](QWidget *form) { opened = true, static_cast<platform::Form *>(form)->unload(); });
        StartedProgram::window()->dispatch(command);
        EXPECT_TRUE(opened) << name;
    }
    EXPECT_EQ(script.shown(DialogKind::Message).size(), 2u);
}

// A row misread on its table's own page (its key runs on into its fields) and a page of each
// of the table's indexes garbled: nothing vouches for that table's rows any more, so the box
// names it unless every row of it is kept.
class StartupRepairOfMisreadRow : public ::testing::TestWithParam<Named> {};

TEST_P(StartupRepairOfMisreadRow, NamesEachTableThatLostRows)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    makeFile(path, false);
    QList<QStringList> before;
    {
        auto db = platform::Database::open(path);
        // A table of the user's without indexes, and settings the user changed: one put back
        // with its first value is not the one lost.
        for (const char *sql : {"CREATE TABLE Visits (Day TEXT, Contact INTEGER)",
                                "INSERT INTO Visits SELECT '2024-05-' || (RecordID % 28 + 1), RecordID FROM "
                                "tblContacts WHERE RecordID <= 60",
                                "UPDATE tblSettings SET Setting8 = 'changed'"})
            platform::SqlStatement(db->handle(), sql).step();
        before = rowsOf(*db, Tables);
    }
    QByteArray bytes = readFileBytes(path);
    damage::misreadKey(bytes, damage::firstPageOf(path, GetParam().table));
    damage::garbleIndexesOf(bytes, path, GetParam().table);
    writeFileBytes(path, bytes);

    DialogScript script;
    platform::DialogRequest box;
    ASSERT_NO_FATAL_FAILURE(startRepaired(program, script, box));
    EXPECT_EQ(box.title, "Database Repaired");
    // What the box says was lost, after what the file holds and before where the original is.
    const QString text = box.text;
    const QString lost = text.section(" reminders.", 1).section("  The damaged original", 0, 0);
    for (const Named &table : shortOf(before, rowsOf(*gDb, Tables), Tables))
        EXPECT_TRUE(lost.contains(table.inTheBox)) << table.table << ": " << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tables, StartupRepairOfMisreadRow, ::testing::ValuesIn(Tables),
                         [](const auto &info) { return std::string(info.param.table); });

// The repair's window, through the test hook: its four steps in order, a bar that never
// goes back and ends full, and no Cancel taken.
TEST(StartupRepairProgress, StepsThroughTheRepairWithABar)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    makeFileDamagedIn(path, "tblContacts", true);

    std::vector<platform::ProgressWindow::Step> steps;
    platform::ProgressWindow::setHookForTesting([&](const platform::ProgressWindow::Step &step) {
        steps.push_back(step);
        return true; // Cancel, which a repair does not offer
    });
    DialogScript script;
    script.answerInput(Password).answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    const bool started = program.start();
    platform::ProgressWindow::setHookForTesting({});
    ASSERT_TRUE(started);
    EXPECT_EQ(script.shown(DialogKind::Message)[1].icon, platform::vbInformation) << "every contact found";

    QStringList texts;
    int bar = 0;
    for (const auto &step : steps) {
        EXPECT_EQ(step.title, "Repairing Database");
        EXPECT_EQ(step.total, 100);
        EXPECT_GE(step.done, bar) << step.text.toStdString();
        bar = step.done;
        if (texts.isEmpty() || texts.last() != step.text)
            texts.append(step.text);
    }
    EXPECT_EQ(texts, QStringList({"Step 1 of 4: Reading the damaged file", "Step 2 of 4: Copying its rows",
                                  "Step 3 of 4: Looking for rows on its other pages",
                                  "Step 4 of 4: Checking the repaired file"}));
    EXPECT_GT(steps.size(), 20u) << "told while it works, not only between steps";
    EXPECT_GE(bar, 85);
}

// The real window, offscreen: it shows within the repair's first second, with the step
// under way and its bar, and without a Cancel button.
TEST(StartupRepairProgress, TheWindowShowsWithinTheFirstSecond)
{
    StartedProgram program;
    const QString path = program.folder().filePath("Quiltern.mdb");
    makeFileDamagedIn(path, "tblContacts");

    // Each look at the clock is 20 ms on; the window is looked for at each.
    QDateTime time(QDate(2026, 3, 1), QTime(8, 0));
    QDateTime firstShown;
    QStringList labels;
    bool cancelOffered = false;
    platform::setClockForTesting([&] {
        time = time.addMSecs(20);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<QProgressDialog *>(top);
            if (!window || window->objectName() != "ProgressWindow" || !window->isVisible())
                continue;
            if (firstShown.isNull())
                firstShown = time;
            if (labels.isEmpty() || labels.last() != window->labelText())
                labels.append(window->labelText());
            cancelOffered = cancelOffered || window->findChild<QPushButton *>() != nullptr;
        }
        return time;
    });
    DialogScript script;
    script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
    const QDateTime repairAsked = time;
    const bool started = program.start();
    platform::setClockForTesting({});
    ASSERT_TRUE(started);
    ASSERT_FALSE(firstShown.isNull()) << "the window showed";
    EXPECT_LE(repairAsked.msecsTo(firstShown), 1000);
    EXPECT_TRUE(labels.contains("Step 2 of 4: Copying its rows")) << labels.join(" | ").toStdString();
    EXPECT_TRUE(std::is_sorted(labels.begin(), labels.end())) << "steps in order, none again";
    EXPECT_FALSE(cancelOffered);
}

// Damage that the open does not see (a file past the size it checks) met by a command while
// the program runs: the repair is offered once the command is over, as at start.
const QString
    Offer("Database may be corrupted.  Press the OK button if you want Quiltern to attempt to repair it.");

// What a command meets, and the page it alone reads: the first page of a table or index,
// or the one holding a text.
struct Command {
    const char *name, *root, *text;
    void (*run)(DialogScript &script, NameList &window);
};

const Command Commands[] = {
    // The notes of the contact that sorts last, read by nothing before a search of every field.
    {"Find", nullptr, "MIDDLEOFTHENOTES",
     [](DialogScript &script, NameList &window) {
         script.answerInput("Quaint").answerMessage(platform::vbOK);
         window.menuItem("FindEditMenu")->trigger();
     }},
    {"CategorySelection", "tblCategoryDesc", nullptr,
     [](DialogScript &script, NameList &window) {
         script.onModal("CategoryForm", [](QWidget *form) {
             // The list's rows are read as they are drawn.
             EXPECT_EQ(form->findChild<QTableView *>()->model()->index(0, 0).data().toString(), "#Deleted");
             DialogScript::click(form, "cmdExit");
         });
         window.button("cmdCategory")->click();
     }},
    // A save stamps the date of the change, whose index nothing else reads.
    {"Save", "tblContacts.DateUpdated", nullptr,
     [](DialogScript &script, NameList &window) {
         script.onModal("NameEdit", [](QWidget *editor) {
             DialogScript::setText(editor, "txtFirst_City", "Wells");
             DialogScript::click(editor, "cmdSave");
             DialogScript::click(editor, "cmdCancel");
         });
         script.answerMessage(platform::vbOK).answerMessage(platform::vbYes);
         window.button("cmdEdit")->click();
     }},
};

class DamageMetWhileRunning : public ::testing::TestWithParam<std::tuple<Command, bool>> {
  protected:
    void SetUp() override
    {
        limitBefore = platform::DamageMark::setOpenCheckLimit(0);
        path = program.folder().filePath("Quiltern.mdb");
        makeFile(path, false);
        platform::Database::open(path)->execute(
            "INSERT INTO tblContacts (LastName, Notes) VALUES ('Zzyzx', '" + QString(6000, 'n') +
            "MIDDLEOFTHENOTES" + QString(6000, 'm') + "')");
        const Command &command = std::get<0>(GetParam());
        QByteArray bytes = readFileBytes(path);
        qint64 page = bytes.indexOf(command.text ? command.text : "") / damage::PageSize + 1;
        if (command.root) {
            auto db = platform::Database::open(path);
            platform::SqlStatement root(db->handle(), "SELECT rootpage FROM sqlite_master WHERE name = ?");
            root.bind(1, QString(command.root));
            page = root.step() ? root.int64(0) : 0;
        }
        ASSERT_GT(page, 1);
        damage::garblePage(bytes, page);
        writeFileBytes(path, bytes);
        program.setCommandLine(path);
    }
    void TearDown() override { platform::DamageMark::setOpenCheckLimit(limitBefore); }

    StartedProgram program;
    QString path;
    qint64 limitBefore = 0;
};

TEST_P(DamageMetWhileRunning, IsOfferedForRepairOnceTheCommandIsOver)
{
    const auto [command, accepted] = GetParam();
    {
        DialogScript script;
        ASSERT_TRUE(program.start());
        EXPECT_TRUE(script.shown().empty()) << "the open does not look at the damaged page";
    }
    DialogScript script;
    command.run(script, *StartedProgram::window());
    // The command told its own failure, if it has one to tell; the offer comes after it.
    const std::size_t byTheCommand = script.shown(DialogKind::Message).size();
    EXPECT_TRUE(platform::DamageMark::known(path));
    script.answerMessage(accepted ? platform::vbOK : platform::vbCancel);
    if (accepted)
        script.answerMessage(platform::vbOK);
    QCoreApplication::processEvents();

    const auto messages = script.shown(DialogKind::Message);
    ASSERT_EQ(messages.size(), byTheCommand + (accepted ? 2 : 1));
    EXPECT_EQ(messages[byTheCommand].text, Offer);
    EXPECT_EQ(messages[byTheCommand].title, "Corrupt Database");
    ASSERT_NE(StartedProgram::window(), nullptr) << "the program goes on either way";
    ASSERT_TRUE(gDb && gDb->isOpen());
    EXPECT_EQ(platform::DamageMark::known(path), !accepted);
    if (accepted) {
        EXPECT_EQ(messages.back().title, "Database Repaired");
        EXPECT_GE(gDb->openRecordset("Select Count(*) From tblContacts")->value(0).toLongLong(), 190);
        return;
    }
    // Declined: the next start offers the repair again before anything is read.
    StartedProgram::closeWindow();
    gDb.reset();
    script.answerMessage(platform::vbCancel);
    EXPECT_FALSE(program.start());
    EXPECT_EQ(script.shown(DialogKind::Message).back().text, Offer);
}

// Met by a command in a book that cannot be written where it is, the damage is told with how
// to repair the book, which stays open read-only, neither marked nor changed.
class DamagedBookThatCannotBeWritten : public DamageMetWhileRunning {};

TEST_P(DamagedBookThatCannotBeWritten, IsToldHowToRepairItAndStaysOpenReadOnly)
{
    const QByteArray before = readFileBytes(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    DialogScript script;
    ASSERT_TRUE(program.start());
    std::get<0>(GetParam()).run(script, *StartedProgram::window());
    script.answerMessage(platform::vbOK);
    QCoreApplication::processEvents();
    const QString told = script.shown(DialogKind::Message).back().text;
    EXPECT_TRUE(told.contains("copy '" + path + "' into a folder you can write")) << told.toStdString();
    EXPECT_TRUE(told.endsWith("Until then it stays open read-only, as it is.")) << told.toStdString();
    EXPECT_TRUE(StartedProgram::window() && gDb->readOnly());
    EXPECT_EQ(readFileBytes(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + ".damaged"));
}

INSTANTIATE_TEST_SUITE_P(Commands, DamageMetWhileRunning,
                         ::testing::Combine(::testing::ValuesIn(Commands), ::testing::Bool()),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_Repaired" : "_Declined");
                         });

INSTANTIATE_TEST_SUITE_P(Find, DamagedBookThatCannotBeWritten,
                         ::testing::Values(std::make_tuple(Commands[0], false)));

} // namespace
