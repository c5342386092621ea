#include "platform/db/TextCollation.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/jet/JetDialect.h"
#include "support/TempDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

using namespace platform;

namespace {

const char *const Names[] = {"Wilson", "Çelik", "Ñúñez", "Øberg", "Oberg",  "Obermann", "adams",
                             "Zola",   "nash",  "Émile", "emile", "Ewing",  "Straße",   "Strasser",
                             "Nunez",  "Öz",    "Ozawa", "Cole",  "Müller", "Mueller",  "Muller"};

// Names in the order a person expects: accented letters beside their base letter, case
// ignored, the plain form before the accented one.
const QStringList Expected = {"adams",    "Çelik",  "Cole",  "emile",  "Émile",    "Ewing",  "Mueller",
                              "Muller",   "Müller", "nash",  "Nunez",  "Ñúñez",    "Oberg",  "Øberg",
                              "Obermann", "Öz",     "Ozawa", "Straße", "Strasser", "Wilson", "Zola"};

void exec(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    EXPECT_EQ(error, nullptr) << sql.toStdString() << ": " << (error ? error : "");
    sqlite3_free(error);
}

void addNames(sqlite3 *db)
{
    for (const char *name : Names)
        exec(db, QStringLiteral("INSERT INTO tblContacts (LastName, FirstName) VALUES ('%1', 'F')")
                     .arg(QString::fromUtf8(name)));
}

QStringList lastNames(Database &db, const QString &query)
{
    QStringList out;
    auto rs = db.openRecordset(query);
    for (; !rs->eof(); rs->moveNext())
        out.append(rs->value("LastName").toString());
    return out;
}

QStringList plan(sqlite3 *db, const QString &sql)
{
    QStringList steps;
    SqlStatement explain(db, QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    while (explain.step())
        steps.append(explain.text(3));
    return steps;
}

QString scalar(sqlite3 *db, const QString &sql)
{
    SqlStatement statement(db, sql);
    return statement.step() ? statement.text(0) : QString();
}

// The schema the program shipped before, whose text columns folded only A to Z.
QString oldSchema()
{
    QFile file(QStringLiteral(QUILTERN_SOURCE_DIR "/db/schema.sql"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll())
        .replace(QLatin1String("COLLATE jet_text"), QLatin1String("COLLATE NOCASE"));
}

// A file made with the old schema by a plain connection, with a deleted last contact so
// that the counter stands above the highest number in use.
QString makeOldFile(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("old.mdb"));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    exec(db, oldSchema());
    addNames(db);
    exec(db, "INSERT INTO tblContacts (LastName) VALUES ('Gone')");
    exec(db, "DELETE FROM tblContacts WHERE LastName = 'Gone'");
    exec(db, "INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Élite')");
    exec(db, "INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, 1 FROM tblContacts");
    sqlite3_close(db);
    return path;
}

} // namespace

TEST(TextCollation, OrdersByBaseLetterThenAccentIgnoringCase)
{
    struct Case {
        const char *a, *b;
        int sign;
    };
    const Case cases[] = {
        {"Çelik", "Cole", -1}, {"Çelik", "Wilson", -1}, {"Øberg", "Obermann", -1}, {"Oberg", "Øberg", -1},
        {"ÖBERG", "öberg", 0}, {"Smith", "SMITH", 0},   {"Straße", "strasse", 1},  {"Straße", "Strasser", -1},
        {"e", "é", -1},        {"é", "f", -1},          {"Zola", "Ñúñez", 1},      {"", "a", -1},
        {"a", "a\u0301", -1},  {"ά", "α", 1},           {"άβ", "αβ", 1},           {"😀", "😀", 0},
        {"a😀", "a", 1},        {"abc", "abd", -1},      {"ab", "abc", -1},         {"Nunez", "Ñúñez", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        const int forward = compareText(c.a, c.b);
        const int backward = compareText(c.b, c.a);
        EXPECT_EQ((forward > 0) - (forward < 0), c.sign);
        EXPECT_EQ((backward > 0) - (backward < 0), -c.sign);
    }
}

TEST(TextCollation, ListsSortAndCompareWithAccentedLettersBesideTheirBase)
{
    TempDatabase temp;
    Database &db = temp.db();
    addNames(db.handle());
    EXPECT_EQ(lastNames(db, "Select * from tblContacts Order By LastName"), Expected);
    // A computed text sorts the same way.
    EXPECT_EQ(lastNames(db, "Select * from tblContacts Order By LastName & \"\""), Expected);

    auto where = [&](const char *condition) {
        return lastNames(db, QStringLiteral("Select * from tblContacts Where %1 Order By LastName")
                                 .arg(QString::fromUtf8(condition)));
    };
    EXPECT_EQ(where("LastName = \"ÇELIK\""), QStringList{"Çelik"});
    EXPECT_EQ(where("LastName = \"muller\""), QStringList{"Muller"});
    EXPECT_EQ(where("LastName Between \"N\" And \"Nz\""), (QStringList{"nash", "Nunez", "Ñúñez"}));
    EXPECT_EQ(where("LastName < \"D\""), (QStringList{"adams", "Çelik", "Cole"}));
    EXPECT_EQ(where("LastName >= \"Øb\" And LastName < \"Oc\""), (QStringList{"Oberg", "Øberg", "Obermann"}));
    EXPECT_EQ(where("LastName Like \"n*\""), (QStringList{"nash", "Nunez", "Ñúñez"}));

    // The sorted list and the prefix find are still answered by the index.
    const QString steps =
        plan(db.handle(), translateJetSql("Select * from tblContacts Order By LastName, FirstName",
                                          JetTextKind::ReadOnlyQuery, db.catalog())
                              .sql)
            .join(u'\n');
    EXPECT_EQ(steps.toStdString(), "SCAN TABLE tblContacts USING INDEX tblContacts.LastName");
    const QString find = translateJetCriterion("LastName like \"Ñú*\"", "tblContacts", db.catalog());
    EXPECT_EQ(plan(db.handle(), "SELECT * FROM tblContacts WHERE " + find).join(u'\n').toStdString(),
              "SEARCH TABLE tblContacts USING INDEX tblContacts.LastName (LastName>? AND LastName<?)");
    EXPECT_EQ(scalar(db.handle(), "PRAGMA integrity_check"), "ok");
}

TEST(TextCollation, AnOldFileIsUpgradedWhenOpenedAndKeepsItsRowsAndCounters)
{
    QTemporaryDir dir;
    const QString path = makeOldFile(dir);
    {
        // Opened read-only, the file is left as it is.
        auto readOnly = Database::open(path, false, true);
        EXPECT_TRUE(scalar(readOnly->handle(), "SELECT sql FROM sqlite_master WHERE name = 'tblContacts'")
                        .contains("COLLATE NOCASE"));
    }
    QString objectsBefore;
    {
        sqlite3 *plain = nullptr;
        sqlite3_open(path.toUtf8().constData(), &plain);
        objectsBefore = scalar(plain, "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE "
                                      "type IN ('index', 'view') ORDER BY name)");
        sqlite3_close(plain);
    }
    ASSERT_TRUE(objectsBefore.contains("tblContacts.LastName"));
    auto db = Database::open(path);
    sqlite3 *handle = db->handle();
    EXPECT_EQ(scalar(handle, "SELECT count(*) FROM sqlite_master WHERE sql LIKE '%COLLATE NOCASE%'"), "0");
    EXPECT_EQ(scalar(handle, "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE type IN "
                             "('index', 'view') ORDER BY name)"),
              objectsBefore);
    EXPECT_EQ(scalar(handle, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(lastNames(*db, "Select * from tblContacts Order By LastName, FirstName"), Expected);
    EXPECT_EQ(
        plan(handle, "SELECT * FROM tblContacts ORDER BY LastName, FirstName").join(u'\n').toStdString(),
        "SCAN TABLE tblContacts USING INDEX tblContacts.LastName");
    // The stored queries, the category names and the counters came through.
    EXPECT_EQ(lastNames(*db, "Select * from qryContacts Order By LastName").size(),
              qsizetype(std::size(Names)));
    EXPECT_EQ(scalar(handle, "SELECT CategoryDesc FROM tblCategoryDesc WHERE CategoryDesc = 'éLITE'"),
              "Élite");
    exec(handle, "INSERT INTO tblContacts (LastName) VALUES ('New')");
    EXPECT_EQ(scalar(handle, "SELECT max(RecordID) FROM tblContacts"), QString::number(std::size(Names) + 2));
    db.reset();

    // Opened again it is left alone, and the program's repair still works on it.
    auto again = Database::open(path);
    EXPECT_EQ(scalar(again->handle(), "PRAGMA integrity_check"), "ok");
    again.reset();
    Database::repair(path);
    auto repaired = Database::open(path);
    EXPECT_EQ(scalar(repaired->handle(), "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(lastNames(*repaired,
                        "Select * from tblContacts Where LastName <> \"New\" Order By LastName, FirstName"),
              Expected);
}
