#include "support/TempDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/db/jet/JetDialect.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

using namespace platform;

namespace {

// Every query text the program builds or stores, translated with the catalog of the
// database the program comes with and run on it.
class JetShippedSchema : public ::testing::Test {
  protected:
    void SetUp() override
    {
        setClockForTesting([] { return QDateTime(QDate(2024, 12, 22), QTime(9, 0)); });
        // The rows go in through the translator too.
        for (const char *text : {
                 "Insert Into tblContacts (FirstName, LastName, Organization, Selected, Notes, Date1, "
                 "DateUpdated, PrintNotes, PicturePath3) Values (\"John\", \"Smith\", \"Acme\", 'x', "
                 "\"Knows Kowalski\", #12/25/2024#, #3/5/2024 1:30 PM#, True, \"T\")",
                 "Insert Into tblContacts (FirstName, LastName, Selected, DateUpdated) Values ('Ann', "
                 "'O''Neil', ' ', #12/24/2024#)",
                 "Insert Into tblContacts (FirstName, LastName) Values ('Zoë', 'Écrivain')",
                 "Insert Into tblCategoryDesc (CategoryDesc) Values ('Friends')",
                 "Insert Into tblCategoryID (ID, CategoryNumber) Values (1, 1)",
                 "Insert Into tblCategoryID (ID, CategoryNumber) Values (2, 1)",
                 "Insert Into tblRemind (LinkedRecordID, Description, RemindDate, WarningDays, WarnDate, "
                 "Status, FrequencyPeriod, FrequencyAmount) Values (1, 'Birthday', #12/25/2024#, 5, "
                 "#12/20/2024#, 'Active', 'Years', 1)",
                 "Insert Into tblSettings (Type, Name, Setting1) Values ('CATEGORY', 'Friends', ' "
                 "CategoryNumber = 1 ')",
                 "Insert Into tblSettings (Type, Name, Setting8) Values ('FILTER', 'Smiths', 'LastName Like "
                 "\"Sm*\"')",
                 "Insert Into tblSettings (Type, Name, Setting8) Values ('NOTE', 'Shopping', 'milk')",
             })
            execute(text);
    }
    void TearDown() override { setClockForTesting({}); }

    Database &db() { return mTemp.db(); }

    // Translates and runs a text; the number of rows it gave (or changed).
    int run(const QString &jet, JetTextKind kind = JetTextKind::ReadOnlyQuery)
    {
        QString sql;
        try {
            sql = translateJetSql(jet, kind, db().catalog()).sql;
        } catch (const RuntimeError &e) {
            ADD_FAILURE() << jet.toStdString() << ": " << e.description().toStdString();
            return -1;
        }
        return step(sql, jet);
    }
    int execute(const QString &jet)
    {
        const int rows = run(jet, JetTextKind::ActionQuery);
        return rows < 0 ? rows : sqlite3_changes(db().handle());
    }
    int where(const QString &criterion, const QString &source)
    {
        QString sql;
        try {
            sql = translateJetCriterion(criterion, source, db().catalog());
        } catch (const RuntimeError &e) {
            ADD_FAILURE() << criterion.toStdString() << ": " << e.description().toStdString();
            return -1;
        }
        return step("SELECT * FROM " + source + " WHERE " + sql, criterion);
    }
    int step(const QString &sql, const QString &jet)
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db().handle(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << jet.toStdString() << "\n"
                          << sql.toStdString() << ": " << sqlite3_errmsg(db().handle());
            return -1;
        }
        int rows = 0, rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            ++rows;
        EXPECT_EQ(rc, SQLITE_DONE) << jet.toStdString() << ": " << sqlite3_errmsg(db().handle());
        sqlite3_finalize(stmt);
        return rows;
    }
    QStringList contactFields()
    {
        QStringList names;
        for (const JetColumn &c : *db().catalog()("tblContacts"))
            names << c.name;
        return names;
    }

    TempDatabase mTemp;
};

} // namespace

