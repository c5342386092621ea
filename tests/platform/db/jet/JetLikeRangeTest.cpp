#include "support/TempDatabase.h"

#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/jet/JetDialect.h"
#include "platform/db/jet/JetLikePattern.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

using namespace platform;

namespace {

// A Like over a text column with a pattern that starts with plain characters also gets an
// index range. These tests run every such find both ways on awkward data: with the range
// the translator writes, and with the plain pattern test alone.
class JetLikeRange : public ::testing::Test {
  protected:
    void SetUp() override
    {
        sqlite3 *db = mTemp.db().handle();
        const char *const names[] = {
            "Smith",  "SMITHERS", "smiley", "Smj",    "Smi",      "Sm",      "ſmith",   "\u212Aelvin",
            "kelvin", "Émile",    "émile",  "Emile",  "O'Neil",   "o'neill", "O'Nolan", "Oz",
            "OZ",     "Zz",       "zZz",    "z{",     "~tilde",   "a~b",     "a~",      "Ab@c",
            "AB[x",   "",         "Smi%th", "Smi_th", "[bracket", "#1",      "Müller",  "Mueller",
            "MÜLLER", "a\x7f",    "a\x7fz", "a\u0080"};
        int first = 0;
        for (const char *name : names) {
            exec(db, QStringLiteral("INSERT INTO tblContacts (FirstName, LastName, DateUpdated) VALUES "
                                    "('F%1', '%2', '2024-03-05 13:30:00')")
                         .arg(first++)
                         .arg(QString::fromUtf8(name).replace(u'\'', QLatin1String("''"))));
        }
        // Null, a number kept as text, and a text that is not valid UTF-8.
        exec(db, "INSERT INTO tblContacts (FirstName, LastName) VALUES ('N', NULL)");
        exec(db, "INSERT INTO tblContacts (FirstName, LastName) VALUES ('N', 123)");
        exec(db, "INSERT INTO tblContacts (FirstName, LastName) VALUES ('N', CAST(X'736D69FF' AS TEXT))");
    }

    static void exec(sqlite3 *db, const QString &sql)
    {
        char *error = nullptr;
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
        EXPECT_EQ(error, nullptr) << sql.toStdString() << ": " << (error ? error : "");
        sqlite3_free(error);
    }

    QString criterion(const QString &jet)
    {
        return translateJetCriterion(jet, "tblContacts", db().catalog());
    }

    // The record numbers, in order, of the contacts an SQL condition selects.
    QList<qint64> idsWhere(const QString &condition)
    {
        QList<qint64> ids;
        SqlStatement select(
            db().handle(),
            QStringLiteral("SELECT RecordID FROM tblContacts WHERE %1 ORDER BY RecordID").arg(condition));
        while (select.step())
            ids.append(select.int64(0));
        return ids;
    }

