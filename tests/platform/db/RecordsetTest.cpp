#include "platform/db/Recordset.h"
#include "platform/base/Clock.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/jet/JetQuote.h"
#include "support/ContactGenerator.h"
#include "support/ExpectRuntimeError.h"
#include "support/TempDatabase.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class RecordsetTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (const char *name : {"Carter,Ann", "Adams,Bob", "brown,Cid", "Baker,Dee", "Adams,Al"}) {
            const QStringList parts = QString::fromLatin1(name).split(',');
            db().execute(QStringLiteral("INSERT INTO tblContacts (LastName, FirstName) VALUES (%1, %2)")
                             .arg(jetQuote(parts[0]), jetQuote(parts[1])));
        }
    }
    Database &db() { return mTemp.db(); }
    qint64 idOf(const QString &first)
    {
        auto rs = db().openRecordset("Select RecordID from tblContacts Where FirstName = " + jetQuote(first));
        return rs->value(0).toLongLong();
    }
    QStringList firstNames(Recordset &rs)
    {
        QStringList names;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            names.append(rs.value("FirstName").toString());
        return names;
    }

    TempDatabase mTemp;
};

} // namespace

TEST_F(RecordsetTest, DynasetMovesInQueryOrderWithBofAndEof)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    EXPECT_EQ(rs->type(), RecordsetType::Dynaset);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->value("FirstName").toString(), "Al") << "opens on the first row";
    EXPECT_EQ(firstNames(*rs), QStringList({"Al", "Bob", "Dee", "Cid", "Ann"})) << "text orders without case";
    EXPECT_TRUE(rs->eof());
    EXPECT_RUNTIME_ERROR(rs->value("FirstName"), err::NoCurrentRecord);
    EXPECT_RUNTIME_ERROR(rs->moveNext(), err::NoCurrentRecord);
    rs->movePrevious();
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    rs->moveFirst();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    EXPECT_FALSE(rs->eof());
    EXPECT_RUNTIME_ERROR(rs->movePrevious(), err::NoCurrentRecord);
    rs->moveNext();
    EXPECT_EQ(rs->value("FirstName").toString(), "Al");
    rs->moveLast();
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    EXPECT_EQ(rs->recordCount(), 5);
    EXPECT_EQ(rs->absolutePosition(), 4);
}

TEST_F(RecordsetTest, EmptyResultIsBofAndEof)
{
    auto rs = db().openRecordset("Select * from tblContacts Where LastName = 'Nobody'");
    EXPECT_TRUE(rs->bof());
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_RUNTIME_ERROR(rs->moveFirst(), err::NoCurrentRecord);
    EXPECT_RUNTIME_ERROR(rs->edit(), err::NoCurrentRecord);
    EXPECT_RUNTIME_ERROR(rs->deleteRecord(), err::NoCurrentRecord);
}

TEST_F(RecordsetTest, FieldsByNameAndIndexInTableOrder)
{
    auto rs = db().openRecordset("tblContacts");
    Fields fields = rs->fields();
    EXPECT_EQ(fields.count(), 68);
    EXPECT_EQ(fields[0].name(), "RecordID");
    EXPECT_EQ(fields[1].name(), "Prefix");
    EXPECT_EQ(fields[4].name(), "LastName");
    EXPECT_EQ(fields["lastname"].ordinalPosition(), 4);
    EXPECT_EQ(fields["LastName"].size(), 255);
    EXPECT_EQ(fields["Selected"].size(), 1);
    EXPECT_EQ(fields["Notes"].size(), 0);
    EXPECT_EQ(fields[67].name(), "Selected");
    EXPECT_RUNTIME_ERROR(fields["NoSuchField"], err::ItemNotFound);
    EXPECT_RUNTIME_ERROR(fields[68], err::ItemNotFound);
}

