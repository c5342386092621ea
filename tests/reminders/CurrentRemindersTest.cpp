#include "ReminderFixture.h"

#include "platform/db/DataControl.h"
#include "platform/ui/MsgBox.h"
#include "reminders/CurrentReminders.h"
#include "reminders/ReminderRecords.h"
#include "support/DialogScript.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <functional>
#include <sqlcipher/sqlite3.h>

namespace {

class CurrentRemindersTest : public ReminderFixture {
  protected:
    // Rebuilds the due list and opens the window on it, as the reminder window does.
    void run(std::function<void(CurrentReminders &)> action)
    {
        ASSERT_GT(RebuildDueReminders(db()), 0);
        script.onModal("CurrentReminders", [action](QWidget *w) { action(*static_cast<CurrentReminders *>(w)); });
        CurrentReminders::open(db());
    }
    // Removes the current due reminder, answering Yes.
    void remove(CurrentReminders &w)
    {
        script.answerMessage(platform::vbYes);
        w.cmdDelete->click();
    }
    static QString current(CurrentReminders &w)
    {
        platform::Recordset *rs = w.Data1->recordset();
        return rs->eof() || rs->bof() ? QString() : rs->value("Description").toString();
    }
    qint64 dueRows() { return count("Select Count(*) from tblCurrentReminders"); }

    DialogScript script;
};

TEST_F(CurrentRemindersTest, RemovingAOneTimeReminderDeletesItAndItsDueRow)
{
    const qint64 id = addReminder("Call back", QDate(2026, 2, 27));
    run([this](CurrentReminders &w) {
        remove(w);
        w.cmdExit->click();
    });
    EXPECT_TRUE(reminder(id)->eof());
    EXPECT_EQ(dueRows(), 0);
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Are you sure?");
    EXPECT_EQ(boxes[0].title, "Remove current reminder");
    EXPECT_EQ(boxes[0].defaultButton, 1);
}

// The window stands centred on the screen, frame and all, never where a new window happens to go.
TEST_F(CurrentRemindersTest, OpensCentredOnTheScreen)
{
    addReminder("Call back", QDate(2026, 2, 27));
    QRect frame;
    run([&](CurrentReminders &w) {
        frame = w.frameGeometry();
        w.cmdExit->click();
    });
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1) << frame.x();
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1) << frame.y();
}

TEST_F(CurrentRemindersTest, RemovingARecurringReminderAdvancesItOnce)
{
    setToday(QDate(2026, 4, 20));
    const qint64 rent = addReminder("Rent", QDate(2026, 1, 31), 5, "Months", 1);
    const qint64 plants = addReminder("Plants", QDate(2026, 3, 30), 0, "Days", 7);
    run([this](CurrentReminders &w) {
        remove(w); // Rent comes first
        remove(w);
        w.cmdExit->click();
    });
    EXPECT_EQ(dateOf(rent), QDate(2026, 2, 28));
    EXPECT_EQ(dateOf(rent, "WarnDate"), QDate(2026, 2, 23));
    EXPECT_EQ(dateOf(plants), QDate(2026, 4, 6)) << "two periods overdue moves one period only";
    EXPECT_EQ(RebuildDueReminders(db()), 2) << "both are still due";
}

TEST_F(CurrentRemindersTest, RemovingTheLastRowClearsTheNamesAndNotesAndHidesRemove)
{
    const qint64 contact = addContact("Ada", "Byron", "Analytical");
    addReminder("Birthday", QDate(2026, 3, 1), 0, "Years", 1, "Active", contact, "cake");
    run([this](CurrentReminders &w) {
        EXPECT_EQ(w.lblName->text(), "Ada  Byron");
        EXPECT_EQ(w.lblOrganization->text(), "Analytical");
        EXPECT_FALSE(w.txtNotes->isHidden());
        EXPECT_EQ(w.txtNotes->toPlainText(), "cake");
        remove(w);
        EXPECT_TRUE(w.lblName->text().isEmpty());
        EXPECT_TRUE(w.lblOrganization->text().isEmpty());
        EXPECT_TRUE(w.txtNotes->toPlainText().isEmpty());
        EXPECT_TRUE(w.txtNotes->isHidden());
        EXPECT_TRUE(w.cmdDelete->isHidden());
        w.cmdExit->click();
    });
}

TEST_F(CurrentRemindersTest, RemovingTheFirstRowGoesToTheNextAndAnyOtherToThePrevious)
{
    addReminder("A", QDate(2026, 2, 1));
    addReminder("B", QDate(2026, 2, 2));
    addReminder("C", QDate(2026, 2, 3));
    addReminder("D", QDate(2026, 2, 4));
    run([this](CurrentReminders &w) {
        EXPECT_EQ(current(w), "A");
        remove(w);
        EXPECT_EQ(current(w), "B");
        w.Data1->recordset()->moveLast();
        remove(w);
        EXPECT_EQ(current(w), "C");
        w.cmdExit->click();
    });
    EXPECT_EQ(dueRows(), 2);
}

