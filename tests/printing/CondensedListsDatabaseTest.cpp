#include "printing/CondensedLists.h"
#include "printing/DataControlRecords.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/ReportRunWatch.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"
#include "support/TempDatabase.h"

#include "platform/base/Clock.h"
#include "platform/db/DataControl.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlConnection.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/MsgBox.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <QScopeGuard>
#include <QTest>
#include <QTimer>

namespace {

using Lines = std::vector<std::string>;

// The main list as the main window shows it: the data control over the contacts.
class CondensedListsDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        UnloadPreview();
        platform::setClockForTesting([] { return QDateTime(QDate(2021, 3, 4), QTime(9, 0)); });
        PreviewSurface().setPreview(true);
        for (const char *values :
             {"'Baker', 'Bo', 'Home: ', '555-0101', 1, '7 Elm Rd', 'Salem', 'OR', '97301', Null, Null",
              "'Adams', 'Al', 'Cell', '555-0100', 2, '1 Oak Ave', 'Austin', 'TX', '73301', 'Work', '9 Pine "
              "St'",
              "'Chen', 'Cy', Null, Null, Null, Null, Null, Null, Null, Null, Null"})
            temp.db().execute(
                QStringLiteral("INSERT INTO tblContacts (LastName, FirstName, Phone1_Desc, Phone1, "
                               "AddressForLabels, First_Address1, First_City, First_State, "
                               "First_PostalCode, Second_Address_Desc, Second_Address1) VALUES (%1)")
                    .arg(QLatin1String(values)));
        Data1.setDatabase(&temp.db());
        Data1.setRecordSource(QStringLiteral("Select * From tblContacts Order By LastName, FirstName"));
        Data1.refresh();
    }
    void TearDown() override
    {
        UnloadPreview();
        Data1.clear();
        platform::setClockForTesting(nullptr);
    }

    const platform::PrintDocument &document() { return PreviewSurface().document(); }

    TempDatabase temp;
    platform::DataControl Data1;
    testsupport::FixedMetricsScope metrics;
};

TEST_F(CondensedListsDatabaseTest, ListsWalkTheDisplayedRecordsInTheirOrder)
{
    DataControlRecords records(Data1);
    PrintCondensedOneLine(records, QStringLiteral("All"));
    EXPECT_EQ(testsupport::pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 3/4/2021", "(5820,880) Arial 8 [b] [i] All",
                     "(720,1200) Arial 8 [b] [i] Al Adams", "(1460,1200) Arial 8 Cell: 555-0100    9 Pine St",
                     "(720,1360) Arial 8 [b] [i] Bo Baker",
                     "(1460,1360) Arial 8 Home:: 555-0101    7 Elm Rd  Salem, OR 97301",
                     "(720,1520) Arial 8 [b] [i] Cy Chen"}));

    PrintCondensedList(records, QString());
    EXPECT_EQ(testsupport::pageLines(document(), 1),
              (Lines{"(10080,720) Arial 8 3/4/2021", "(1080,880) Arial 8 [b]   Al Adams    ",
                     "(1440,1040) Arial 8 Cell: 555-0100    Work: 9 Pine St",
                     "(1080,1200) Arial 8 [b]   Bo Baker    ",
                     "(1440,1360) Arial 8 Home:: 555-0101    : 7 Elm Rd  Salem, OR 97301",
                     "(1080,1520) Arial 8 [b]   Cy Chen    "}));
}

TEST_F(CondensedListsDatabaseTest, TheCurrentRecordOfTheDataControlComesBack)
{
    platform::Recordset &set = *Data1.recordset();
    set.moveNext();
    ASSERT_EQ(set.value(QStringLiteral("LastName")).toString(), "Baker");
    // What the grid bound to the data control is told of the current row.
    QStringList toldRows;
    QObject::connect(&Data1, &platform::DataControl::reposition,
                     [&] { toldRows << set.value(QStringLiteral("LastName")).toString(); });
    DataControlRecords records(Data1);
    PrintCondensedList(records, QString());
    EXPECT_EQ(set.value(QStringLiteral("LastName")).toString(), "Baker");
    // The grid was held still during the walk and told once, at the end, of the row put back.
    EXPECT_EQ(toldRows, QStringList{"Baker"});
    EXPECT_EQ(testsupport::pageLines(document(), 1).size(), 6u);

    // Held still only during a walk: moves afterwards are told again.
    set.moveFirst();
    EXPECT_EQ(toldRows, (QStringList{"Baker", "Adams"}));
}

TEST_F(CondensedListsDatabaseTest, AFailedWalkStillLetsTheGridFollowAgain)
{
    platform::Recordset &set = *Data1.recordset();
    int told = 0;
    QObject::connect(&Data1, &platform::DataControl::reposition, [&] { ++told; });
    {
        DataControlRecords records(Data1);
        records.markPosition();
        records.moveNext();
        // Gone before it put the mark back (a report that ended by an error).
    }
    EXPECT_EQ(told, 0);
    set.moveNext();
    EXPECT_EQ(told, 1);
}

// A report lets events run after every record, and its walk reads on through the list's own
// query all the same: the book stays held while the walk runs, and once it has ended, whole
// or stopped part way by the user, the list lets go of the book as the program waits.
TEST_F(CondensedListsDatabaseTest, AReportReadsThroughTheListUntilItsWalkEndsAndThenLetsTheBookGo)
{
    platform::SqlConnection other;
    ASSERT_EQ(other.open(temp.path(), SQLITE_OPEN_READWRITE), SQLITE_OK);
    const auto writable = [&] {
        if (sqlite3_exec(other.handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
        sqlite3_exec(other.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        return true;
    };
    ReportRun::setEventIntervalForTesting(0); // events after every record
    const auto events = qScopeGuard([] { ReportRun::setEventIntervalForTesting(20); });
    DataControlRecords records(Data1);
    for (const bool stopped : {false, true}) {
        Data1.refresh(); // the list read only as far as its first row, as just opened
        // Whether another program could write, at each turn of events between two records.
        std::vector<bool> betweenRecords;
        QTimer turn;
        turn.setInterval(0);
        QObject::connect(&turn, &QTimer::timeout, [&] {
            platform::Recordset *walked = Data1.recordset();
            if (!ReportRun::running() || walked->eof() || walked->absolutePosition() < 1)
                return;
            betweenRecords.push_back(writable());
            if (stopped)
                ReportRunWatch::instance().requestStop();
        });
        turn.start();
        PrintCondensedList(records, QString());
        turn.stop();
        EXPECT_EQ(betweenRecords, std::vector<bool>(stopped ? 1 : 2, false)) << stopped;
        EXPECT_EQ(Data1.recordset()->value(QStringLiteral("LastName")).toString(), "Adams") << stopped;
        EXPECT_TRUE(QTest::qWaitFor(writable, 5000)) << stopped;
    }
}

TEST_F(CondensedListsDatabaseTest, ConfirmationReadsTheDataControl)
{
    DataControlRecords records(Data1);
    DialogScript script;
    script.answerMessage(platform::vbOK);
    CondensedList_Click(records, QString(), 2);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(script.shown()[0].text.startsWith(
        "All displayed records will be printed or previewed, not just the 2 "));
    EXPECT_EQ(document().name, "Condensed List");

    // Nothing shown: no record set at all is no records displayed.
    platform::DataControl empty;
    DataControlRecords none(empty);
    DialogScript refused;
    refused.answerMessage(platform::vbOK);
    Condensed1LineMenu_Click(none, QString(), 0);
    EXPECT_EQ(refused.shown()[0].text, "There are no records displayed, so none will print.");
}

} // namespace