TEST_F(RecordsetTest, FieldNumbersByNameIgnoreCaseAndTakeTheFirstOfTwins)
{
    auto rs = db().openRecordset(
        "Select FirstName, LastName, LastName As FIRSTNAME, RecordID from tblContacts Order By RecordID");
    EXPECT_EQ(rs->fieldIndex("firstname"), 0);
    EXPECT_EQ(rs->fieldIndex("FirstName"), 0) << "the first of two fields of one name";
    EXPECT_EQ(rs->fieldIndex("LASTNAME"), 1);
    EXPECT_EQ(rs->fieldIndex("recordid"), 3);
    EXPECT_EQ(rs->value("FIRSTNAME").toString(), "Ann");
    EXPECT_RUNTIME_ERROR(rs->fieldIndex("Last Name"), err::ItemNotFound);
    EXPECT_RUNTIME_ERROR(rs->fieldIndex(""), err::ItemNotFound);
    EXPECT_RUNTIME_ERROR(rs->value("NoSuchField"), err::ItemNotFound);
    // A table-type record set names its fields the same way.
    auto table = db().openRecordset("tblContacts", RecordsetType::Table);
    EXPECT_EQ(table->fieldIndex("lastNAME"), 4);
    EXPECT_EQ(table->fieldIndex("Selected"), 67);
}

TEST_F(RecordsetTest, NewRowTakesTheSchemaDefaults)
{
    auto rs = db().openRecordset("tblContacts");
    rs->addNew();
    rs->setValue("LastName", "Evans");
    rs->update();
    rs->setBookmark(rs->lastModified());
    EXPECT_EQ(rs->value("LastName").toString(), "Evans");
    EXPECT_EQ(rs->value("Selected").toString(), " ");
    EXPECT_EQ(rs->value("PrintNotes").toBool(), false);
    EXPECT_EQ(rs->value("AddressForLabels").toInt(), 1);
    EXPECT_TRUE(rs->value("Date1").isNull());
    EXPECT_GT(rs->value("RecordID").toInt(), 5);

    // A number once given is never given again, even after the newest row is deleted.
    const int newest = rs->value("RecordID").toInt();
    rs->deleteRecord();
    rs->addNew();
    rs->setValue("LastName", "Fields");
    rs->update();
    rs->setBookmark(rs->lastModified());
    EXPECT_EQ(rs->value("RecordID").toInt(), newest + 1);
}

TEST_F(RecordsetTest, ValuesConvertAsTheFieldsDemand)
{
    auto rs = db().openRecordset("Select * from tblContacts Where FirstName = 'Ann'");
    rs->edit();
    rs->setValue("Date1", "12/25/2024");
    rs->setValue("Date2", QDateTime(QDate(2024, 1, 2), QTime(13, 30)));
    rs->setValue("PrintNotes", true);
    rs->setValue("AddressForLabels", "2");
    EXPECT_RUNTIME_ERROR(rs->setValue("Date3", "   "), err::TypeMismatch);
    EXPECT_RUNTIME_ERROR(rs->setValue("Date3", "not a date"), err::TypeMismatch);
    EXPECT_RUNTIME_ERROR(rs->setValue("AddressForLabels", "two"), err::TypeMismatch);
    EXPECT_RUNTIME_ERROR(rs->setValue("AddressForLabels", 70000), err::Overflow);
    EXPECT_RUNTIME_ERROR(rs->setValue("RecordID", 99), err::FieldNotUpdatable);
    rs->update();
    EXPECT_EQ(rs->value("Date1").toDateTime(), QDateTime(QDate(2024, 12, 25), QTime(0, 0)));
    EXPECT_EQ(rs->value("Date2").toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(13, 30)));
    EXPECT_EQ(rs->value("PrintNotes"), QVariant(true));
    EXPECT_EQ(rs->value("AddressForLabels").toInt(), 2);
    auto raw = db().openRecordset("Select PrintNotes + 0 as P from tblContacts Where FirstName = 'Ann'");
    EXPECT_EQ(raw->value("P").toInt(), -1) << "Yes is stored as -1";
}

