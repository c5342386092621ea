#include "JetTestDatabase.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Refusal {
    int number = 0;
    QString text;
};

Refusal refusalOf(const std::function<void()> &translate)
{
    try {
        translate();
    } catch (const RuntimeError &e) {
        return {e.number(), e.description()};
    }
    return {};
}

class JetDialectErrors : public ::testing::Test {
  protected:
    Refusal source(const QString &jet)
    {
        return refusalOf([&] { translateJetSql(jet, JetTextKind::ReadOnlyQuery, db.catalog()); });
    }
    Refusal action(const QString &jet)
    {
        return refusalOf([&] { translateJetSql(jet, JetTextKind::ActionQuery, db.catalog()); });
    }
    Refusal criterion(const QString &text)
    {
        return refusalOf([&] { translateJetCriterion(text, "tblContacts", db.catalog()); });
    }

    JetTestDatabase db;
};

} // namespace

TEST_F(JetDialectErrors, UnknownNamesAre3061AndSayWhichName)
{
    Refusal r = criterion("LastNam = \"Smith\"");
    EXPECT_EQ(r.number, err::UnknownName);
    EXPECT_TRUE(r.text.contains("'LastNam'")) << r.text.toStdString();
    EXPECT_EQ(source("Select * from tblNobody").number, err::InputTableNotFound);
    EXPECT_EQ(source("Select Nickname from tblContacts").number, err::UnknownName);
    EXPECT_EQ(source("Select * from tblContacts Order By Nickname").number, err::UnknownName);
    EXPECT_EQ(criterion("tblSettings.Name = 'x'").number, err::UnknownName);
    EXPECT_EQ(criterion("tblContacts.Nickname = 'x'").number, err::UnknownName);
    EXPECT_EQ(action("Update tblContacts Set Nickname = 'x'").number, err::UnknownName);
    EXPECT_EQ(action("Insert Into tblContacts (Nickname) Values ('x')").number, err::UnknownName);
    EXPECT_EQ(refusalOf([&] { translateJetCriterion("RecordID = 1", "qryNobody", db.catalog()); }).number,
              err::UnknownName);
    // A name in brackets is always a name, never a constant.
    EXPECT_EQ(criterion("PrintNotes = [True]").number, err::UnknownName);
}

TEST_F(JetDialectErrors, SyntaxErrorsAre3075AndUnknownFunctions3085WithAClearText)
{
    Refusal r = criterion("Soundex(LastName) = 'S530'");
    EXPECT_EQ(r.number, err::UndefinedFunction);
    EXPECT_TRUE(r.text.contains("Undefined function 'Soundex'")) << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("Soundex(LastName) = 'S530'")) << r.text.toStdString();

    r = criterion("LastName = ");
    EXPECT_EQ(r.number, err::SyntaxError);
    EXPECT_TRUE(r.text.contains("ends too early")) << r.text.toStdString();

    r = criterion("LastName Smith");
    EXPECT_EQ(r.number, err::SyntaxError);
    EXPECT_TRUE(r.text.contains("'Smith' was not expected")) << r.text.toStdString();

    EXPECT_EQ(criterion("LastName = \"Smith").number, err::SyntaxError);
    EXPECT_EQ(criterion("[LastName = 'x'").number, err::SyntaxError);
    EXPECT_EQ(criterion("Date1 = #12/25/2024").number, err::SyntaxError);
    EXPECT_EQ(criterion("Date1 = #13/45/2024#").number, err::SyntaxError);
    EXPECT_EQ(criterion("LastName = @x").number, err::SyntaxError);
    EXPECT_EQ(criterion("Left(LastName) = 'S'").number, err::SyntaxError);
    EXPECT_EQ(criterion("DateAdd(\"fortnight\", 1, Date1) > Date1").number, err::SyntaxError);
    EXPECT_EQ(criterion("LastName Like \"[a-\"").number, err::SyntaxError);
    EXPECT_EQ(criterion("LastName Like \"[z-a]*\"").number, err::SyntaxError);
    EXPECT_EQ(criterion("").number, err::SyntaxError);
    EXPECT_EQ(criterion("LastName = 'a' Xor City = 'b'").number, err::SyntaxError);
    // However deep a text nests, it is refused, never a crash.
    EXPECT_EQ(criterion(QString(100000, u'(') + "1" + QString(100000, u')')).number, err::SyntaxError);
    EXPECT_EQ(criterion(QString("Not ").repeated(100000) + "PrintNotes").number, err::SyntaxError);
    EXPECT_EQ(criterion(QString(100000, u'-') + "1 = 1").number, err::SyntaxError);
    EXPECT_EQ(criterion(QString(50, u'(') + "RecordID = 1" + QString(50, u')')).number, 0);
    EXPECT_EQ(source("Select * from " + QString(100000, u'(') + "tblContacts").number, err::SyntaxError);
    EXPECT_EQ(source("Select * from tblContacts Where RecordID In " +
                     QString("(Select ID From tblCategoryID Where ID In ").repeated(5000))
                  .number,
              err::SyntaxError);
    // A find text with a double quote breaks its Like term, as the find command expects.
    EXPECT_EQ(criterion("(LastName Like \"*a\"b*\" OR City Like \"*a\"b*\" )").number, err::SyntaxError);
}