    // SQLite's plan for a statement, one line per step.
    QStringList plan(const QString &sql)
    {
        QStringList steps;
        SqlStatement explain(db().handle(), QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
        while (explain.step())
            steps.append(explain.text(3));
        return steps;
    }

    Database &db() { return mTemp.db(); }

    TempDatabase mTemp;
};

struct Case {
    const char *pattern;
    bool range; // whether the translation may use an index range
};

TEST_F(JetLikeRange, PrefixFindsMatchExactlyWhatThePatternAloneMatches)
{
    const Case cases[] = {
        {"Smi*", true},   {"smi*", true},    {"SMITH", true},   {"Smith", true},  {"Smi?h", true},
        {"Smi#", true},   {"Smi[t]h", true}, {"Sm[!x]*", true}, {"Sm", true},     {"O'N*", true},
        {"o'neil", true}, {"Z*", true},      {"z*", true},      {"Zz*", true},    {"~*", true},
        {"a~*", true},    {"Ab@*", true},    {"a\x7f*", true},  {"12*", true},    {"Smi%*", true},
        {"Smi_*", true},  {"Mü*", true},     {"k*", true},      {"sm*", true},    {"Smi[]th", true},
        {"*", false},     {"", false},       {"*mith", false},  {"?mith", false}, {"[S]mith", false},
        {"#*", false},    {"É*", true},      {"é*", true},      {"Émile", true},  {"[[]*", false},
        {"ſ*", true},     {"\u212A*", true},
    };
    int found = 0;
    for (const Case &c : cases) {
        const QString pattern = QString::fromUtf8(c.pattern);
        const QString quoted = u'"' + pattern + u'"';
        SCOPED_TRACE(pattern.toStdString());
        const QString sql = criterion(QStringLiteral("LastName Like ") + quoted);
        EXPECT_EQ(sql.contains(QLatin1String("COLLATE jet_text")), c.range) << sql.toStdString();
        QString literal = pattern;
        literal.replace(u'\'', QLatin1String("''"));
        const QList<qint64> plain = idsWhere(QStringLiteral("jet_like(LastName, '%1')").arg(literal));
        EXPECT_EQ(idsWhere(sql), plain);
        found += int(plain.size());
    }
    // The data does meet the patterns: a comparison of empty results would prove nothing.
    EXPECT_GT(found, 100);
}

TEST_F(JetLikeRange, RangeKeepsEveryCaseAndTheEdgesOfThePrefix)
{
    auto names = [&](const QString &jet) {
        QStringList out;
        SqlStatement select(db().handle(),
                            QStringLiteral("SELECT LastName FROM tblContacts WHERE %1 ORDER BY RecordID")
                                .arg(criterion(jet)));
        while (select.step())
            out.append(select.text(0));
        return out;
    };
    EXPECT_EQ(names("LastName Like \"Smi*\""),
              (QStringList{"Smith", "SMITHERS", "smiley", "Smi", "ſmith", "Smi%th", "Smi_th",
                           QString::fromUtf8("smi\xEF\xBF\xBD")}));
    EXPECT_EQ(names("LastName Like \"smith\""), (QStringList{"Smith", "ſmith"}));
    EXPECT_EQ(names("LastName Like \"z*\""), (QStringList{"Zz", "zZz", "z{"}));
    EXPECT_EQ(names("LastName Like \"o'n*\""), (QStringList{"O'Neil", "o'neill", "O'Nolan"}));
    EXPECT_EQ(names("LastName Like 'A~*'"), (QStringList{"a~b", "a~"}));
    EXPECT_EQ(names("LastName Like \"a\x7f*\""), (QStringList{"a\x7f", "a\x7fz"}));
    EXPECT_EQ(names("LastName Like \"Ab@*\""), QStringList{"Ab@c"});
    EXPECT_EQ(names("LastName Like \"M*ller\""), (QStringList{"Müller", "Mueller", "MÜLLER"}));
    EXPECT_EQ(names("LastName Like \"Mü*\""), (QStringList{"Müller", "MÜLLER"}));
    // A letter typed with its accent matches only that letter, in either case; a plain
    // letter matches its accented forms too.
    EXPECT_EQ(names("LastName Like \"émile\""), (QStringList{"Émile", "émile"}));
    EXPECT_EQ(names("LastName Like \"emile\""), (QStringList{"Émile", "émile", "Emile"}));
    EXPECT_EQ(names("LastName Like \"mu*\""), (QStringList{"Müller", "Mueller", "MÜLLER"}));
}

TEST_F(JetLikeRange, NotLikeNullAndDatesAreLeftAlone)
{
    const QString notLike = criterion("LastName Not Like \"Smi*\"");
    EXPECT_FALSE(notLike.contains(QLatin1String("COLLATE")));
    const QList<qint64> all = idsWhere("LastName IS NOT NULL");
    const QList<qint64> like = idsWhere(criterion("LastName Like \"Smi*\""));
    QList<qint64> rest;
    for (qint64 id : all)
        if (!like.contains(id))
            rest.append(id);
    EXPECT_EQ(idsWhere(notLike), rest);
    // Not around a Like with a range gives the same rows as Not Like: Null is in neither.
    EXPECT_EQ(idsWhere(criterion("Not (LastName Like \"Smi*\")")), rest);
    EXPECT_EQ(idsWhere(criterion("LastName Like \"Smi*\" Or LastName Is Null")).size(), like.size() + 1);

    // A date is matched by the text it shows, which is not the text it is kept as.
    const QString date = criterion("DateUpdated Like \"3/5/2024*\"");
    EXPECT_FALSE(date.contains(QLatin1String("COLLATE"))) << date.toStdString();
    EXPECT_EQ(idsWhere(date).size(), 36);
    EXPECT_TRUE(idsWhere(criterion("DateUpdated Like \"2024-03*\"")).isEmpty());
    // A number column is never given a text range either.
    EXPECT_FALSE(criterion("RecordID Like \"1*\"").contains(QLatin1String("COLLATE")));
    EXPECT_EQ(idsWhere(criterion("RecordID Like \"1*\"")).size(), 11);
    // Nor is a pattern that is not a literal.
    EXPECT_FALSE(criterion("LastName Like FirstName & \"*\"").contains(QLatin1String("COLLATE")));
}

TEST_F(JetLikeRange, ColumnsThatMayHoldNumbersGetNoRange)
{
    // A column declared MEMO keeps a number as a number, and an expression in a stored
    // query may give numbers under any name: a text range would lose them.
    sqlite3 *handle = db().handle();
    exec(handle,
         "CREATE TABLE tblOdd (ID INTEGER PRIMARY KEY, Code MEMO, Name VARCHAR(20) COLLATE jet_text)");
    exec(handle, "INSERT INTO tblOdd (Code, Name) VALUES (123, 'Smith'), ('12a', 'smile')");
    exec(handle, "CREATE VIEW qryOdd AS SELECT ID, ID * 12 AS Twelve, Name FROM tblOdd");
    const QList<JetColumn> *odd = db().columnsOf("tblOdd");
    ASSERT_NE(odd, nullptr);
    EXPECT_FALSE(odd->at(1).storedAsText);
    EXPECT_TRUE(odd->at(2).storedAsText);
    const QList<JetColumn> *view = db().columnsOf("qryOdd");
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->at(1).storedAsText);
    EXPECT_TRUE(view->at(2).storedAsText);

