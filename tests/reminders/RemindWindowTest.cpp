#include "ReminderFixture.h"

#include "editor/GLOBAL.h"
#include "mainwindow/NameList.h"
#include "platform/base/DateText.h"
#include "platform/db/DataControl.h"
#include "platform/ui/MsgBox.h"
#include "reminders/Remind.h"
#include "start/modMain.h"
#include "support/DialogScript.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>
#include <sqlcipher/sqlite3.h>

namespace {

class RemindWindowTest : public ReminderFixture {
  protected:
    RemindWindowTest() { gMainWindow.gReminderStartup = 0; }

    // Opens the window as the main list or the editor does and runs `action` on it while it
    // is shown; the action closes it, or the script does.
    void run(std::function<void(Remind &)> action, const std::optional<EditedContact> &contact = std::nullopt)
    {
        script.onModal("Remind", [action](QWidget *w) { action(*static_cast<Remind *>(w)); });
        Remind::open(db(), contact);
    }
    static bool adding(Remind &w)
    {
        return w.DBGrid1->isHidden() && !w.cmdAdd->isEnabled() && !w.cmdDelete->isEnabled() &&
               !w.cmdViewCurrent->isEnabled() && !w.cmdExit->isEnabled() && w.cmdSave->isEnabled() &&
               w.cmdCancel->isEnabled();
    }
    static bool browsing(Remind &w)
    {
        return !w.DBGrid1->isHidden() && w.DBGrid1->isEnabled() && w.cmdAdd->isEnabled() &&
               w.cmdDelete->isEnabled() && w.cmdViewCurrent->isEnabled() && w.cmdExit->isEnabled() &&
               w.cmdSave->isEnabled() && w.cmdCancel->isEnabled();
    }

    DialogScript script;
};

TEST_F(RemindWindowTest, OpeningWithNoRemindersStartsANewOneAtOnce)
{
    run([](Remind &w) {
        EXPECT_TRUE(adding(w));
        EXPECT_EQ(w.cmbFreqPeriod->currentText(), "One time");
        EXPECT_EQ(w.txtRemindDate->text(), "3/1/2026");
        EXPECT_EQ(w.txtWarningDays->text(), "0");
        EXPECT_EQ(w.cmbStatus->currentText(), "Active");
        EXPECT_TRUE(w.txtFreqAmt->isHidden());
        EXPECT_EQ(w.lblTodaysDate->text(), "Today's date is 3/1/2026");
        w.txtDescr->setText("Dentist");
        w.txtRemindDate->setText("3/20/2026");
        w.txtWarningDays->setText("5");
        w.cmdSave->click();
        EXPECT_TRUE(browsing(w));
        w.cmdExit->click();
    });
    auto rs = db().openRecordset("tblRemind");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("Description").toString(), "Dentist");
    EXPECT_EQ(rs->value("RemindDate").toDate(), QDate(2026, 3, 20));
    EXPECT_EQ(rs->value("WarnDate").toDate(), QDate(2026, 3, 15));
    EXPECT_EQ(rs->value("LinkedRecordID").toInt(), 0);
    EXPECT_EQ(rs->value("Status").toString(), "Active");
    EXPECT_EQ(rs->value("FrequencyPeriod").toString(), "One time");
}


// The messages of SaveEdits, in the order its checks run: each case breaks one rule (and,
// where the order matters, a later one too) and names the message and the box at fault.
struct SaveCase {
    const char *name;
    const char *period;
    const char *amount;
    const char *description;
    const char *date;
    const char *warningDays;
    const char *text;  // empty: the save goes through
    const char *title;
    const char *focus;
};