TEST_F(JetShippedSchema, MainListSources)
{
    const QString category = " CategoryNumber = 1 ";
    EXPECT_EQ(run("Select * from tblContacts Order By LastName"), 3);
    EXPECT_EQ(run("Select * from qryContacts Where" + category + " Order By LastName"), 2);
    EXPECT_EQ(run("Select * from  tblContacts Order By LastName, FirstName "), 3);
    EXPECT_EQ(run("Select * from  tblContacts Where Selected = 'x'  Order By LastName, FirstName "), 1);
    // A new contact is unmarked (a blank), so it counts as hidden-selected.
    EXPECT_EQ(
        run("Select * from  tblContacts Where Selected < 'x'  Order By Organization, LastName, FirstName"),
        2);
    EXPECT_EQ(run("Select * from  qryContacts Where " + category + " And Selected = 'x'  Order By FirstName"),
              1);
    EXPECT_EQ(run("Select * from  qryContacts Where " + category +
                  " And Selected < 'x'  Order By DateUpdated DESC"),
              1);
    EXPECT_EQ(run("Select Count(*) as RowCount from tblContacts  Where Selected = 'x' "), 1);
    EXPECT_EQ(run("Select Count(*) as RowCount from qryContacts  Where " + category + " And Selected < 'x' "),
              1);
    // Every field of the contact table can be the sort order, and the locate on it.
    for (const QString &field : contactFields()) {
        EXPECT_EQ(run("Select * from  tblContacts Order By " + field), 3) << field.toStdString();
        EXPECT_GE(where(field + " like \"S*\"", "tblContacts"), 0) << field.toStdString();
        EXPECT_GE(where(field + " like \"*\"", "qryContacts"), 0) << field.toStdString();
    }
    EXPECT_EQ(where("LastName like \"smi*\"", "tblContacts"), 1);
    EXPECT_EQ(where("DateUpdated like \"12/24*\"", "tblContacts"), 1);
    EXPECT_EQ(where("RecordID = 2", "tblContacts"), 1);
    EXPECT_EQ(where("RecordID=2", "qryContacts"), 1);
}

TEST_F(JetShippedSchema, FilterAndFind)
{
    EXPECT_EQ(
        run("Select distinctrow * from  tblContacts Where  (LastName Like \"Sm*\" OR Notes Like \"*ski*\")  "
            "Order By LastName, FirstName "),
        1);
    EXPECT_EQ(
        run("Select distinctrow * from  qryContacts Where  (LastName Like \"O*\")  And  CategoryNumber = 1 "
            " order by FirstName"),
        1);
    // The find condition over every searchable field, as the find command builds it.
    // The text's own blanks stay inside the patterns.
    const QList<std::pair<QString, int>> finds = {{"ç", 0},      {"12/25/2024", 1}, {"acme", 1},
                                                  {" Acme ", 0}, {"kowal", 1},      {"Zo?", 1}};
    for (const auto &[text, expected] : finds) {
        QString condition = " (";
        const QStringList fields = contactFields();
        for (int i = 1; i < fields.size(); ++i) {
            const QString u = fields[i].toUpper();
            if (u.contains("DESC") || u.contains("ADDRESSFORLABELS") || u.contains("SELECTED") ||
                u.contains("PRINTNOTES"))
                continue;
            if (u.contains("DATE")) {
                if (text.contains('/'))
                    condition += fields[i] + "=#" + text + "# OR ";
                continue;
            }
            condition += fields[i] + " Like \"*" + text + "*\" OR ";
        }
        condition.chop(3);
        condition += ")";
        EXPECT_EQ(run("Select DISTINCTROW * from  tblContacts Where " + condition +
                      " Order By LastName, FirstName "),
                  expected)
            << text.toStdString();
    }
}

