#include "ReminderFixture.h"

#include "mainwindow/NameList.h"
#include "reminders/ReminderRecords.h"
#include "start/modMain.h"

#include <sqlcipher/sqlite3.h>

namespace {

class ReminderRecordsTest : public ReminderFixture {
  protected:
    void advance(qint64 id)
    {
        auto rs = reminder(id);
        ASSERT_FALSE(rs->eof());
        AdvanceOnePeriod(*rs);
    }
    QStringList dueDescriptions()
    {
        QStringList all;
        auto rs = db().openRecordset("Select Description from tblCurrentReminders Order By Description");
        for (; !rs->eof(); rs->moveNext())
            all.append(rs->value(0).toString());
        return all;
    }
};

TEST_F(ReminderRecordsTest, AdvancingDeletesAOneTimeReminder)
{
    const qint64 id = addReminder("Call the plumber", QDate(2026, 2, 20));
    advance(id);
    EXPECT_TRUE(reminder(id)->eof());
}

TEST_F(ReminderRecordsTest, AdvancingMovesTheDateAndRecomputesTheWarnDate)
{
    struct Case {
        const char *period;
        int amount;
        int warningDays;
        QDate from;
        QDate to;
    };
    const Case cases[] = {
        {"Months", 1, 15, QDate(2026, 1, 31), QDate(2026, 2, 28)},
        {"Months", 1, 0, QDate(2028, 1, 31), QDate(2028, 2, 29)},
        {"Years", 1, 10, QDate(2028, 2, 29), QDate(2029, 2, 28)},
        {"Days", 7, 3, QDate(2026, 12, 28), QDate(2027, 1, 4)},
    };
    for (const Case &c : cases) {
        const qint64 id = addReminder("Renewal", c.from, c.warningDays, c.period, c.amount);
        advance(id);
        EXPECT_EQ(dateOf(id), c.to) << c.period;
        EXPECT_EQ(dateOf(id, "WarnDate"), c.to.addDays(-c.warningDays)) << c.period;
    }
}

TEST_F(ReminderRecordsTest, MonthlyReminderKeepsTheShorterDayOnceLost)
{
    const qint64 id = addReminder("Rent", QDate(2026, 1, 31), 0, "Months", 1);
    advance(id);
    advance(id);
    EXPECT_EQ(dateOf(id), QDate(2026, 3, 28));
}

TEST_F(ReminderRecordsTest, AnUnknownPeriodLeavesTheRowAsItIs)
{
    const qint64 id = addReminder("Odd", QDate(2026, 2, 1), 2, "Fortnight", 1);
    advance(id);
    EXPECT_EQ(dateOf(id), QDate(2026, 2, 1));
    EXPECT_EQ(dateOf(id, "WarnDate"), QDate(2026, 1, 30));
}

TEST_F(ReminderRecordsTest, RebuildKeepsActiveDueAndOverdueRemindersOnly)
{
    // Today is 1 March 2026.
    addReminder("Overdue", QDate(2026, 1, 15), 0, "Months", 1);
    addReminder("Today", QDate(2026, 3, 1));
    addReminder("In warning", QDate(2026, 3, 10), 15, "Years", 1);
    addReminder("Warning starts tomorrow", QDate(2026, 3, 11), 9);
    addReminder("Later", QDate(2026, 4, 1));
    addReminder("Inactive overdue", QDate(2026, 2, 1), 0, "One time", 0, "Inactive");
    db().execute("INSERT INTO tblCurrentReminders (RecordID, Description) VALUES (1, 'Left from before')");

    EXPECT_EQ(RebuildDueReminders(db()), 3);
    EXPECT_EQ(dueDescriptions(), QStringList({"In warning", "Overdue", "Today"}));
    EXPECT_EQ(gSql.left(11), "INSERT INTO");
}

TEST_F(ReminderRecordsTest, RebuildWithNothingDueEmptiesTheList)
{
    addReminder("Later", QDate(2026, 4, 1));
    db().execute("INSERT INTO tblCurrentReminders (RecordID, Description) VALUES (1, 'Left from before')");
    EXPECT_EQ(RebuildDueReminders(db()), 0);
    EXPECT_TRUE(dueDescriptions().isEmpty());
}

TEST_F(ReminderRecordsTest, AFailedRebuildKeepsThePreviousList)
{
    addReminder("Today", QDate(2026, 3, 1));
    ASSERT_EQ(RebuildDueReminders(db()), 1);
    addReminder("Due since", QDate(2026, 2, 1));
    // The refill fails half-way: the emptying must not stand on its own.
    sqlite3_exec(db().handle(),
                 "CREATE TRIGGER refuse BEFORE INSERT ON tblCurrentReminders BEGIN SELECT RAISE(ABORT, 'no'); END",
                 nullptr, nullptr, nullptr);
    EXPECT_ANY_THROW(RebuildDueReminders(db()));
    EXPECT_EQ(dueDescriptions(), QStringList({"Today"}));
    // The database is usable afterwards: no transaction was left open.
    sqlite3_exec(db().handle(), "DROP TRIGGER refuse", nullptr, nullptr, nullptr);
    EXPECT_EQ(RebuildDueReminders(db()), 2);
}

TEST_F(ReminderRecordsTest, AReminderTwoPeriodsOverdueStaysDueAfterOneAdvance)
{
    const qint64 id = addReminder("Water the plants", QDate(2026, 2, 15), 0, "Days", 7);
    advance(id);
    EXPECT_EQ(dateOf(id), QDate(2026, 2, 22));
    EXPECT_EQ(RebuildDueReminders(db()), 1);
}

TEST_F(ReminderRecordsTest, StartupOptionIsStoredInOneRowThatIsNeverDeleted)
{
    WriteReminderStartup(db(), 1);
    EXPECT_EQ(gMainWindow.gReminderStartup, 1);
    WriteReminderStartup(db(), 0);
    EXPECT_EQ(gMainWindow.gReminderStartup, 0);
    auto rs = db().openRecordset("Select * from tblSettings Where Type='REMINDERSTARTUP'");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("Name").toString(), "0");
}

TEST(ReminderRecords, RebuildStatementsAreExact)
{
    EXPECT_EQ(ClearCurrentRemindersSql, "Delete * from tblCurrentReminders");
    EXPECT_EQ(
        FillCurrentRemindersSql,
        "INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, Description, Notes, "
        "WarnDate) SELECT RemindDate, LinkedRecordID, TblRemindRecordID, Description, Notes, WarnDate FROM "
        "qryNewReminders");
}

} // namespace