TEST_F(CurrentRemindersTest, AReminderGivenAnotherDateSinceTheRebuildOnlyLeavesTheList)
{
    const qint64 id = addReminder("Moved", QDate(2026, 2, 20), 0, "Years", 1);
    run([this, id](CurrentReminders &w) {
        db().execute(QStringLiteral("Update tblRemind Set RemindDate=#3/25/2026# Where RecordID=%1").arg(id));
        remove(w);
        w.cmdExit->click();
    });
    EXPECT_EQ(dateOf(id), QDate(2026, 3, 25));
    EXPECT_EQ(dueRows(), 0);
}

TEST_F(CurrentRemindersTest, TheLookupReadsTheDateMonthFirst)
{
    // 5 December and 12 May would be confused by a lookup in the user's day-first order.
    setToday(QDate(2026, 12, 6));
    const qint64 december = addReminder("Fifth of December", QDate(2026, 12, 5), 0, "Years", 1);
    const qint64 may = addReminder("Twelfth of May", QDate(2026, 5, 12), 0, "Years", 1, "Inactive");
    run([this](CurrentReminders &w) {
        remove(w);
        w.cmdExit->click();
    });
    EXPECT_EQ(dateOf(december), QDate(2027, 12, 5));
    EXPECT_EQ(dateOf(may), QDate(2026, 5, 12));
}

TEST_F(CurrentRemindersTest, EmptyOrBlankNotesHideTheNotesBox)
{
    addReminder("Null notes", QDate(2026, 2, 1));
    addReminder("Blank notes", QDate(2026, 2, 2), 0, "One time", 0, "Active", 0, " ");
    addReminder("Real notes", QDate(2026, 2, 3), 0, "One time", 0, "Active", 0, "x");
    run([](CurrentReminders &w) {
        platform::Recordset *rs = w.Data1->recordset();
        EXPECT_TRUE(w.txtNotes->isHidden());
        rs->moveNext();
        EXPECT_TRUE(w.txtNotes->isHidden());
        rs->moveNext();
        EXPECT_FALSE(w.txtNotes->isHidden());
        w.cmdExit->click();
    });
}

TEST_F(CurrentRemindersTest, TheGridsOwnDeleteRemovesTheDueRowOnly)
{
    const qint64 id = addReminder("Kept", QDate(2026, 2, 1));
    run([this](CurrentReminders &w) {
        QTest::keyClick(w.DBGrid1, Qt::Key_Delete);
        EXPECT_EQ(dueRows(), 0);
        EXPECT_FALSE(w.cmdDelete->isHidden());
        w.cmdDelete->click(); // nothing left: no question, no change
        w.cmdExit->click();
    });
    EXPECT_EQ(dateOf(id), QDate(2026, 2, 1));
    EXPECT_TRUE(script.shown(platform::DialogKind::Message).empty());
}

// Rows written by another program with dates this one cannot store or show: the due list
// shows no raw date, and Remove tells why it cannot move the reminder on and changes nothing.
// Each case: RemindDate, WarningDays, WarnDate, FrequencyPeriod and FrequencyAmount, and the message.
class OutOfRangeRemoveTest : public CurrentRemindersTest,
                             public ::testing::WithParamInterface<std::pair<const char *, const char *>> {};

TEST_P(OutOfRangeRemoveTest, IsRefusedWithAMessageAndChangesNothing)
{
    const QByteArray insert = "INSERT INTO tblRemind (Description, Status, RemindDate, WarningDays, WarnDate, "
                              "FrequencyPeriod, FrequencyAmount) VALUES ('Far', 'Active', " +
                              QByteArray(GetParam().first) + ")";
    ASSERT_EQ(sqlite3_exec(db().handle(), insert.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QVariant stored = reminder(1)->value("RemindDate");
    run([this](CurrentReminders &w) {
        for (int column : {2, 5})
            EXPECT_FALSE(w.DBGrid1->model()->index(0, column).data().toString().contains('-'));
        script.answerMessage(platform::vbYes).answerMessage(platform::vbOK);
        w.cmdDelete->click();
        w.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[1].title == "Invalid Date" && boxes[1].text.startsWith(GetParam().second))
        << boxes[1].text.toStdString();
    EXPECT_TRUE(reminder(1)->value("RemindDate") == stored && dueRows() == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, OutOfRangeRemoveTest,
    ::testing::Values(
        std::pair{"'0001-01-01', 7, '-0001-12-25', 'One time', 0", "The date of this reminder lies outside"},
        std::pair{"'0050-06-01', 0, '2020-01-01', 'One time', 0",
                  "The date of this reminder lies outside the years 100 to 9999."},
        std::pair{"'20000-06-01', 0, '2020-01-01', 'One time', 0",
                  "The date of this reminder lies outside the years 100 to 9999."},
        std::pair{"'not a date', 0, '2020-01-01', 'One time', 0",
                  "The date of this reminder cannot be read."},
        std::pair{"'2020-13-01', 0, '2020-01-01', 'One time', 0",
                  "The date of this reminder cannot be read."},
        std::pair{"'2020-01-31', 0, '2020-01-31', 'Years', 2000000000", "Moving this reminder on by its"},
        std::pair{"'9999-12-28', 3000000, '2000-01-01', 'Days', 7", "Moving this reminder on by its"}));

} // namespace