    auto count = [&](const QString &source, const QString &jet) {
        SqlStatement select(handle, QStringLiteral("SELECT count(*) FROM %1 WHERE %2")
                                        .arg(source, translateJetCriterion(jet, source, db().catalog())));
        return select.step() ? select.int64(0) : -1;
    };
    EXPECT_EQ(count("tblOdd", "Code Like \"12*\""), 2);
    EXPECT_EQ(count("qryOdd", "Twelve Like \"2*\""), 1);
    EXPECT_EQ(count("qryOdd", "Name Like \"smi*\""), 2);
    EXPECT_TRUE(
        translateJetCriterion("Name Like \"smi*\"", "qryOdd", db().catalog()).contains("COLLATE jet_text"));
}

TEST_F(JetLikeRange, ShippedIndexAnswersThePrefixFind)
{
    // The query a find on the main list runs: the list's own query, narrowed by the criterion.
    auto findPlan = [&](const QString &jet) {
        return plan(QStringLiteral("SELECT RecordID FROM (SELECT * FROM tblContacts ORDER BY LastName, "
                                   "FirstName) WHERE (%1)")
                        .arg(criterion(jet)))
            .join(u'\n');
    };
    EXPECT_EQ(findPlan("LastName like \"Smi*\""),
              "SEARCH TABLE tblContacts USING INDEX tblContacts.LastName (LastName>? AND LastName<?)");
    EXPECT_EQ(findPlan("LastName like \"Smith\""),
              "SEARCH TABLE tblContacts USING INDEX tblContacts.LastName (LastName>? AND LastName<?)");
    EXPECT_EQ(findPlan("LastName like \"Ñ*\""),
              "SEARCH TABLE tblContacts USING INDEX tblContacts.LastName (LastName>? AND LastName<?)");
    EXPECT_EQ(findPlan("First_City like \"Spring*\" And LastName Like \"*son\""),
              "SEARCH TABLE tblContacts USING INDEX tblContacts.First_City (First_City>? AND First_City<?)\n"
              "USE TEMP B-TREE FOR ORDER BY");
    // What had no range still reads every row, in the list's order.
    EXPECT_EQ(findPlan("LastName like \"*mi*\""), "SCAN TABLE tblContacts USING INDEX tblContacts.LastName");
}

TEST_F(JetLikeRange, QueryTextsNamingTheTableGetTheRangeToo)
{
    const JetTranslation t = translateJetSql(
        "Select c.LastName From tblContacts As c Left Join tblCategoryID On tblCategoryID.ID = c.RecordID "
        "Where c.LastName Like 'o''n*' Order By c.LastName",
        JetTextKind::ReadOnlyQuery, db().catalog());
    EXPECT_TRUE(t.sql.contains(QLatin1String("COLLATE jet_text >= 'o''n'"))) << t.sql.toStdString();
    QStringList names;
    SqlStatement select(db().handle(), t.sql);
    while (select.step())
        names.append(select.text(0));
    EXPECT_EQ(names, (QStringList{"O'Neil", "o'neill", "O'Nolan"}));
    EXPECT_EQ(plan(t.sql).join(u'\n'),
              "SEARCH TABLE tblContacts AS c USING COVERING INDEX tblContacts.LastName (LastName>? AND "
              "LastName<?)\n"
              "SEARCH TABLE tblCategoryID USING COVERING INDEX tblCategoryID.PrimaryKey (ID=?)");
}

TEST_F(JetLikeRange, FindFirstAndFindNextVisitTheMatchesInListOrder)
{
    auto rs = db().openRecordset("Select * from tblContacts Order By LastName, FirstName");
    const JetLikePattern pattern(u"Smi*");
    QList<qint64> expected;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
        const QVariant name = rs->value("LastName");
        if (!name.isNull() && pattern.matches(QStringView(name.toString())))
            expected.append(rs->value("RecordID").toLongLong());
    }
    ASSERT_EQ(expected.size(), 8);
    QList<qint64> found;
    rs->moveFirst();
    rs->findFirst("LastName like \"Smi*\"");
    while (!rs->noMatch()) {
        found.append(rs->value("RecordID").toLongLong());
        rs->findNext("LastName like \"Smi*\"");
    }
    EXPECT_EQ(found, expected);
    rs->findLast("LastName like \"SMI*\"");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("RecordID").toLongLong(), expected.back());
}