class SaveEditsTest : public RemindWindowTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveEditsTest, TellsTheFirstFaultAndFocusesItsBox)
{
    const SaveCase &c = GetParam();
    run([this, &c](Remind &w) {
        if (*c.text)
            script.answerMessage(platform::vbOK);
        w.txtDescr->setText(c.description);
        w.txtRemindDate->setText(c.date);
        w.txtWarningDays->setText(c.warningDays);
        w.cmbFreqPeriod->setCurrentText(c.period);
        w.txtFreqAmt->setText(c.amount);
        const bool saved = w.SaveEdits();
        EXPECT_EQ(saved, !*c.text);
        if (*c.text) {
            EXPECT_EQ(w.focusWidget() ? w.focusWidget()->objectName() : QString(), c.focus);
        }
        w.cmdCancel->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    if (*c.text) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].title, c.title);
    } else {
        EXPECT_TRUE(boxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SaveEditsTest,
    ::testing::Values(
        SaveCase{"ok", "One time", "", "Dentist", "3/20/2026", "0", "", "", ""},
        SaveCase{"blank amount one time", "One time", " ", "Dentist", "3/20/2026", "0", "", "", ""},
        SaveCase{"text amount", "Days", "x", "", "", "x", "Number of Days between warnings must be numeric",
                 "Invalid number", "txtFreqAmt"},
        SaveCase{"blank amount recurring", "Months", "", "", "", "",
                 "Number of Months between warnings must be greater than zero.", "Invalid number",
                 "txtFreqAmt"},
        SaveCase{"negative amount", "Years", "-1", "Dentist", "3/20/2026", "0",
                 "Number of Years between warnings must be greater than zero.", "Invalid number",
                 "txtFreqAmt"},
        SaveCase{"fraction amount", "Months", "0.4", "", "", "",
                 "Number of Months between warnings must be a whole number.", "Invalid number", "txtFreqAmt"},
        SaveCase{"blank description", "Days", "2", "", "nonsense", "x", "Description cannot be blank.",
                 "Invalid Description", "txtDescr"},
        SaveCase{"bad date", "Days", "2", "Dentist", "2/30/2026", "x",
                 "You must enter a valid date before saving this reminder", "Invalid Date", "txtRemindDate"},
        SaveCase{"blank warning days", "Days", "2", "Dentist", "3/20/2026", " ", "", "", ""},
        SaveCase{"text warning days", "Days", "2", "Dentist", "3/20/2026", "soon",
                 "Warning days must be a whole number.", "Invalid number", "txtWarningDays"},
        SaveCase{"fraction warning days", "Days", "2", "Dentist", "3/20/2026", "1.5",
                 "Warning days must be a whole number.", "Invalid number", "txtWarningDays"},
        SaveCase{"huge warning days", "Days", "2", "Dentist", "3/20/2026", "2147483648",
                 "Warning days is too large a number.", "Invalid number", "txtWarningDays"},
        // Every date the reminder would hold, now and one period on, lies in the years 100 to 9999.
        SaveCase{"date too early", "One time", "0", "Dentist", "1/1/0001", "7",
                 "You must enter a date in the years 100 to 9999 before saving this reminder", "Invalid Date",
                 "txtRemindDate"},
        SaveCase{"warning date too early", "One time", "0", "Dentist", "1/5/0100", "7",
                 "Warning days must leave the warning date in the years 100 to 9999.", "Invalid number",
                 "txtWarningDays"},
        SaveCase{"huge years amount", "Years", "2000000000", "Dentist", "1/31/2020", "0",
                 "Number of Years between warnings must leave the next date in the years 100 to 9999.",
                 "Invalid number", "txtFreqAmt"},
        SaveCase{"last storable dates", "Years", "1", "Dentist", "12/31/9998", "3615534", "", "", ""}),
    [](const auto &info) {
        QString n = QString::fromLatin1(info.param.name);
        n.replace(' ', '_');
        return n.toStdString();
    });

TEST_F(RemindWindowTest, BlankWarningDaysAreSavedAsNone)
{
    run([](Remind &w) {
        w.txtDescr->setText("Dentist");
        w.txtRemindDate->setText("3/20/2026");
        w.txtWarningDays->setText("");
        w.cmdSave->click();
        w.cmdExit->click();
    });
    auto rs = db().openRecordset("tblRemind");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("WarningDays").toInt(), 0);
    EXPECT_EQ(rs->value("WarnDate").toDate(), QDate(2026, 3, 20));
}

struct PrefillCase {
    QDate today;
    const char *dateBox;
    QDate expected;
};

class EditorPrefillTest : public RemindWindowTest, public ::testing::WithParamInterface<PrefillCase> {};

