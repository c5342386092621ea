// The reminder windows reached from the running program: the due list at start-up, the
// main window's Remind button and the editor's Reminder button.
#include "mainwindow/MainWindowFixture.h"

#include "editor/DateChecks.h"
#include "editor/GLOBAL.h"
#include "editor/NameEdit.h"
#include "platform/base/Clock.h"
#include "platform/base/DateText.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"
#include "printing/frmPreview.h"
#include "reminders/Remind.h"
#include "support/PrintedPages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <ctime>
#include <sqlite3.h>

namespace {

class ReminderProgramTest : public MainWindowFixture {
  protected:
    ReminderProgramTest()
    {
        platform::setClockForTesting([] { return QDateTime(QDate(2026, 3, 1), QTime(8, 0)); });
    }
    ~ReminderProgramTest() override
    {
        StartedProgram::closeWindow();
        platform::setClockForTesting({});
    }

    StartedProgram program;
    DialogScript script;
    QString path;
};

TEST_F(ReminderProgramTest, DueRemindersShowAtStartUpAndRemoveAdvancesThem)
{
    prepare(3);
    before("INSERT INTO tblSettings (Type, Name) VALUES ('REMINDERSTARTUP', '1')");
    before("INSERT INTO tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, WarnDate, Status, "
           "FrequencyPeriod, FrequencyAmount) VALUES (1, 'Insurance', #3/5/2026#, 10, #2/23/2026#, 'Active', "
           "'Years', 1)");
    bool shown = false;
    script.onModal("CurrentReminders", [this, &shown](QWidget *w) {
        shown = true;
        script.answerMessage(platform::vbYes);
        DialogScript::click(w, "cmdDelete");
        DialogScript::click(w, "cmdExit");
    });
    start();
    EXPECT_TRUE(shown);
    EXPECT_EQ(count("Select Count(*) from tblRemind Where RemindDate=#3/5/2027# And WarnDate=#2/23/2027#"), 1);
}

TEST_F(ReminderProgramTest, AFileWithoutTheDueListOpensAndSaysWhyTheListIsMissing)
{
    prepare(3);
    before("INSERT INTO tblSettings (Type, Name) VALUES ('REMINDERSTARTUP', '1')");
    sqlite3_exec(platform::Database::open(MainWindowFixture::path)->handle(), "DROP TABLE tblCurrentReminders", nullptr, nullptr,
                 nullptr);
    script.answerMessage(platform::vbOK);
    NameList &w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(shown(w).recordCount(), 3);
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("The list of current reminders cannot be built."));
    EXPECT_TRUE(boxes[0].text.contains("tblCurrentReminders"));
}

TEST_F(ReminderProgramTest, RemindButtonKeepsRemindersOfNoContact)
{
    prepare(3);
    NameList &w = start();
    ASSERT_TRUE(w.button("cmdRemind")->isEnabled());
    script.onModal("Remind", [](QWidget *form) {
        DialogScript::setText(form, "txtDescr", "Renew the passport");
        DialogScript::click(form, "cmdSave");
        DialogScript::click(form, "cmdExit");
    });
    w.button("cmdRemind")->click();
    EXPECT_EQ(count("Select Count(*) from tblRemind Where LinkedRecordID=0 And Description='Renew the passport'"), 1);
}