TEST_F(RecordsetTest, TextLongerThanItsFieldIs3163OnEveryPath)
{
    auto rs = db().openRecordset("tblContacts");
    rs->edit();
    EXPECT_RUNTIME_ERROR(rs->setValue("Suffix", QString(21, 'x')), err::FieldTooLong);
    rs->setValue("Suffix", QString(20, 'x'));
    rs->update();
    EXPECT_RUNTIME_ERROR(db().execute("UPDATE tblContacts SET Suffix = '123456789012345678901'"),
                         err::FieldTooLong);
    EXPECT_RUNTIME_ERROR(db().execute("INSERT INTO tblContacts (Selected) VALUES ('xx')"), err::FieldTooLong);
    auto check = db().openRecordset("Select Count(*) as N from tblContacts Where Len(Suffix) > 20");
    EXPECT_EQ(check->value("N").toInt(), 0);
}

TEST_F(RecordsetTest, DuplicateCategoryLinkIs3022)
{
    db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (1, 7)");
    auto links = db().openRecordset("tblCategoryID");
    links->addNew();
    links->setValue("ID", 1);
    links->setValue("CategoryNumber", 7);
    EXPECT_RUNTIME_ERROR(links->update(), err::DuplicateKey);
    EXPECT_EQ(links->editMode(), EditMode::AddNew) << "the new row can still be corrected or cancelled";
    links->cancelUpdate();
    EXPECT_EQ(links->recordCount(), 1);
    EXPECT_RUNTIME_ERROR(db().execute("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (1, 7)"),
                         err::DuplicateKey);
}

TEST_F(RecordsetTest, ValuesOfEveryRowPassOverDeletedRowsAndLeaveTheCurrentRow)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By FirstName");
    rs->deleteRecord(); // Al
    rs->moveNext();
    QStringList names;
    for (const QVariant &name : rs->valuesOf(rs->fieldIndex("FirstName")))
        names << name.toString();
    EXPECT_EQ(names, QStringList({"Ann", "Bob", "Cid", "Dee"}));
    EXPECT_EQ(rs->valuesOf(rs->fieldIndex("RecordID")).front(), idOf("Ann"));
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
}

TEST_F(RecordsetTest, UpdateWithoutEditAndDeletedRows)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By FirstName");
    EXPECT_RUNTIME_ERROR(rs->update(), err::UpdateWithoutEdit);
    EXPECT_RUNTIME_ERROR(rs->cancelUpdate(), err::UpdateWithoutEdit);
    EXPECT_RUNTIME_ERROR(rs->setValue("LastName", "X"), err::UpdateWithoutEdit);
    rs->deleteRecord(); // Al
    EXPECT_RUNTIME_ERROR(rs->value("LastName"), err::RecordDeleted);
    EXPECT_RUNTIME_ERROR(rs->edit(), err::RecordDeleted);
    EXPECT_RUNTIME_ERROR(rs->deleteRecord(), err::RecordDeleted);
    rs->moveNext();
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    EXPECT_EQ(rs->recordCount(), 4);

    // A row deleted by another path is reported when this record set reaches it.
    auto other = db().openRecordset("Select * from tblContacts Order By FirstName");
    other->moveLast();
    db().execute("DELETE FROM tblContacts WHERE FirstName = 'Dee'");
    EXPECT_RUNTIME_ERROR(other->value("FirstName"), err::RecordDeleted);
}

TEST_F(RecordsetTest, BookmarksSurviveDeletesUntilRequery)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    rs->moveNext();
    const Bookmark bob = rs->bookmark();
    rs->moveNext();
    const Bookmark dee = rs->bookmark();
    rs->moveLast();
    const Bookmark ann = rs->bookmark();
    rs->setBookmark(dee);
    rs->deleteRecord();
    rs->setBookmark(bob);
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->moveNext();
    EXPECT_EQ(rs->value("FirstName").toString(), "Cid") << "the deleted row is skipped";
    rs->setBookmark(ann);
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    EXPECT_RUNTIME_ERROR(rs->setBookmark(dee), err::RecordDeleted);
    EXPECT_EQ(rs->absolutePosition(), 3);

    auto other = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    EXPECT_RUNTIME_ERROR(other->setBookmark(bob), err::InvalidBookmark);
    rs->requery();
    EXPECT_RUNTIME_ERROR(rs->setBookmark(bob), err::InvalidBookmark);
    EXPECT_EQ(rs->recordCount(), 4);
}