TEST_F(JetDialectErrors, FilterTextsTheDatabaseMustReject)
{
    // Blanks only, or an order-by tail alone, leave an empty pair of parentheses.
    EXPECT_EQ(
        source("Select distinctrow * from  tblContacts Where  ()  Order By LastName, FirstName ").number,
        err::SyntaxError);
    EXPECT_EQ(
        source("Select distinctrow * from  tblContacts Where  (LastName Like \"S*\")  order by Fist").number,
        err::UnknownName);
    EXPECT_EQ(source("Select * from tblContacts Right Join tblCategoryID On ID = RecordID").number,
              err::SyntaxError);
    EXPECT_EQ(source("Select * from tblContacts Union Select * from tblContacts").number, err::SyntaxError);
    EXPECT_EQ(source("Select * from (Select * from tblContacts)").number, err::SyntaxError);
    EXPECT_EQ(source("Select * from tblContacts, tblRemind Where RecordID = 1").number, err::SyntaxError);
}

TEST_F(JetDialectErrors, ARecordSourceOrCriterionNeverWrites)
{
    const int before = db.contactCount();
    // A second statement is refused as "characters after the end" (err::CharactersAfterEnd), a write hidden
    // inside a condition as a syntax error (3075).
    const QList<std::pair<QString, int>> smuggled = {
        {"LastName = 'x'; DELETE FROM tblContacts", err::CharactersAfterEnd},
        {"LastName = 'x'); DELETE FROM tblContacts; --", err::CharactersAfterEnd},
        {"LastName = \"x\" ; Drop Table tblContacts", err::CharactersAfterEnd},
        {"1 = 1;", err::CharactersAfterEnd},
        {"LastName In (Delete From tblContacts)", err::SyntaxError},
        {"(Update tblContacts Set LastName = 'x') Is Null", err::SyntaxError},
        {"LastName = 'x' Union Select * From tblContacts", err::SyntaxError},
        {"load_extension('evil') = 1", err::UndefinedFunction},
        {"sqlcipher_export('x') = 1", err::UndefinedFunction},
    };
    for (const auto &[text, number] : smuggled) {
        const Refusal r = criterion(text);
        EXPECT_EQ(r.number, number) << text.toStdString();
        EXPECT_FALSE(r.text.isEmpty());
        // The same text as the filter window joins it into the record source.
        const QString record =
            "Select distinctrow * from  tblContacts Where  (" + text + ")  Order By LastName";
        EXPECT_EQ(source(record).number, number) << record.toStdString();
    }
    // A record source that would write is an invalid operation (err::InvalidOperation).
    const QList<std::pair<QString, int>> sources = {
        {"Delete * from tblContacts", err::InvalidOperation},
        {"Update tblContacts Set Selected = 'x'", err::InvalidOperation},
        {"Insert Into tblSettings (Type) Values ('x')", err::InvalidOperation},
        {"Drop Table tblContacts", err::InvalidOperation},
        {"Create Table t (a)", err::InvalidOperation},
        {"Select * from tblContacts; Delete * from tblContacts", err::CharactersAfterEnd},
        {"Select * from tblContacts;;", err::CharactersAfterEnd},
        {"PRAGMA key = 'x'", err::SyntaxError},
        {"ATTACH 'x.db' AS x", err::SyntaxError},
    };
    for (const auto &[text, number] : sources) {
        const Refusal r = source(text);
        EXPECT_EQ(r.number, number) << text.toStdString();
        EXPECT_TRUE(r.text.contains(text)) << r.text.toStdString();
    }
    EXPECT_EQ(db.contactCount(), before);
    EXPECT_EQ(db.query("SELECT count(*) FROM tblContacts WHERE LastName = 'gone'")[0][0], 0);
    // One closing ';' ends a statement as it may.
    EXPECT_EQ(db.select("Select * from tblContacts Where LastName = 'Smith';").size(), 1);
}