TEST_F(ReminderProgramTest, EditorsReminderButtonStartsAnAnniversaryForTheEditedContact)
{
    prepare(3);
    NameList &w = start();
    const qint64 contact = current(w, "RecordID").toLongLong();
    script.onModal("NameEdit", [this](QWidget *form) {
        auto *editor = static_cast<NameEdit *>(form);
        EXPECT_TRUE(editor->findChild<QPushButton *>("cmdRemind")->isEnabled());
        editor->box("txtDate2")->setText("12/25/1990");
        editor->box("txtDate2_Desc")->setText("Wedding");
        editor->dates().txtDate_LostFocus(2);
        script.onModal("Remind", [](QWidget *remind) {
            DialogScript::click(remind, "cmdSave");
            DialogScript::click(remind, "cmdExit");
        });
        editor->findChild<QPushButton *>("cmdRemind")->click();
        EXPECT_FALSE(gEditor.gRemindFromEditor);
        script.answerMessage(platform::vbYes); // lose the changed date box
        DialogScript::click(form, "cmdCancel");
    });
    w.button("cmdEdit")->click();
    EXPECT_EQ(count(QStringLiteral("Select Count(*) from tblRemind Where LinkedRecordID=%1 And "
                                   "Description='Wedding' And RemindDate=#12/25/2026# And WarningDays=15")
                        .arg(contact)),
              1);
}

// Days whose midnight the clocks of their zone skip.
class SkippedMidnightTest : public ReminderProgramTest,
                            public ::testing::WithParamInterface<std::pair<const char *, QDate>> {
    QByteArray savedZone = qgetenv("TZ");
    void SetUp() override { qputenv("TZ", GetParam().first), tzset(); }
    void TearDown() override { qputenv("TZ", savedZone), tzset(); }
};

TEST_P(SkippedMidnightTest, DayIsShownSavedRemovedAndPrinted)
{
    const QDate day = GetParam().second;
    platform::setClockForTesting([day] { return QDateTime(day, QTime(0, 15)); });
    const QString stored = "'" + day.toString(Qt::ISODate) + "'", shown = platform::shortDateText(day);
    prepare(1);
    before("UPDATE tblContacts SET Prefix='', Date1=" + stored + ", Date1_Desc='Born'");
    before("INSERT INTO tblSettings (Type, Name) VALUES ('REMINDERSTARTUP', '1')");
    before("INSERT INTO tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, WarnDate, Status, "
           "FrequencyPeriod, FrequencyAmount) VALUES (1, 'Week', " +
           stored + ", 0, " + stored + ", 'Active', 'Days', 7)");
    script.onModal("CurrentReminders", [&](QWidget *due) {
        EXPECT_EQ(due->findChild<QTableView *>("DBGrid1")->model()->index(0, 2).data().toString(), shown);
        script.answerMessage(platform::vbYes);
        DialogScript::click(due, "cmdDelete");
        DialogScript::click(due, "cmdExit");
    });
    NameList &w = start();
    script.onModal("NameEdit", [](QWidget *editor) {
        DialogScript::setText(editor, "txtPrefix", "Dr.");
        DialogScript::click(editor, "cmdSave");
    });
    w.button("cmdEdit")->click();
    const QString sameDay = day.toString("#M/d/yyyy#"), weekLater = day.addDays(7).toString("#M/d/yyyy#");
    EXPECT_EQ(count("Select Count(*) from tblRemind Where RemindDate=" + weekLater), 1);
    EXPECT_EQ(count("Select Count(*) from tblContacts Where Prefix='Dr.' And Date1=" + sameDay), 1);
    w.menuItem("PreviewMode")->trigger();
    script.answerMessage(platform::vbOK);
    w.menuItem("DateReportMenu")->trigger();
    const auto lines = testsupport::pageLines(frmPreview::existing()->surface().document(), 1);
    EXPECT_TRUE(lines.back().ends_with(" Born: " + shown.toStdString())) << lines.back();
    frmPreview::existing()->cmdClose->click();
}

INSTANTIATE_TEST_SUITE_P(Zones, SkippedMidnightTest,
                         ::testing::Values(std::pair("America/Santiago", QDate(2024, 9, 8)),
                                           std::pair("Australia/Lord_Howe", QDate(1981, 3, 1)),
                                           std::pair("America/Sao_Paulo", QDate(2018, 11, 4)),
                                           std::pair("UTC", QDate(2024, 9, 8))),
                         [](const auto &zone) {
                             return QByteArray(zone.param.first).replace('/', '_').toStdString();
                         });

} // namespace