TEST_F(RecordsetTest, FindFirstNextLastPreviousAndNoMatchKeepsThePlace)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    rs->moveNext();
    rs->findFirst("LastName >= 'C'");
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    rs->findFirst("LastName = 'adams'");
    EXPECT_EQ(rs->value("FirstName").toString(), "Al") << "equality ignores case";
    rs->findNext("LastName = 'Adams'");
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->findNext("LastName = 'Adams'");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob") << "no match leaves the current row";
    rs->findLast("FirstName < 'C'");
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    rs->findPrevious("FirstName < 'C'");
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->findFirst("RecordID = " + QString::number(idOf("Dee")));
    EXPECT_EQ(rs->value("FirstName").toString(), "Dee");
    rs->findFirst("LastName = 'Zed'");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(rs->value("FirstName").toString(), "Dee");
    rs->findFirst("LastName = " + jetQuote("O'Brien"));
    EXPECT_TRUE(rs->noMatch());
}

TEST_F(RecordsetTest, TableTypeSeeksOnItsIndex)
{
    auto rs = db().openRecordset("tblContacts");
    EXPECT_EQ(rs->type(), RecordsetType::Table);
    EXPECT_RUNTIME_ERROR(rs->seek("=", 1), err::NoCurrentIndex);
    EXPECT_RUNTIME_ERROR(rs->setIndex("Nonsense"), err::NotAnIndex);
    EXPECT_RUNTIME_ERROR(rs->findFirst("LastName = 'Adams'"), err::NotSupported);
    rs->setIndex("LastName");
    EXPECT_EQ(rs->index(), "LastName");
    EXPECT_EQ(firstNames(*rs), QStringList({"Al", "Bob", "Dee", "Cid", "Ann"}));
    rs->seek("=", "adams", "bob");
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->seek(">=", "B");
    EXPECT_EQ(rs->value("FirstName").toString(), "Dee");
    rs->seek(">", "Baker");
    EXPECT_EQ(rs->value("FirstName").toString(), "Cid");
    rs->seek("<", "Baker");
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->seek("<=", "Carter");
    EXPECT_EQ(rs->value("FirstName").toString(), "Ann");
    rs->seek(">=", "adams", "B");
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->seek(">", "Adams", "Bob");
    EXPECT_EQ(rs->value("FirstName").toString(), "Dee");
    rs->seek("<", "Baker", "A");
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->seek("<=", "Adams", "Al");
    EXPECT_EQ(rs->value("FirstName").toString(), "Al");
    rs->seek("<", "Adams", "Al");
    EXPECT_TRUE(rs->noMatch());
    rs->seek(">", "Carter", "Ann");
    EXPECT_TRUE(rs->noMatch());
    rs->seek("=", "Nobody");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_RUNTIME_ERROR(rs->edit(), err::NoCurrentRecord);

    rs->setIndex("PrimaryKey");
    rs->seek("=", idOf("Cid"));
    EXPECT_EQ(rs->value("FirstName").toString(), "Cid");
    rs->edit();
    rs->setValue("LastName", "Zorn");
    rs->update();
    EXPECT_EQ(rs->value("LastName").toString(), "Zorn");
    EXPECT_EQ(rs->lastModified().value, idOf("Cid"));
    EXPECT_EQ(rs->recordCount(), 5);
}

