#include "printing/ReminderReport.h"
#include "printing/PreviewReportFixture.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"
#include "support/TempDatabase.h"

#include "platform/base/Clock.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

namespace {

using testsupport::pageLines;
using Lines = std::vector<std::string>;

class ReminderReportTest : public PreviewReportTest {
  protected:

    qint64 addContact(const QString &values)
    {
        db().execute(
            QStringLiteral(
                "Insert Into tblContacts (FirstName, MiddleName, LastName, Organization) Values (%1)")
                .arg(values));
        return db()
            .openRecordset(QStringLiteral("Select Max(RecordID) As Id From tblContacts"))
            ->value(0)
            .toLongLong();
    }
    void addReminder(qint64 contact, const QString &date, const QString &description, const QString &notes)
    {
        db().execute(QStringLiteral("Insert Into tblRemind (LinkedRecordID, RemindDate, Description, Notes, "
                                    "Status) Values (%1, %2, %3, %4, 'Active')")
                         .arg(contact)
                         .arg(date, description, notes));
    }

    platform::Database &db() { return temp.db(); }

    TempDatabase temp;
    testsupport::FixedMetricsScope metrics;
};

TEST_F(ReminderReportTest, WithoutRemindersOnlyAMessageShows)
{
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintReminderReport(db());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "No reminders found in database.");
    EXPECT_EQ(script.shown()[0].title, "No reminders to print");
    EXPECT_EQ(script.shown()[0].style, platform::vbInformation);
    EXPECT_EQ(document().pageCount(), 0);
    EXPECT_FALSE(frmPreview::instance().isVisible());
}

TEST_F(ReminderReportTest, EachReminderIsItsDateAndContactThenItsWrappedText)
{
    const qint64 lee = addContact(QStringLiteral("'Ann', 'Q', 'Lee  ', Null"));
    const qint64 acme = addContact(QStringLiteral("Null, Null, 'Lee', 'Acme'"));
    addReminder(lee, QStringLiteral("'2020-03-04'"), QStringLiteral("'Birthday'"),
                QStringLiteral("'Buy a card'"));
    addReminder(acme, QStringLiteral("'2020-03-05 13:30:00'"), QStringLiteral("'Renewal'"),
                QStringLiteral("Null"));
    // Belongs to no contact, and has no date.
    addReminder(0, QStringLiteral("Null"), QStringLiteral("'Taxes'"), QStringLiteral("Null"));
    PrintReminderReport(db());
    EXPECT_EQ(document().name, "Reminder Report");
    EXPECT_FALSE(PreviewSurface().documentOpen());
    // "Reminders" is 720 twips wide, centred on 5940; the query puts the missing date
    // first, and its line of blanks leaves no mark.
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(5580,880) Arial 8 [b] Reminders",
                     "(1440,1360) Arial 8 Taxes", "(1080,1520) Arial 8 [b] 3/4/2020     Ann Q Lee ",
                     "(1440,1680) Arial 8 Birthday     Buy a card",
                     "(1080,1840) Arial 8 [b] 3/5/2020 1:30:00 PM     Lee    Acme  ",
                     "(1440,2000) Arial 8 Renewal"}));
}

TEST_F(ReminderReportTest, ABlankDescriptionPrintsTheReminderLineOnlyEvenWithNotes)
{
    addReminder(0, QStringLiteral("'2020-03-04'"), QStringLiteral("'  '"), QStringLiteral("'Call the bank'"));
    addReminder(0, QStringLiteral("'2020-03-05'"), QStringLiteral("Null"), QStringLiteral("'Pay rent'"));
    addReminder(0, QStringLiteral("'2020-03-06'"), QStringLiteral("'Dentist'"), QStringLiteral("'  '"));
    PrintReminderReport(db());
    EXPECT_EQ(pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 1/2/2020", "(5580,880) Arial 8 [b] Reminders",
                     "(1080,1200) Arial 8 [b] 3/4/2020      ", "(1080,1360) Arial 8 [b] 3/5/2020      ",
                     "(1080,1520) Arial 8 [b] 3/6/2020      ", "(1440,1680) Arial 8 Dentist"}));
}

TEST_F(ReminderReportTest, ADateThatCannotBeReadPrintsBlankAsTheGridsShowIt)
{
    addReminder(0, "'not a date'", "' '", "Null"), addReminder(0, "'20000-01-01'", "' '", "Null");
    addReminder(0, "'0050-01-01'", "' '", "Null"), PrintReminderReport(db());
    EXPECT_EQ(pageLines(document(), 1).size(), 2u) << "the date and the heading; blanks leave no mark";
}

TEST_F(ReminderReportTest, PagesBreakOnceTheCountPassesTheCapacity)
{
    db().beginTrans();
    for (int n = 1; n <= 45; ++n)
        addReminder(0, QDate(2020, 1, 1).addDays(n - 1).toString(QStringLiteral("''yyyy-MM-dd''")),
                    QStringLiteral("'Item %1'").arg(n), QStringLiteral("Null"));
    db().commitTrans();
    PrintReminderReport(db());
    // The count starts at 3 (date and heading): 40 two-line reminders fill page 1.
    ASSERT_EQ(document().pageCount(), 2);
    EXPECT_EQ(pageLines(document(), 1).size(), 2u + 2 * 40);
    EXPECT_EQ(pageLines(document(), 2).size(), 2u * 5);
    EXPECT_EQ(pageLines(document(), 2).front(), "(1080,720) Arial 8 [b] 2/10/2020      ");
    EXPECT_EQ(testsupport::findRun(document(), 2, "Reminders"), nullptr);
}

TEST_F(ReminderReportTest, TheMenuEntryAsksAboutRemindersNotTheDisplayedRecords)
{
    addReminder(0, QStringLiteral("'2020-03-04'"), QStringLiteral("'Taxes'"), QStringLiteral("Null"));
    {
        DialogScript script;
        script.answerMessage(platform::vbCancel);
        RemindersReportMenu_Click(db());
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(
            script.shown()[0].text,
            "Click on the OK button to preview, or Cancel if you do not want to preview all reminders.");
        EXPECT_EQ(script.shown()[0].buttons, platform::vbOKCancel);
        EXPECT_EQ(document().pageCount(), 0);
    }
    DialogScript script;
    script.answerMessage(platform::vbOK);
    {
        ReportRun running;
        RemindersReportMenu_Click(db());
        EXPECT_TRUE(script.shown().empty()) << "nothing is asked while another report draws";
    }
    RemindersReportMenu_Click(db());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(document().name, "Reminder Report");
}

TEST_F(ReminderReportTest, AMissingQueryIsReportedWithItsOwnText)
{
    ASSERT_EQ(sqlite3_exec(db().handle(), "DROP VIEW qryRemind", nullptr, nullptr, nullptr), SQLITE_OK);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    PrintReminderReport(db());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].icon, 0);
    EXPECT_FALSE(script.shown()[0].text.isEmpty());
    EXPECT_EQ(document().pageCount(), 0);
}

} // namespace