TEST_P(EditorPrefillTest, StartsAnAnniversaryOfTheLastDateBox)
{
    const PrefillCase &c = GetParam();
    setToday(c.today);
    const qint64 contact = addContact("Ada", "Byron", "Analytical");
    EditedContact edited{contact, "Ada", "", "Byron", "Analytical", c.dateBox, "Birthday"};
    run(
        [&](Remind &w) {
            EXPECT_TRUE(adding(w));
            EXPECT_EQ(platform::parseDateText(w.txtRemindDate->text()).date(), c.expected);
            EXPECT_EQ(w.txtDescr->text(), "Birthday");
            EXPECT_EQ(w.txtWarningDays->text(), "15");
            EXPECT_EQ(w.cmbFreqPeriod->currentText(), "Years");
            EXPECT_EQ(w.txtFreqAmt->text(), "1");
            EXPECT_FALSE(w.txtFreqAmt->isHidden());
            EXPECT_EQ(w.lblFreqAmt->text(), "Number of Years between warnings:");
            EXPECT_EQ(w.lblName->text(), "Ada  Byron");
            EXPECT_EQ(w.lblOrganization->text(), "Analytical");
            w.cmdSave->click();
            w.cmdExit->click();
        },
        edited);
    auto rs = db().openRecordset("tblRemind");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("LinkedRecordID").toLongLong(), contact);
    EXPECT_EQ(rs->value("RemindDate").toDate(), c.expected);
    EXPECT_EQ(rs->value("WarnDate").toDate(), c.expected.addDays(-15));
    EXPECT_EQ(rs->value("FrequencyAmount").toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    BeforeOnAfter, EditorPrefillTest,
    ::testing::Values(PrefillCase{QDate(2026, 12, 24), "12/25/1980", QDate(2026, 12, 25)},
                      PrefillCase{QDate(2026, 12, 25), "12/25/1980", QDate(2026, 12, 25)},
                      PrefillCase{QDate(2026, 12, 26), "12/25/1980", QDate(2027, 12, 25)},
                      PrefillCase{QDate(2026, 1, 2), "2/29/1984", QDate(2026, 3, 1)},
                      PrefillCase{QDate(2026, 1, 2), "1984-02-29", QDate(2026, 3, 1)}));

TEST_F(RemindWindowTest, EditorWithoutADateStillPrefillsTheYearlyDefaults)
{
    const qint64 contact = addContact("Ada", "Byron");
    run(
        [](Remind &w) {
            EXPECT_EQ(w.txtRemindDate->text(), "3/1/2026");
            EXPECT_TRUE(w.txtDescr->text().isEmpty());
            EXPECT_EQ(w.txtWarningDays->text(), "15");
            EXPECT_EQ(w.cmbFreqPeriod->currentText(), "Years");
            EXPECT_EQ(w.txtFreqAmt->text(), "1");
            w.cmdCancel->click();
        },
        EditedContact{contact, "Ada", "", "Byron", "", "", ""});
    EXPECT_EQ(db().openRecordset("tblRemind")->recordCount(), 0) << "Cancel in editor mode drops the new reminder";
}

TEST_F(RemindWindowTest, AmountMessageKeepsTheColonOfTheEditorsLabelOnly)
{
    const qint64 contact = addContact("Ada", "Byron");
    run(
        [this](Remind &w) {
            script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
            w.txtDescr->setText("Birthday");
            w.txtFreqAmt->setText("");
            w.cmdSave->click();
            w.cmbFreqPeriod->setCurrentText("Days");
            w.txtFreqAmt->setText("0");
            w.cmdSave->click();
            w.cmdCancel->click();
        },
        EditedContact{contact, "Ada", "", "Byron", "", "", ""});
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Number of Years between warnings: must be greater than zero.");
    EXPECT_EQ(boxes[1].text, "Number of Days between warnings must be greater than zero.");
}

TEST_F(RemindWindowTest, AddFromTheEditorLinksTheEditedContactAndLeavesTheEditorsKey)
{
    const qint64 other = addContact("Grace", "Hopper");
    const qint64 edited = addContact("Ada", "Byron");
    addReminder("Grace's birthday", QDate(2026, 12, 9), 0, "Years", 1, "Active", other);
    gEditor.gLastSavedRecordID = edited;
    run(
        [](Remind &w) {
            w.txtDescr->setText("First");
            w.cmdSave->click();
            // Choosing the other contact's reminder copies its link into the boxes.
            w.Data1->recordset()->findFirst("Description='Grace''s birthday'");
            EXPECT_EQ(w.lblName->text(), "Grace  Hopper");
            w.cmdAdd->click();
            w.txtDescr->setText("Second");
            w.cmdSave->click();
            w.cmdExit->click();
        },
        EditedContact{edited, "Ada", "", "Byron", "", "", ""});
    EXPECT_EQ(count(QStringLiteral("Select Count(*) from tblRemind Where LinkedRecordID=%1").arg(edited)), 2);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) from tblRemind Where LinkedRecordID=%1").arg(other)), 1);
    EXPECT_EQ(gEditor.gLastSavedRecordID, edited);
}