TEST_F(RecordsetTest, TableTypeWalksPastNullKeysAndDeletes)
{
    db().execute("INSERT INTO tblContacts (Organization) VALUES ('No Name Inc')");
    auto rs = db().openRecordset("tblContacts");
    rs->setIndex("LastName");
    EXPECT_EQ(rs->value("Organization").toString(), "No Name Inc") << "Null sorts first";
    rs->moveNext();
    EXPECT_EQ(rs->value("FirstName").toString(), "Al");
    rs->deleteRecord();
    rs->moveNext();
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->movePrevious();
    EXPECT_EQ(rs->value("Organization").toString(), "No Name Inc");
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    EXPECT_EQ(rs->recordCount(), 5);
}

TEST_F(RecordsetTest, DynasetWritesThroughTheCategoryQueryReachTheContact)
{
    db().execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Friends')");
    db().execute(
        QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (%1, 1)").arg(idOf("Bob")));
    db().execute(
        QStringLiteral("INSERT INTO tblCategoryID (ID, CategoryNumber) VALUES (%1, 1)").arg(idOf("Ann")));
    auto rs = db().openRecordset(
        "Select * from  qryContacts Where  CategoryNumber = 1  Order By LastName, FirstName ");
    EXPECT_TRUE(rs->updatable());
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->fields()[0].name(), "RecordID");
    EXPECT_EQ(rs->fields()[rs->fieldCount() - 1].name(), "CategoryNumber");
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob");
    rs->edit();
    rs->setValue("Selected", "x");
    rs->setValue("Email_Address", "bob@example.org");
    EXPECT_RUNTIME_ERROR(rs->setValue("CategoryNumber", 2), err::FieldNotUpdatable);
    rs->update();
    EXPECT_EQ(rs->value("Email_Address").toString(), "bob@example.org");
    auto contact = db().openRecordset("Select * from tblContacts Where Selected = 'x'");
    ASSERT_EQ(contact->recordCount(), 1);
    EXPECT_EQ(contact->value("FirstName").toString(), "Bob");
    EXPECT_EQ(contact->value("Email_Address").toString(), "bob@example.org");

    rs->moveNext();
    rs->deleteRecord();
    EXPECT_EQ(db().openRecordset("Select * from tblContacts Where FirstName = 'Ann'")->recordCount(), 0);
}

TEST_F(RecordsetTest, EditedRowStaysInTheSetWhenItNoLongerMatches)
{
    db().execute("UPDATE tblContacts SET Selected = 'x' WHERE FirstName IN ('Al', 'Dee')");
    auto rs =
        db().openRecordset("Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName ");
    ASSERT_EQ(rs->recordCount(), 2);
    rs->edit();
    rs->setValue("Selected", " ");
    rs->update();
    EXPECT_EQ(rs->value("Selected").toString(), " ");
    EXPECT_EQ(rs->value("FirstName").toString(), "Al");
    EXPECT_EQ(rs->recordCount(), 2) << "membership is fixed until requery";
    rs->requery();
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("FirstName").toString(), "Dee");
}

TEST_F(RecordsetTest, AddNewOnADynasetComesLastAndLastModifiedFindsIt)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    rs->moveNext();
    rs->addNew();
    rs->setValue("LastName", "Aaron");
    rs->update();
    EXPECT_EQ(rs->value("FirstName").toString(), "Bob") << "the current row stays where it was";
    EXPECT_EQ(rs->recordCount(), 6);
    rs->setBookmark(rs->lastModified());
    EXPECT_EQ(rs->value("LastName").toString(), "Aaron");
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    rs->requery();
    EXPECT_EQ(rs->value("LastName").toString(), "Aaron");
}