TEST_F(JetShippedSchema, SettingsCategoriesRemindersAndPictures)
{
    for (const char *type : {"VERSION", "ASSIGNCATGONADD", "TEMPLATE RecordID", "BACKCOLOR", "TABLET",
                             "GRIDSORTORDER", "REMINDERSTARTUP", "CATEGORYSTARTUP", "CATEGORY", "FILTER",
                             "COMMSETTINGS", "RETURNADDRESSCHOICE", "RETURNADDRESS1", "RETURNADDRESS2"})
        EXPECT_GE(run(QStringLiteral("Select * from tblSettings Where Type='%1'").arg(type)), 0) << type;
    EXPECT_EQ(run("Select * from tblSettings Where Type='COMMSETTINGS'"), 1);
    EXPECT_EQ(run("Select Type, Name, Setting8 from tblSettings Where Type='NOTE' Order by Name"), 1);
    EXPECT_EQ(run("Select Name from tblSettings Where Type='LASTNOTE'"), 0);
    EXPECT_EQ(run("Select Name, Type from tblSettings Where Type='LASTNOTE'"), 0);
    EXPECT_EQ(run("Select * from tblSettings Where Type='REPORT' And Name='Envelope Orientation'"), 1);
    EXPECT_EQ(run("Select * from tblSettings Where Type='REPORTdefault' And Name='Pocket Report'"), 1);
    EXPECT_EQ(run("Select * from tblSettings Where Type='REPORT' And Name='Pocket Report'"), 0);
    EXPECT_EQ(run("Select * from tblSettings Where Type='FILTER' and Name='smiths'"), 1);
    EXPECT_EQ(where("Type='Note' And Name='shopping'", "tblSettings"), 1);

    EXPECT_EQ(run("Select * from tblCategoryDesc Order By CategoryDesc"), 1);
    EXPECT_EQ(run("Select CategoryDesc, CategoryNumber from tblCategoryDesc Order By CategoryDesc"), 1);
    EXPECT_EQ(run("Select count(*) as CountRecs from tblCategoryID Where CategoryNumber=1"), 1);
    EXPECT_EQ(run("SELECT ID, CategoryDesc, tblCategoryID.CategoryNumber FROM tblCategoryID LEFT JOIN "
                  "tblCategoryDesc ON tblCategoryID.CategoryNumber = tblCategoryDesc.CategoryNumber WHERE "
                  "tblCategoryID.ID=1 Order By CategoryDesc"),
              1);
    EXPECT_EQ(where("CategoryDesc like \"F*\"", "tblCategoryDesc"), 1);
    EXPECT_EQ(where("CategoryDesc=\"friends\"", "tblCategoryDesc"), 1);
    EXPECT_EQ(where("ID=1 AND CategoryNumber=1", "tblCategoryID"), 1);

    EXPECT_EQ(run("Select * from qryRemind"), 1);
    EXPECT_EQ(where("RecordID=1", "qryRemind"), 1);
    EXPECT_EQ(run("Select * from tblRemind where RemindDate=#12/25/2024# and RecordID=1"), 1);
    EXPECT_EQ(execute("Delete * from tblCurrentReminders"), 0);
    EXPECT_EQ(
        execute("INSERT INTO tblCurrentReminders (RemindDate, RecordID, TblRemindRecordID, Description, "
                "Notes, WarnDate) SELECT RemindDate, LinkedRecordID, TblRemindRecordID, Description, Notes, "
                "WarnDate FROM qryNewReminders"),
        1);
    EXPECT_EQ(run("Select * from qryCurrentReminders"), 1);

    QStringList pictures;
    for (int i = 1; i <= 8; ++i)
        pictures << QStringLiteral("PicturePath%1 = \"t\"").arg(i);
    EXPECT_EQ(run("Select LastName from tblContacts Where " + pictures.join(" Or ") + " Order By LastName"),
              1);
}

TEST_F(JetShippedSchema, ActionQueries)
{
    EXPECT_EQ(execute("Update tblContacts Set Selected=' ' Where Selected='x'"), 1);
    EXPECT_EQ(execute("Delete from tblCategoryID Where CategoryNumber=1"), 2);
    EXPECT_EQ(execute("DELETE FROM tblContacts WHERE RecordID = 3"), 1);
    EXPECT_EQ(run("Select * from tblContacts"), 2);
}