TEST_F(RemindWindowTest, SaveMakesTheSavedReminderCurrent)
{
    addReminder("Alpha", QDate(2026, 1, 1));
    addReminder("Omega", QDate(2026, 9, 1));
    run([this](Remind &w) {
        EXPECT_TRUE(browsing(w));
        EXPECT_EQ(w.txtDescr->text(), "Alpha");
        w.cmdAdd->click();
        w.txtDescr->setText("Middle");
        w.txtRemindDate->setText("5/1/2026");
        w.cmdSave->click();
        EXPECT_EQ(w.Data1->recordset()->value("Description").toString(), "Middle");
        EXPECT_EQ(w.Data1->recordset()->value("RecordID").toLongLong(), w.lastSavedReminderID());
        EXPECT_EQ(w.DBGrid1->currentIndex().row(), 1);
        w.cmdExit->click();
        EXPECT_EQ(count("Select Count(*) from tblRemind"), 3);
    });
}

TEST_F(RemindWindowTest, EditingAReminderRewritesItsWarnDate)
{
    const QString notes = QString::fromUtf16(u"call\r\nat\u00a09\u2028sharp\n");
    const qint64 id = addReminder("Alpha", QDate(2026, 4, 10), 0, "Days", 3, "Active", 0, notes);
    run([](Remind &w) {
        EXPECT_FALSE(w.txtFreqAmt->isHidden());
        EXPECT_EQ(w.lblFreqAmt->text(), "Number of Days between warnings");
        EXPECT_EQ(w.txtFreqAmt->text(), "3");
        w.txtWarningDays->setText("10");
        w.cmdSave->click();
        w.cmdExit->click();
    });
    EXPECT_EQ(dateOf(id, "WarnDate"), QDate(2026, 3, 31));
    EXPECT_EQ(reminder(id)->value("Notes").toString(), notes) << "the notes nobody typed in stay as stored";
    EXPECT_EQ(count("Select Count(*) from tblRemind"), 1);
}