TEST_F(RecordsetTest, RecordSourcesCannotWriteOrCarryASecondStatement)
{
    // The translator refuses these (3075); the engine refuses them again on its own (3219, 3142).
    EXPECT_RUNTIME_ERROR_IN(db().openRecordset("DELETE FROM tblContacts"),
                            {err::SyntaxError, err::InvalidOperation});
    EXPECT_RUNTIME_ERROR_IN(db().openRecordset("Select * from tblContacts; DELETE FROM tblContacts"),
                            {err::SyntaxError, err::CharactersAfterEnd});
    EXPECT_RUNTIME_ERROR_IN(db().openRecordset("UPDATE tblContacts SET LastName = 'X'"),
                            {err::SyntaxError, err::InvalidOperation});
    auto rs = db().openRecordset("Select * from tblContacts");
    EXPECT_RUNTIME_ERROR(rs->findFirst("LastName = 'A'); DELETE FROM tblContacts; --"), err::FindSyntaxError);
    EXPECT_EQ(db().openRecordset("Select * from tblContacts Where LastName <> 'X'")->recordCount(), 5);
    auto table = db().openRecordset("tblContacts", RecordsetType::Table);
    table->setIndex("LastName");
    EXPECT_RUNTIME_ERROR(table->seek("~", 1), err::InvalidOperation);
    EXPECT_RUNTIME_ERROR(db().openRecordset("qryContacts", RecordsetType::Table), err::InvalidOperation);
    EXPECT_RUNTIME_ERROR(db().openRecordset("Select * from tblNothing"), err::InputTableNotFound);
    EXPECT_RUNTIME_ERROR(db().openRecordset("Select * fro tblContacts"), err::SyntaxError);
}

TEST_F(RecordsetTest, EngineCompilesOneStatementOnly)
{
    EXPECT_RUNTIME_ERROR(SqlStatement(db().handle(), "SELECT 1; DELETE FROM tblContacts"),
                         err::CharactersAfterEnd);
    EXPECT_RUNTIME_ERROR(SqlStatement(db().handle(), "SELECT 1 /* */ ; -- only a comment"),
                         err::CharactersAfterEnd);
    SqlStatement trailing(db().handle(), "SELECT 1 ;  \n");
    EXPECT_TRUE(trailing.readOnly());
    EXPECT_FALSE(SqlStatement(db().handle(), "DELETE FROM tblContacts").readOnly());
    EXPECT_EQ(db().openRecordset("tblContacts")->recordCount(), 5);
}

TEST_F(RecordsetTest, ExecuteReportsRecordsAffected)
{
    EXPECT_EQ(db().execute("Update tblContacts Set Selected='x' Where LastName='Adams'"), 2);
    EXPECT_EQ(db().recordsAffected(), 2);
    EXPECT_EQ(db().execute("Update tblContacts Set Selected=' ' Where Selected='x'"), 2);
    EXPECT_EQ(db().execute("DELETE FROM tblContacts WHERE RecordID = 0"), 0);
    EXPECT_RUNTIME_ERROR_IN(db().execute("UPDATE tblContacts SET LastName = 'A'; DELETE FROM tblContacts"),
                            {err::SyntaxError, err::CharactersAfterEnd});
    EXPECT_EQ(db().openRecordset("tblContacts")->recordCount(), 5);
}

TEST_F(RecordsetTest, SnapshotsAndComputedQueriesAreReadOnly)
{
    auto snapshot = db().openRecordset("Select * from tblContacts", RecordsetType::Snapshot);
    EXPECT_EQ(snapshot->type(), RecordsetType::Snapshot);
    EXPECT_RUNTIME_ERROR(snapshot->edit(), err::NotUpdatable);
    auto count = db().openRecordset("Select Count(*) as RowCount from tblContacts Where Selected = 'x'");
    EXPECT_EQ(count->value("RowCount").toLongLong(), 0);
    EXPECT_RUNTIME_ERROR(count->addNew(), err::NotUpdatable);
    auto distinct = db().openRecordset("Select Distinct LastName from tblContacts Order By LastName");
    EXPECT_EQ(distinct->recordCount(), 4);
    distinct->findFirst("LastName = 'Baker'");
    EXPECT_EQ(distinct->absolutePosition(), 1);
}

