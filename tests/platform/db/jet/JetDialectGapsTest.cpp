#include "JetTestDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/db/DaoError.h"
#include "platform/db/SqliteError.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class JetDialectGaps : public ::testing::Test {
  protected:
    void SetUp() override
    {
        setClockForTesting([] { return QDateTime(QDate(2024, 12, 30), QTime(14, 5, 9)); });
    }
    void TearDown() override { setClockForTesting({}); }

    int errorOf(const QString &criterion) { return db.errorOf(criterion); }
    int sourceErrorOf(const QString &jet)
    {
        try {
            translateJetSql(jet, JetTextKind::ReadOnlyQuery, db.catalog());
        } catch (const RuntimeError &e) {
            return e.number();
        }
        return 0;
    }

    JetTestDatabase db;
};

} // namespace

TEST_F(JetDialectGaps, BetweenTakesItsBoundsInEitherOrder)
{
    struct Case {
        const char *criterion;
        QStringList names;
    };
    const QList<Case> cases = {
        {"Score Between 2 And 8", {"Smith", "smithers"}},
        {"Score Between 8 And 2", {"Smith", "smithers"}},
        {"Score Not Between 8 And 2", {"Écrivain", "Jones"}},
        {"LastName Between \"s\" And \"SMITH\"", {"Smith"}},
        {"LastName Between \"SMITHZ\" And \"s\"", {"Smith", "smithers"}},
        {"Date1 Between #12/31/2024# And #1/1/2024#", {"Smith"}},
        {"Date1 Between \"1/1/2024\" And #1/1/1999#", {"O'Brien", "Jones"}},
        {"RecordID Between 4 And 2", {"smithers", "O'Brien", "Écrivain"}},
        // A Null bound matches nothing, whichever side it stands on.
        {"Score Between Null And 8", {}},
        {"Score Between 8 And Null", {}},
        // A text that reads as a number bounds a number.
        {"Score Between \"8\" And \" 1 \"", {"Smith", "smithers"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(db.lastNamesWhere(c.criterion), c.names) << c.criterion;
    EXPECT_EQ(db.column("Select LastName from tblContacts Where Score Between 10 And 7.5 Order By Score"),
              QStringList({"Smith", "Écrivain"}));
}

TEST_F(JetDialectGaps, IntegerDivisionAndModRoundTheirOperandsHalfToEven)
{
    struct Case {
        const char *expression;
        QVariant value;
    };
    const QList<Case> cases = {
        {"7 \\ 2", 3},          {"-7 \\ 2", -3},       {"2.5 \\ 1", 2},        {"3.5 \\ 1", 4},
        {"7 \\ 2.5", 3},        {"7 \\ 1.5", 3},       {"-2.5 \\ 1", -2},      {"7 Mod 2.5", 1},
        {"7.5 Mod 3", 2},       {"8.5 Mod 3", 2},      {"-7 Mod 3", -1},       {"7 Mod -3", 1},
        {"Score \\ 2", 4},      {"Score Mod 4", 0},    {"\"9\" \\ 2", 4},      {"1 + 7 Mod 4 * 2", 8},
    };
    for (const Case &c : cases)
        EXPECT_EQ(db.value(c.expression), c.value) << c.expression;
    EXPECT_TRUE(db.value("Score Mod 2", 3).isNull());
    EXPECT_TRUE(db.value("Null \\ 2").isNull());
    EXPECT_EQ(errorOf("RecordID \\ 0 = 1"), err::DivisionByZero);
    EXPECT_EQ(errorOf("RecordID Mod 0.4 = 1"), err::DivisionByZero);
    EXPECT_EQ(db.lastNamesWhere("RecordID Mod 2 = 0"), QStringList({"smithers", "Écrivain"}));
}

TEST_F(JetDialectGaps, ErrorNumbersFollowTheEntryPoint)
{
    struct Case {
        const char *criterion;
        int number;
    };
    const QList<Case> cases = {
        {"Soundex(LastName) = 'S530'", err::UndefinedFunction},
        {"LastName(1) = 'x'", err::UndefinedFunction},
        {"Score = \"abc\"", err::CriteriaTypeMismatch},
        {"\"seven\" < Score", err::CriteriaTypeMismatch},
        {"RecordID In (1, \"two\")", err::CriteriaTypeMismatch},
        {"Score Between 1 And \"ten\"", err::CriteriaTypeMismatch},
        {"Date1 = \"not a date\"", err::CriteriaTypeMismatch},
        {"Date1 > \"13/45/2024\"", err::CriteriaTypeMismatch},
        {"Year(Date1) = \"x\"", err::CriteriaTypeMismatch},
        {"CInt(LastName) = 1", err::CriteriaTypeMismatch},
        {"Score = \"7.5\"", 0},
        {"Date1 = \"12/25/2024\"", 0},
        {"RecordID In (\"1\", 2)", 0},
        {"LastName = 7", 0},
        {"LastName = ", err::SyntaxError},
        {"Nickname = 'x'", err::UnknownName},
        {"RecordID In (Select ID From tblNowhere)", err::InputTableNotFound},
    };
    for (const Case &c : cases)
        EXPECT_EQ(errorOf(c.criterion), c.number) << c.criterion;
    EXPECT_EQ(sourceErrorOf("Select * from tblNowhere"), err::InputTableNotFound);
    EXPECT_EQ(sourceErrorOf("Select * from tblContacts Where Score = 'abc'"), err::CriteriaTypeMismatch);
    EXPECT_EQ(sourceErrorOf("Select * from tblContacts Where Zap(Score) = 1"), err::UndefinedFunction);
    EXPECT_EQ(db.lastNamesWhere("Score = \"7.5\""), QStringList({"Smith"}));
    EXPECT_EQ(db.lastNamesWhere("Score >= \" 7.5 \""), QStringList({"Smith", "Écrivain"}));
}

TEST_F(JetDialectGaps, FindFirstHasNumbersOfItsOwn)
{
    auto findError = [&](const QString &criterion) {
        try {
            translateJetFindCriterion(criterion, "tblContacts", db.catalog());
        } catch (const RuntimeError &e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(findError("LastName = "), err::FindSyntaxError);
    EXPECT_EQ(findError("LastName = 'x'; Delete From tblContacts"), err::FindSyntaxError);
    EXPECT_EQ(findError("LastName = \"x"), err::FindSyntaxError);
    EXPECT_EQ(findError("Nickname = 'x'"), err::FindUnknownName);
    EXPECT_EQ(findError("Soundex(LastName) = 'x'"), err::UndefinedFunction);
    EXPECT_EQ(findError("Score = 'x'"), err::CriteriaTypeMismatch);
    EXPECT_EQ(findError("LastName = 'x'"), 0);
}

TEST_F(JetDialectGaps, VbaFunctionsGiveTheLanguagesValues)
{
    struct Case {
        const char *expression;
        QVariant value;
        int record = 1;
    };
    const QList<Case> cases = {
        {"IsNull(Organization)", -1, 3},
        {"IsNull(Organization)", 0},
        {"IsNull(Null)", -1},
        {"StrComp(\"abc\", \"ABC\")", 0},
        {"StrComp(\"abc\", \"ABC\", 0)", 1},
        {"StrComp(\"a\", \"b\", 1)", -1},
        {"Abs(-2.5)", 2.5},
        {"Abs(\"-3\")", 3},
        {"Int(-2.5)", -3},
        {"Fix(-2.5)", -2},
        {"Int(2.7)", 2},
        {"Sgn(-4)", -1},
        {"Sgn(0)", 0},
        {"Sgn(Score)", 1},
        {"Round(2.5)", 2},
        {"Round(3.5)", 4},
        {"Round(2.345, 2)", 2.35},
        {"\"[\" & Space(3) & \"]\"", "[   ]"},
        {"String(3, \"xyz\")", "xxx"},
        {"String(2, 65)", "AA"},
        {"String(2, 321)", "AA"},
        {"Hour(DateUpdated)", 13},
        {"Minute(DateUpdated)", 30},
        {"Second(DateUpdated)", 0},
        {"Hour(Date1)", 0},
        {"Weekday(#12/29/2024#)", 1},
        {"Weekday(#12/30/2024#)", 2},
        {"Weekday(#12/30/2024#, 2)", 1},
        {"Weekday(Date1)", 4},
        {"IsDate(\"12/25/2024\")", -1},
        {"IsDate(\"13/45/2024\")", 0},
        {"IsDate(Date1)", -1},
        {"IsDate(Null)", 0},
        {"IsNumeric(\" 12.5 \")", -1},
        {"IsNumeric(\"12a\")", 0},
        {"IsNumeric(\"\")", 0},
        {"IsNumeric(Score)", -1},
        {"IsNumeric(Null)", 0},
        {"CInt(2.5)", 2},
        {"CInt(3.5)", 4},
        {"CInt(\"-1.5\")", -2},
        {"CLng(100000.5)", 100000},
        {"CDbl(\"1.25\")", 1.25},
        {"CBool(5)", -1},
        {"CBool(0)", 0},
        {"CBool(\"false\")", 0},
        {"CByte(255.4)", 255},
        {"CCur(1.23456)", 1.2346},
        {"Asc(\"A\")", 65},
        {"Asc(\"abc\")", 97},
        {"Asc(\"€\")", 128},
        {"Asc(\"é\")", 233},
        {"Chr(65)", "A"},
        {"Chr(128)", "€"},
        {"Chr(65.5)", "B"},
        {"Replace(\"a-b-c\", \"-\", \"+\")", "a+b+c"},
        {"Replace(\"aAa\", \"a\", \"x\")", "xxx"},
        {"Replace(\"aAa\", \"a\", \"x\", 1, -1, 0)", "xAx"},
        {"Replace(\"a-b-c\", \"-\", \"\", 3)", "bc"},
        {"Replace(\"a-b-c\", \"-\", \"+\", 1, 1)", "a+b-c"},
        {"Replace(LastName, \"mi\", \"MI\")", "SMIth"},
        {"StrReverse(\"abc\")", "cba"},
        {"StrReverse(\"\")", ""},
        {"InStrRev(\"a-b-c\", \"-\")", 4},
        {"InStrRev(\"a-b-c\", \"-\", 3)", 2},
        {"Str(5)", " 5"},
        {"Str(-5)", "-5"},
        {"Hex(255)", "FF"},
        {"Hex(-1)", "FFFF"},
        {"Oct(8)", "10"},
        {"DatePart(\"q\", Date1)", 4},
        {"DatePart(\"y\", #2/1/2024#)", 32},
        {"DatePart(\"ww\", #1/7/2024#)", 2},
        {"MonthName(2)", "February"},
        {"WeekdayName(1)", "Sunday"},
        {"Switch(Score > 5, \"big\", Score > 1, \"small\")", "big"},
        {"Switch(Score > 5, \"big\", Score > 1, \"small\")", "small", 2},
        {"Sqr(16)", 4},
        {"Exp(0)", 1},
        {"Log(1)", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(db.value(c.expression, c.record), c.value) << c.expression;
}

TEST_F(JetDialectGaps, VbaFunctionsTakeNullAsTheLanguageDoes)
{
    // Null in gives Null out for most; where the language has no Null to give it refuses it.
    for (const char *passesNull :
         {"StrComp(Organization, \"a\")", "Abs(Organization)", "Int(Score)", "Fix(Score)", "Sgn(Score)",
          "Round(Score, 1)", "String(Score, \"x\")", "String(2, Organization)", "Hour(Null)",
          "Minute(Null)", "Second(Null)", "Weekday(Null)", "InStrRev(Organization, \"a\")", "Str(Score)",
          "Hex(Score)", "DatePart(\"m\", Null)"})
        EXPECT_TRUE(db.value(passesNull, 3).isNull()) << passesNull;
    for (const char *refusesNull :
         {"CInt(Score) = 1", "CLng(Score) = 1", "CDbl(Score) = 1", "CBool(Score) = 1", "Asc(Organization) = 1",
          "Chr(Score) = 'a'", "Space(Score) = ''", "Replace(Organization, 'a', 'b') = ''",
          "StrReverse(Organization) = ''", "MonthName(Score) = ''"})
        EXPECT_EQ(errorOf(QString(refusesNull) + " And RecordID = 3"), err::InvalidUseOfNull) << refusesNull;
    for (const auto &[text, number] : QList<std::pair<const char *, int>>{
             {"CInt(40000) = 1", err::Overflow},
             {"CByte(-1) = 1", err::Overflow},
             {"Asc('') = 1", err::InvalidProcedureCall},
             {"Chr(256) = 'a'", err::InvalidProcedureCall},
             {"Space(-1) = ''", err::InvalidProcedureCall},
             {"Sqr(-1) = 1", err::InvalidProcedureCall},
             {"CBool('maybe') = 1", err::CriteriaTypeMismatch},
             {"Abs('x') = 1", err::CriteriaTypeMismatch},
         })
        EXPECT_EQ(errorOf(text), number) << text;
    EXPECT_EQ(db.lastNamesWhere("IsNull(Organization)"), QStringList({"O'Brien"}));
    EXPECT_EQ(db.lastNamesWhere("IsNull(Date1) = True"), QStringList({"smithers", "Écrivain"}));
    EXPECT_EQ(db.lastNamesWhere("Not IsNumeric(Code) And Code <> ''"),
              QStringList({"Smith", "smithers", "Écrivain"}));
}