TEST_F(JetDialectErrors, AnActionQueryIsOneStatementOfTheFourKinds)
{
    EXPECT_EQ(action("Delete * from tblCurrentReminders; Delete * from tblContacts").number,
              err::CharactersAfterEnd);
    EXPECT_EQ(action("Drop Table tblContacts").number, err::SyntaxError);
    EXPECT_EQ(action("ATTACH 'x.db' AS x").number, err::SyntaxError);
    EXPECT_EQ(action("PRAGMA writable_schema = 1").number, err::SyntaxError);
    EXPECT_EQ(
        action("Update tblContacts Inner Join tblCategoryID On ID = RecordID Set Selected = 'x'").number,
        err::SyntaxError);
    EXPECT_EQ(action("Delete tblSettings.* from tblContacts").number, err::UnknownName);
    EXPECT_EQ(db.contactCount(), 5);
    EXPECT_EQ(action("Select * from tblContacts").number, 0);
    EXPECT_EQ(db.execute("Delete * from tblCurrentReminders;"), 0);
}

TEST_F(JetDialectErrors, EveryTranslationPreparesAsOneStatement)
{
    // Whatever translates must be valid SQLite with nothing after it.
    const QStringList texts = {
        "Select * from  tblContacts Where  (LastName Like \"*\" & Chr) ",
        "Select * from tblContacts Where IIf(PrintNotes, Nz(Notes), \"x\") = \"\"",
        "Select Format(Date1, \"mmmm d, yyyy\") As Pretty, Val(Code) from tblContacts",
        "Select * from tblContacts Where Year(DateUpdated) = Year(Date()) Or DateUpdated > Now - 7",
        "Select * from tblContacts Where InStr(1, Notes, \"a\", 0) > 0 Or InStr(Notes, 'b') > 0",
        "Select * from tblContacts Where Trim(LTrim(RTrim(City))) = Mid(City, 1) And Right(City, 2) = 'on'",
    };
    for (const QString &text : texts) {
        QString sql;
        const Refusal r =
            refusalOf([&] { sql = translateJetSql(text, JetTextKind::ReadOnlyQuery, db.catalog()).sql; });
        if (r.number) {
            // Only the deliberately unknown name may fail here.
            EXPECT_TRUE(text.contains("Chr")) << r.text.toStdString();
            continue;
        }
        EXPECT_EQ(db.prepareError(sql), QString()) << sql.toStdString();
    }
}