TEST_F(RecordsetTest, JoinedListAddsLinksThroughItsOwnTable)
{
    db().execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Quilters')");
    const QString sql =
        QStringLiteral("SELECT ID, CategoryDesc, tblCategoryID.CategoryNumber FROM tblCategoryID LEFT "
                       "JOIN tblCategoryDesc ON tblCategoryID.CategoryNumber = "
                       "tblCategoryDesc.CategoryNumber WHERE tblCategoryID.ID=%1 Order By CategoryDesc")
            .arg(idOf("Dee"));
    auto rs = db().openRecordset(sql);
    EXPECT_TRUE(rs->eof());
    rs->addNew();
    rs->setValue("ID", idOf("Dee"));
    rs->setValue("CategoryNumber", 1);
    rs->update();
    rs->requery();
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("CategoryDesc").toString(), "Quilters");
    rs->deleteRecord();
    EXPECT_EQ(db().openRecordset("tblCategoryID")->recordCount(), 0);
}

TEST_F(RecordsetTest, ReminderQueriesAddEditDeleteAndFollowTheClock)
{
    setClockForTesting([] { return QDateTime(QDate(2024, 3, 1), QTime(9, 0)); });
    const qint64 ann = idOf("Ann");
    auto reminders = db().openRecordset("qryRemind");
    EXPECT_EQ(reminders->type(), RecordsetType::Dynaset);
    struct R {
        const char *description;
        QDate date;
        int warning;
        const char *status;
        qint64 linked;
    };
    for (const R &r :
         {R{"Birthday", QDate(2024, 3, 10), 15, "Active", ann},
          R{"Overdue", QDate(2024, 2, 1), 0, "Active", 0}, R{"Later", QDate(2024, 5, 1), 7, "Active", ann},
          R{"Quiet", QDate(2024, 2, 2), 0, "Inactive", 0}, R{"Today", QDate(2024, 3, 1), 0, "active", 0}}) {
        reminders->addNew();
        reminders->setValue("Description", r.description);
        reminders->setValue("RemindDate", r.date);
        reminders->setValue("WarningDays", r.warning);
        reminders->setValue("WarnDate", r.date.addDays(-r.warning));
        reminders->setValue("Status", r.status);
        reminders->setValue("FrequencyPeriod", "One time");
        reminders->setValue("LinkedRecordID", r.linked);
        reminders->update();
    }
    reminders->requery();
    EXPECT_EQ(reminders->recordCount(), 5);
    EXPECT_EQ(reminders->value("Description").toString(), "Overdue") << "soonest first";
    reminders->findFirst("Description = 'Birthday'");
    EXPECT_EQ(reminders->value("LastName").toString(), "Carter");
    EXPECT_TRUE(reminders->value("Organization").toString().isEmpty());

    EXPECT_EQ(db().execute("DELETE FROM tblCurrentReminders"), 0);
    EXPECT_EQ(
        db().execute("INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, Description, "
                     "Notes, WarnDate) SELECT RemindDate, LinkedRecordID, TblRemindRecordID, Description, "
                     "Notes, WarnDate FROM qryNewReminders"),
        3)
        << "Birthday (warned from Feb 24), Overdue and Today are due";
    auto due = db().openRecordset("qryCurrentReminders");
    EXPECT_EQ(due->recordCount(), 3);
    due->findFirst("Description = 'Birthday'");
    EXPECT_EQ(due->value("FirstName").toString(), "Ann");
    due->deleteRecord();
    EXPECT_EQ(db().openRecordset("tblCurrentReminders")->recordCount(), 2);
    EXPECT_EQ(db().openRecordset("tblRemind")->recordCount(), 5) << "removing a due row keeps the reminder";

    setClockForTesting([] { return QDateTime(QDate(2024, 4, 30), QTime(9, 0)); });
    EXPECT_EQ(db().openRecordset("qryNewReminders")->recordCount(), 4) << "Later is due from April 24";
    setClockForTesting({});
}