TEST_F(RemindWindowTest, DeletingTheOnlyReminderStartsANewOne)
{
    addReminder("Alpha", QDate(2026, 1, 1));
    run([this](Remind &w) {
        script.answerMessage(platform::vbYes);
        w.cmdDelete->click();
        EXPECT_TRUE(adding(w));
        EXPECT_EQ(count("Select Count(*) from tblRemind"), 0);
        w.cmdCancel->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Are you sure you want to delete the displayed reminder?");
    EXPECT_EQ(boxes[0].defaultButton, 2);
}

TEST_F(RemindWindowTest, DeletingMovesToThePreviousRowOrTheNextAtTheTop)
{
    addReminder("A", QDate(2026, 1, 1));
    addReminder("B", QDate(2026, 2, 1));
    addReminder("C", QDate(2026, 3, 1));
    run([this](Remind &w) {
        script.answerMessage(platform::vbYes).answerMessage(platform::vbYes).answerMessage(platform::vbNo);
        w.Data1->recordset()->findFirst("Description='C'");
        w.cmdDelete->click();
        EXPECT_EQ(w.txtDescr->text(), "B");
        w.Data1->recordset()->moveFirst();
        w.cmdDelete->click();
        EXPECT_EQ(w.txtDescr->text(), "B");
        w.cmdDelete->click();
        EXPECT_EQ(w.txtDescr->text(), "B") << "No deletes nothing";
        w.cmdExit->click();
    });
}

TEST_F(RemindWindowTest, CloseBoxWithAnInvalidChangeKeepsTheWindowOpen)
{
    addReminder("Alpha", QDate(2026, 1, 1));
    run([this](Remind &w) {
        script.answerMessage(platform::vbOK);
        w.txtDescr->setText("");
        w.close();
        EXPECT_TRUE(w.isLoaded());
        EXPECT_EQ(w.focusWidget(), w.txtDescr);
        // Cancel undoes the change and never saves.
        w.cmdCancel->click();
        EXPECT_EQ(w.txtDescr->text(), "Alpha");
        EXPECT_TRUE(w.isLoaded());
        w.txtDescr->setText("Changed, then left by Cancel");
        w.cmdCancel->click();
        w.cmdCancel->click();
        EXPECT_FALSE(w.isLoaded());
        EXPECT_EQ(count("Select Count(*) from tblRemind Where Description='Alpha'"), 1);
    });
    EXPECT_EQ(script.shown(platform::DialogKind::Message)[0].text, "Description cannot be blank.");
}

TEST_F(RemindWindowTest, CloseBoxSavesAValidChange)
{
    const qint64 id = addReminder("Alpha", QDate(2026, 1, 1));
    run([](Remind &w) {
        w.txtRemindDate->setText("1/8/2026");
        w.close();
        EXPECT_FALSE(w.isLoaded());
    });
    EXPECT_EQ(dateOf(id), QDate(2026, 1, 8));
}

TEST_F(RemindWindowTest, CloseBoxWhileAddingSavesOnlyWhenOtherRemindersExist)
{
    run([](Remind &w) {
        w.txtDescr->setText("Dropped");
        w.close();
        EXPECT_FALSE(w.isLoaded());
    });
    EXPECT_EQ(count("Select Count(*) from tblRemind"), 0);

    addReminder("Alpha", QDate(2026, 1, 1));
    run([](Remind &w) {
        w.cmdAdd->click();
        w.txtDescr->setText("Kept");
        w.close();
        EXPECT_FALSE(w.isLoaded());
    });
    EXPECT_EQ(count("Select Count(*) from tblRemind Where Description='Kept'"), 1);
}

TEST_F(RemindWindowTest, ClickingAnotherRowSavesAValidChangeAndHoldsAnInvalidOne)
{
    const qint64 alpha = addReminder("Alpha", QDate(2026, 1, 1));
    addReminder("Beta", QDate(2026, 2, 1));
    run([this, alpha](Remind &w) {
        script.answerMessage(platform::vbOK);
        auto rowCentre = [&w](int row) { return w.DBGrid1->visualRect(w.DBGrid1->model()->index(row, 0)).center(); };
        w.txtNotes->setPlainText("bring the form");
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, rowCentre(1));
        EXPECT_EQ(reminder(alpha)->value("Notes").toString(), "bring the form");
        EXPECT_EQ(w.txtDescr->text(), "Beta");

        w.txtFreqAmt->show();
        w.cmbFreqPeriod->setCurrentText("Months");
        w.txtFreqAmt->setText("zero");
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, rowCentre(0));
        EXPECT_FALSE(w.DBGrid1->isEnabled());
        EXPECT_EQ(w.txtDescr->text(), "Beta");
        w.Form_Click();
        EXPECT_TRUE(w.DBGrid1->isEnabled());
        w.cmdCancel->click();
        EXPECT_EQ(w.cmbFreqPeriod->currentText(), "One time");
        w.cmdExit->click();
    });
    EXPECT_EQ(script.shown(platform::DialogKind::Message)[0].text,
              "Number of Months between warnings must be numeric");
}

TEST_F(RemindWindowTest, LeavingARowByKeySavesAValidChangeAndHoldsAnInvalidOne)
{
    const qint64 alpha = addReminder("Alpha", QDate(2026, 1, 1));
    addReminder("Beta", QDate(2026, 2, 1));
    run([&](Remind &w) {
        w.txtDescr->setText("Alpha changed"), w.txtRemindDate->setText("not a date");
        w.DBGrid1->setFocus(), QTest::keyClick(w.DBGrid1, Qt::Key_End), QTest::keyClick(w.DBGrid1, Qt::Key_Home);
        EXPECT_TRUE(script.shown(platform::DialogKind::Message).empty()) << "Home and End stay in the row";
        script.answerMessage(platform::vbOK);
        QTest::keyClick(w.DBGrid1, Qt::Key_Down);
        EXPECT_TRUE(!w.DBGrid1->isEnabled() && w.txtDescr->text() == "Alpha changed");
        w.txtRemindDate->setText("1/5/2026"), w.Form_Click(), w.DBGrid1->setFocus();
        QTest::keyClick(w.DBGrid1, Qt::Key_B);
        EXPECT_EQ(w.txtDescr->text(), "Beta");
        w.cmdExit->click();
    });
    EXPECT_EQ(reminder(alpha)->value("Description").toString(), "Alpha changed");
}