TEST_F(JetDialectErrors, MangledTextsTranslateToValidSqlOrAreRefused)
{
    // Real conditions with one word dropped, doubled, swapped with the next or replaced:
    // each result either prepares as one valid statement or is refused with 3075,
    // 3061, 3464, 3078 or 3085 (a field name used as a function), never anything else.
    const QStringList conditions = {
        "( LastName Like \"Sm*\" OR Notes Like \"*ski*\" ) And CategoryNumber = 2",
        "Date1 = #12/25/2024# OR DateUpdated Between #1/1/2024# And Date() - 1",
        "Not PrintNotes And ( City In ( \"Boston\" , 'Cork' ) Or Code Is Null )",
        "IIf ( Nz ( Organization , \"\" ) = \"\" , LastName , Organization ) & \"x\" <> Left ( FirstName , 2 "
        ")",
        "RecordID Mod 2 = 0 And RecordID \\ 3 > - 1 + Year ( Date1 ) / 4",
        "RecordID In ( Select ID From tblCategoryID Where CategoryNumber = 2 ) And Selected < 'x'",
        "tblContacts.LastName = [FirstName] And Format ( Date1 , \"yyyy\" ) = '2024' Or True",
    };
    const QStringList replacements = {"(",     ")",          ",",     "Like",   "Not", "And",     "=",
                                      "\"a\"", "#1/2/2024#", "Null",  "Is",     "In",  "Between", "Mod",
                                      "&",     "LastName",   "Date1", "Select", ";"};
    quint32 seed = 12345;
    auto random = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % quint32(n));
    };
    int translated = 0, refused = 0;
    for (int round = 0; round < 2000; ++round) {
        QStringList words = conditions[random(int(conditions.size()))].split(u' ');
        const int at = random(int(words.size()));
        switch (random(4)) {
        case 0:
            words.removeAt(at);
            break;
        case 1:
            words.insert(at, words[at]);
            break;
        case 2:
            if (at + 1 < words.size())
                words.swapItemsAt(at, at + 1);
            break;
        default:
            words[at] = replacements[random(int(replacements.size()))];
        }
        const QString text = words.join(u' ');
        QString sql;
        const Refusal r = refusalOf([&] {
            sql = translateJetSql("Select * From qryContacts Where " + text + " Order By LastName",
                                  JetTextKind::ReadOnlyQuery, db.catalog())
                      .sql;
        });
        if (r.number) {
            ++refused;
            EXPECT_TRUE(r.number == err::SyntaxError || r.number == err::UnknownName ||
                        r.number == err::CharactersAfterEnd || r.number == err::CriteriaTypeMismatch ||
                        r.number == err::UndefinedFunction || r.number == err::InputTableNotFound)
                << text.toStdString();
            EXPECT_FALSE(r.text.isEmpty());
            continue;
        }
        ++translated;
        EXPECT_EQ(db.prepareError(sql), QString()) << text.toStdString() << "\n" << sql.toStdString();
    }
    EXPECT_GT(translated, 100);
    EXPECT_GT(refused, 200);
}

TEST_F(JetDialectErrors, ACatalogMayMoveItsListsWhenItLearnsAnotherTable)
{
    // A catalog that fills one list for every answer, as a cache that moves its entries
    // on growth in effect does: each table's columns must be kept from the first answer.
    QList<JetColumn> storage;
    const JetCatalog reusing = [&](const QString &name) -> const QList<JetColumn> * {
        const QList<JetColumn> *columns = db.catalog()(name);
        if (!columns)
            return nullptr;
        storage = QList<JetColumn>(columns->begin(), columns->end());
        return &storage;
    };
    const auto t =
        translateJetSql("SELECT ID, CategoryDesc, tblCategoryID.CategoryNumber FROM tblCategoryID LEFT JOIN "
                        "tblCategoryDesc ON tblCategoryID.CategoryNumber = tblCategoryDesc.CategoryNumber "
                        "WHERE tblCategoryID.ID=1 Order By CategoryDesc",
                        JetTextKind::ReadOnlyQuery, reusing);
    EXPECT_EQ(db.query(t.sql).size(), 2);
    const auto insert =
        translateJetSql("Insert Into tblCurrentReminders (RemindDate, Description) Select RemindDate, "
                        "Description From tblRemind",
                        JetTextKind::ActionQuery, reusing);
    EXPECT_EQ(db.prepareError(insert.sql), QString());
}
