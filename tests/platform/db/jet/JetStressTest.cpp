#include "JetTestDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetQuote.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Long criteria and numbers at the edges of their ranges.
class JetStress : public ::testing::Test {
  protected:
    int errorOf(const QString &criterion) { return db.errorOf(criterion); }

    // n terms "<field> = 'n0'", "<field> = 'n1'", ... joined by the operator.
    static QString chain(const QString &op, int n, const QString &term = QStringLiteral("LastName = 'n%1'"))
    {
        QStringList terms;
        for (int i = 0; i < n; ++i)
            terms << term.arg(i);
        return terms.join(u' ' + op + u' ');
    }

    JetTestDatabase db;
};

} // namespace

TEST_F(JetStress, LongAndOrChainsRunAndGiveTheirRows)
{
    EXPECT_EQ(db.lastNamesWhere(chain("Or", 5000) + " Or LastName = 'Jones' Or RecordID = 1"),
              QStringList({"Smith", "Jones"}));
    EXPECT_EQ(db.lastNamesWhere(chain("Or", 5000)), QStringList());
    EXPECT_EQ(db.lastNamesWhere(chain("And", 3000, "LastName <> 'n%1'") + " And City = 'Boston'"),
              QStringList({"Smith", "Jones"}));
    // Or binds weaker than And inside a long chain too.
    EXPECT_EQ(db.lastNamesWhere(chain("Or", 300) + " Or City = 'Boston' And LastName = 'Jones' Or " +
                                chain("Or", 300, "RecordID = %1 + 1000")),
              QStringList({"Jones"}));
    EXPECT_EQ(db.lastNamesWhere("Not (" + chain("Or", 2000) + " Or City = 'Boston')"),
              QStringList({"smithers", "O'Brien", "Écrivain"}));
}

TEST_F(JetStress, LongArithmeticAndConcatenationChainsKeepTheirValue)
{
    // 100 - 1 - 1 ... and mixed signs across many groups of the flat form.
    EXPECT_EQ(db.value("100" + QString(" - 1").repeated(5000)).toLongLong(), -4900);
    EXPECT_EQ(db.value("1" + QString(" + 2 - 1").repeated(3000)).toLongLong(), 3001);
    EXPECT_EQ(db.value("10 - 2 * 3 + 1").toLongLong(), 5);
    EXPECT_EQ(db.value("2 - 3 - 4").toLongLong(), -5);
    EXPECT_EQ(db.value("1" + QString(" * 1").repeated(3000) + QString(" * 2").repeated(10)).toLongLong(), 1024);
    EXPECT_DOUBLE_EQ(db.value("Score" + QString(" + 1").repeated(1000), 1).toDouble(), 1007.5);
    EXPECT_TRUE(db.value("Score" + QString(" + 1").repeated(1000), 3).isNull());
    // A date stays a date when a sum meets it part way.
    EXPECT_EQ(db.value("Year(1 + 1 + Date1 + 365 + 1)", 1).toLongLong(), 2025);

    EXPECT_EQ(db.value(QStringList(1000, "'ab'").join(" & ")).toString(), QString("ab").repeated(1000));
    EXPECT_TRUE(db.value(QStringList(500, "Null").join(" & ")).isNull());
    EXPECT_EQ(db.value(QStringList(300, "Null").join(" & ") + " & 'x' & " + QStringList(300, "Null").join(" & "))
                  .toString(),
              "x");
}

TEST_F(JetStress, NumbersOutOfRangeGiveTheLanguagesRunTimeErrors)
{
    for (const auto &[text, number] : QList<std::pair<const char *, int>>{
             {"Year(1e300) = 1", err::Overflow},
             {"Month(-1e300) = 1", err::Overflow},
             {"Year(2958466) = 1", err::Overflow},
             {"DateDiff('d', 1e300, Date1) = 1", err::Overflow},
             {"DateDiff('s', Date1, 2^31 * 1e6) = 1", err::Overflow},
             {"DateSerial(4294967297, 1, 1) = Date1", err::Overflow},
             {"DateSerial(2024, 2147483647, 1) = Date1", err::Overflow},
             {"DateSerial(2024, 1, -2147483648) = Date1", err::Overflow},
             {"DateSerial(2024, 1, 1e300) = Date1", err::Overflow},
             {"DateAdd('yyyy', 4294967297, Date1) = Date1", err::InvalidProcedureCall},
             {"DateAdd('m', 2147483648, Date1) = Date1", err::InvalidProcedureCall},
             {"DateAdd('s', 1e300, Date1) = Date1", err::InvalidProcedureCall},
             {"DateAdd('d', -1e18, Date1) = Date1", err::InvalidProcedureCall},
             {"Mid('abcdef', 4294967298, 1) = 'b'", err::Overflow},
             {"Mid('abcdef', 2, 4294967297) = 'b'", err::Overflow},
             {"Mid('abcdef', 0, 1) = 'b'", err::InvalidProcedureCall},
             {"Mid('abcdef', 2, -1) = 'b'", err::InvalidProcedureCall},
             {"Left('abc', 4294967297) = 'a'", err::Overflow},
             {"Left('abc', -1) = 'a'", err::InvalidProcedureCall},
             {"Right('abc', 1e10) = 'a'", err::Overflow},
             {"InStr(1e10, 'abc', 'b') = 1", err::Overflow},
             {"Year('abc') = 1", err::CriteriaTypeMismatch},
         })
        EXPECT_EQ(errorOf(QString::fromUtf8(text) + " And RecordID = 1"), number) << text;

    // The edges themselves still work.
    EXPECT_EQ(db.value("Year(2958465)").toInt(), 9999);
    EXPECT_EQ(db.value("Year(-657434)").toInt(), 100);
    EXPECT_EQ(db.value("Year(DateAdd('yyyy', 7974, Date1))", 1).toInt(), 9998);
    EXPECT_EQ(db.value("Year(DateSerial(2024, 13, 1))").toInt(), 2025);
    EXPECT_EQ(db.value("Mid('abcdef', 2, 3)").toString(), "bcd");
    EXPECT_EQ(db.value("Mid('abcdef', 4)").toString(), "def");
    EXPECT_EQ(db.value("Mid('abcdef', 9, 2)").toString(), "");
    EXPECT_EQ(db.value("Left('abcdef', 2147483647)").toString(), "abcdef");
    EXPECT_TRUE(db.value("Mid(Organization, 1, 2)", 3).isNull());
}

TEST(JetStressFind, FindFirstOverMoreLiteralsThanTheEngineBinds)
{
    TempDatabase temp;
    Database &db = temp.db();
    for (const char *name : {"Adams", "Baker", "O'Neil", "Carter"})
        db.execute(QStringLiteral("INSERT INTO tblContacts (LastName) VALUES (%1)").arg(jetQuote(name)));
    auto rs = db.openRecordset("Select * from tblContacts Order By LastName");
    QStringList terms;
    for (int i = 0; i < 2000; ++i)
        terms << QStringLiteral("LastName = 'n%1'").arg(i);
    rs->findFirst(terms.join(" Or ") + " Or LastName = 'O''Neil' Or LastName = 'Carter'");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("LastName").toString(), "Carter");
    rs->findNext(terms.join(" Or ") + " Or LastName = 'O''Neil' Or LastName = 'Carter'");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("LastName").toString(), "O'Neil");
    rs->findFirst(terms.join(" Or "));
    EXPECT_TRUE(rs->noMatch());
    // A short criterion after a long one still finds with its own values.
    rs->findFirst("LastName = 'Baker'");
    EXPECT_EQ(rs->value("LastName").toString(), "Baker");
}