TEST(JetQuote, DoublesQuotesSoUserTextStaysOneLiteral)
{
    EXPECT_EQ(jetQuote("Smith"), "'Smith'");
    EXPECT_EQ(jetQuote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(jetQuote(""), "''");
    EXPECT_EQ(jetQuote("a' OR 'x'='x"), "'a'' OR ''x''=''x'");

    TempDatabase temp;
    const QString hostile = QStringLiteral("x'; DELETE FROM tblContacts; --");
    temp.db().execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES (" + jetQuote(hostile) + ")");
    auto rs =
        temp.db().openRecordset("Select * from tblCategoryDesc Where CategoryDesc = " + jetQuote(hostile));
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("CategoryDesc").toString(), hostile);
}

TEST(RecordsetLarge, ManyRowsStreamFetchAndCountExactly)
{
    TempDatabase temp;
    ContactGenerator::insert(temp.db(), 3000, 7);
    auto rs = temp.db().openRecordset("Select * from  tblContacts Order By LastName, FirstName ");
    // Walk forward reading as the query runs, then check random access against it.
    QStringList walked;
    for (; !rs->eof(); rs->moveNext())
        walked.append(rs->value("LastName").toString() + "|" + rs->value("RecordID").toString());
    EXPECT_EQ(walked.size(), 3000);
    EXPECT_EQ(rs->recordCount(), 3000);
    for (qint64 ordinal : {2999, 0, 1500, 64, 63, 2048}) {
        rs->setAbsolutePosition(ordinal);
        EXPECT_EQ(rs->value("LastName").toString() + "|" + rs->value("RecordID").toString(), walked[ordinal]);
        EXPECT_EQ(rs->valueAt(ordinal, 4).toString() + "|" + rs->valueAt(ordinal, 0).toString(),
                  walked[ordinal]);
    }
    rs->moveLast();
    for (int i = 2998; i >= 2900; --i) {
        rs->movePrevious();
        ASSERT_EQ(rs->value("LastName").toString() + "|" + rs->value("RecordID").toString(), walked[i]);
    }
    // A table-type record set on the same index walks the same order, both ways, through
    // contacts without a last name and many that share one.
    auto table = temp.db().openRecordset("tblContacts");
    table->setIndex("LastName");
    QStringList forward, backward;
    for (; !table->eof(); table->moveNext())
        forward.append(table->value("LastName").toString() + "|" + table->value("RecordID").toString());
    EXPECT_EQ(forward, walked);
    for (table->moveLast(); !table->bof(); table->movePrevious())
        backward.prepend(table->value("LastName").toString() + "|" + table->value("RecordID").toString());
    EXPECT_EQ(backward, walked);

    // Counting part-way through takes the rest of the keys at once, in the same order.
    auto counted = temp.db().openRecordset("Select * from  tblContacts Order By LastName, FirstName ");
    for (int i = 0; i < 10; ++i)
        counted->moveNext();
    EXPECT_EQ(counted->recordCount(), 3000);
    EXPECT_EQ(counted->value("LastName").toString() + "|" + counted->value("RecordID").toString(),
              walked[10]);
    counted->moveLast();
    EXPECT_EQ(counted->value("LastName").toString() + "|" + counted->value("RecordID").toString(),
              walked[2999]);
    counted->setAbsolutePosition(1777);
    EXPECT_EQ(counted->value("LastName").toString() + "|" + counted->value("RecordID").toString(),
              walked[1777]);

    // Walking again from the top after a write still gives every row once.
    temp.db().execute("UPDATE tblContacts SET Code = 'Z' WHERE RecordID = 10");
    QStringList again;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        again.append(rs->value("LastName").toString() + "|" + rs->value("RecordID").toString());
    EXPECT_EQ(again, walked);
    // A second record set keeps its own place while the first one writes.
    auto other = temp.db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    other->moveNext();
    rs->moveFirst();
    rs->edit();
    rs->setValue("LastName", "Zzyzx");
    rs->update();
    EXPECT_EQ(other->recordCount(), 3000);
    other->moveNext();
    EXPECT_EQ(other->value("LastName").toString() + "|" + other->value("RecordID").toString(), walked[2]);
}
