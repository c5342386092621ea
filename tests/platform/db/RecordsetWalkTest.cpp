#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlConnection.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <sqlcipher/sqlite3.h>

using namespace platform;

// A walk from the first row to the last (an export, a report) is served by the list's own
// query, run again from the top, every time; it must give exactly the rows and values that
// reading each row on its own gives, whatever changed since the list was opened.

namespace {

constexpr int Contacts = 300;
const QString ByName = QStringLiteral("Select * From tblContacts Order By LastName, FirstName");

class RecordsetWalkTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db().beginTrans();
        // Names out of their row order, some of them tied, so the list's order is its own.
        for (int i = 0; i < Contacts; ++i)
            db().execute(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName, Email_Address) VALUES "
                                        "('L%1', 'F%2', 'e%3@x.org')")
                             .arg((i * 7919) % 97, 3, 10, QLatin1Char('0'))
                             .arg(i % 3)
                             .arg(i));
        db().commitTrans();
    }
    Database &db() { return mTemp.db(); }

    // Every row of the list, first to last, as "LastName FirstName Email".
    static QStringList walk(Recordset &rs)
    {
        QStringList rows;
        rs.moveFirst();
        while (!rs.eof()) {
            rows << rs.value("LastName").toString() + u' ' + rs.value("FirstName").toString() + u' ' +
                        rs.value("Email_Address").toString();
            rs.moveNext();
        }
        return rows;
    }

    // The same rows read on their own, by place, from a list opened afresh.
    QStringList expected()
    {
        auto fresh = db().openRecordset(ByName);
        QStringList rows;
        for (qint64 i = 0; i < fresh->recordCount(); ++i)
            rows << fresh->valueAt(i, fresh->fieldIndex("LastName")).toString() + u' ' +
                        fresh->valueAt(i, fresh->fieldIndex("FirstName")).toString() + u' ' +
                        fresh->valueAt(i, fresh->fieldIndex("Email_Address")).toString();
        return rows;
    }

    std::unique_ptr<Recordset> openCounted()
    {
        auto rs = db().openRecordset(ByName);
        EXPECT_EQ(rs->recordCount(), Contacts); // every key known, as a grid's list has them
        return rs;
    }

    TempDatabase mTemp;
};

} // namespace

TEST_F(RecordsetWalkTest, AWalkReadsEveryRowInTheListsOrder)
{
    auto rs = openCounted();
    const QStringList rows = walk(*rs);
    EXPECT_EQ(rows, expected());
    // Walking again, and after jumping about, gives the same.
    rs->setAbsolutePosition(200);
    rs->setAbsolutePosition(10);
    EXPECT_EQ(walk(*rs), rows);
}

TEST_F(RecordsetWalkTest, RowsDeletedFromTheListAreSkipped)
{
    auto rs = openCounted();
    for (qint64 at : {150, 100, 100}) {
        rs->setAbsolutePosition(at);
        rs->deleteRecord();
    }
    const QStringList rows = walk(*rs);
    EXPECT_EQ(rows.size(), Contacts - 3);
    EXPECT_EQ(rows, expected());
}

TEST_F(RecordsetWalkTest, ARowAddedByAnotherHandStaysOutAndTheOthersAreRight)
{
    auto rs = openCounted();
    const QStringList before = expected();
    db().execute(QStringLiteral(
        "INSERT INTO tblContacts (LastName, FirstName, Email_Address) VALUES ('L050', 'F1', 'new@x.org')"));
    // A row changed elsewhere keeps its place in the list and shows its new value.
    db().execute(
        QStringLiteral("UPDATE tblContacts SET Email_Address = 'changed@x.org' WHERE Email_Address = "
                       "'e250@x.org'"));
    QStringList now = before;
    for (QString &row : now)
        row.replace(QStringLiteral("e250@x.org"), QStringLiteral("changed@x.org"));
    EXPECT_EQ(walk(*rs), now);
}

TEST_F(RecordsetWalkTest, AnEditDuringTheWalkIsReadBack)
{
    auto rs = openCounted();
    QStringList rows;
    rs->moveFirst();
    for (int n = 0; !rs->eof(); ++n) {
        if (n == 120) {
            rs->edit();
            rs->setValue("Email_Address", QStringLiteral("edited@x.org"));
            rs->update();
        }
        rows << rs->value("Email_Address").toString();
        rs->moveNext();
    }
    QStringList want;
    for (const QString &row : expected())
        want << row.section(u' ', 2);
    EXPECT_EQ(rows, want);
    EXPECT_EQ(rows[120], "edited@x.org");
}

// A walk left midway for another row, as a report leaves the list where it was, lets another
// program write to the file.
TEST_F(RecordsetWalkTest, AWalkLeftMidwayLetsAnotherProgramWrite)
{
    auto rs = openCounted();
    rs->moveLast(); // every key known, as after the grid has read them all
    rs->moveFirst();
    rs->moveNext();
    rs->setAbsolutePosition(200);
    SqlConnection other;
    ASSERT_EQ(other.open(mTemp.path(), SQLITE_OPEN_READWRITE), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other.handle(), "BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
}