TEST(JetLikeRangeBounds, TheRangeStartsWithTheBaseLettersOfThePlainPrefix)
{
    auto range = [](const char *pattern) {
        return JetLikePattern(QString::fromUtf8(pattern)).collationRange();
    };
    EXPECT_EQ(range("Smi*").from, "smi");
    EXPECT_EQ(range("Smi*").before, "smj");
    EXPECT_EQ(range("SMITH").from, "smith");
    // [] matches the empty text, so it does not end the prefix.
    EXPECT_EQ(range("Smi[]th").from, "smith");
    // The prefix ends at the first wildcard or set; accented letters give their base letters.
    EXPECT_EQ(range("Sm?th").from, "sm");
    EXPECT_EQ(range("Sm#").from, "sm");
    EXPECT_EQ(range("Sm[i]").from, "sm");
    EXPECT_EQ(range("Mü*").from, "mu");
    EXPECT_EQ(range("Mü*").before, "mv");
    EXPECT_EQ(range("Émile").from, "emile");
    EXPECT_EQ(range("Øberg").from, "oberg");
    EXPECT_EQ(range("Straße*").from, "strasse");
    EXPECT_EQ(range("%_*").from, "%_");
    for (const char *none : {"*Smith", "?", "#1", "[a]b", ""})
        EXPECT_TRUE(range(none).from.isEmpty()) << none;
}

TEST(JetLikeRangeBounds, TheUpperBoundPassesEveryTextWithThePrefix)
{
    auto before = [](const char *pattern) {
        return JetLikePattern(QString::fromUtf8(pattern)).collationRange().before;
    };
    EXPECT_EQ(before("oz*"), "o{");
    EXPECT_EQ(before("OZ*"), "o{");
    EXPECT_EQ(before("o'*"), "o(");
    EXPECT_EQ(before("a~*"), "a\x7f");
    // After @ come A to Z, which read as a to z: the next character that stands for itself is [.
    EXPECT_EQ(before("a@*"), "a[");
}

TEST(JetLikeRangeBounds, PlainLettersMatchTheirAccentedForms)
{
    EXPECT_TRUE(JetLikePattern(u"n*").matches(QStringView(u"Ñúñez")));
    EXPECT_TRUE(JetLikePattern(u"o*").matches(QStringView(u"Øberg")));
    EXPECT_TRUE(JetLikePattern(u"smi*").matches(QStringView(u"ſmith")));
    EXPECT_TRUE(JetLikePattern(u"[a-c]*").matches(QStringView(u"Çelik")));
    EXPECT_TRUE(JetLikePattern(u"ÉMILE").matches(QStringView(u"émile")));
    EXPECT_TRUE(JetLikePattern(u"straSSe").matches(QStringView(u"STRASSE")));
    // What the user typed with its accent is looked for as typed.
    EXPECT_FALSE(JetLikePattern(u"bü*").matches(QStringView(u"Buchanan")));
    EXPECT_TRUE(JetLikePattern(u"bü*").matches(QStringView(u"BÜHLER")));
    EXPECT_FALSE(JetLikePattern(u"[!a-c]*").matches(QStringView(u"Çelik")));
}

TEST(JetLikeRangeBounds, TextAffinityFollowsTheDeclaredType)
{
    for (const char *text : {"VARCHAR(255)", "LONGTEXT", "TEXT", "CLOB", "nchar(10)", "CHARACTER VARYING"})
        EXPECT_TRUE(hasTextAffinity(text)) << text;
    for (const char *other : {"MEMO", "DATETIME", "INTEGER", "POINT", "CHARINT", "BLOB", ""})
        EXPECT_FALSE(hasTextAffinity(other)) << other;
}

} // namespace

// Clearing every mark at exit runs on each close of the main window: it must read only the
// marked rows, not the whole table.
TEST_F(JetLikeRange, ClearingTheMarksReadsOnlyTheMarkedRows)
{
    const JetTranslation clear = translateJetSql("Update tblContacts Set Selected=' ' Where Selected='x'",
                                                 JetTextKind::ActionQuery, db().catalog());
    const QString steps = plan(clear.sql).join(u'\n');
    EXPECT_TRUE(steps.contains(QLatin1String("USING INDEX tblContacts.Selected"))) << steps.toStdString();
}