// A stored date that cannot be read shows blank; the row can be left, Save asks for a date, Cancel closes.
class UnreadableDateTest : public RemindWindowTest, public ::testing::WithParamInterface<QString> {};
TEST_P(UnreadableDateTest, ShowsBlankAndCountsAsUnchanged)
{
    addReminder("Far", QDate(2026, 5, 1)), addReminder("Near", QDate(2026, 6, 1));
    const QString raw = "Update tblRemind Set RemindDate='" + GetParam() + "' Where Description='Near'";
    ASSERT_EQ(sqlite3_exec(db().handle(), raw.toUtf8(), nullptr, nullptr, nullptr), SQLITE_OK);
    run([this](Remind &w) {
        for (const char *text : {"Near", "Far", "Near"}) {
            const QModelIndex row = w.DBGrid1->model()->match(w.DBGrid1->model()->index(0, 0), 0, text)[0];
            QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, w.DBGrid1->visualRect(row).center());
        }
        EXPECT_TRUE(w.txtDescr->text() == "Near" && w.txtRemindDate->text().isEmpty());
        script.answerMessage(platform::vbOK), w.cmdSave->click(), w.cmdCancel->click();
        EXPECT_FALSE(w.isVisible());
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    EXPECT_TRUE(boxes.size() == 1 &&
                boxes[0].text == "You must enter a valid date before saving this reminder");
}
INSTANTIATE_TEST_SUITE_P(Kept, UnreadableDateTest,
                         testing::Values("not a date", "20000-01-01", "0050-01-01"));

TEST_F(RemindWindowTest, ViewCurrentWithNothingDueSaysSo)
{
    addReminder("Later", QDate(2026, 6, 1));
    run([this](Remind &w) {
        script.answerMessage(platform::vbOK);
        w.cmdViewCurrent->click();
        w.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No current reminders to display");
    EXPECT_EQ(boxes[0].title, "No current reminders");
}

TEST_F(RemindWindowTest, ReturningFromTheDueListStartsNoNewReminderEvenFromTheEditor)
{
    const qint64 contact = addContact("Ada", "Byron");
    const qint64 due = addReminder("Due today", QDate(2026, 3, 1), 0, "Months", 1, "Active", contact);
    run(
        [this](Remind &w) {
            w.cmdCancel->click(); // drops the reminder the editor mode started
            EXPECT_FALSE(w.isLoaded()) << "Cancel in editor mode closes";
        },
        EditedContact{contact, "Ada", "", "Byron", "", "", ""});
    // Again, this time going to the due list from the browsing state.
    run([this, due](Remind &w) {
        script.onModal("CurrentReminders", [this](QWidget *w) {
            script.answerMessage(platform::vbYes);
            DialogScript::click(w, "cmdDelete");
            DialogScript::click(w, "cmdExit");
        });
        w.cmdViewCurrent->click();
        QCoreApplication::processEvents();
        EXPECT_TRUE(browsing(w));
        EXPECT_EQ(dateOf(due), QDate(2026, 4, 1));
        EXPECT_EQ(w.txtRemindDate->text(), "4/1/2026") << "the list was read again";
        w.cmdExit->click();
    });
}

TEST_F(RemindWindowTest, StartupBoxWritesTheOption)
{
    run([](Remind &w) {
        EXPECT_FALSE(w.cbDisplayRemind->isChecked());
        w.cbDisplayRemind->click();
        w.cmdCancel->click();
    });
    EXPECT_EQ(gMainWindow.gReminderStartup, 1);
    auto rs = db().openRecordset("Select * from tblSettings Where Type='REMINDERSTARTUP'");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("Name").toString(), "1");
    run([](Remind &w) {
        EXPECT_TRUE(w.cbDisplayRemind->isChecked());
        w.cmdCancel->click();
    });
}

} // namespace
