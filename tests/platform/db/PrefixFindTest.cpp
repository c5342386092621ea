#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/TextCollation.h"
#include "platform/db/jet/JetQuote.h"
#include "support/ContactGenerator.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// "Field like "text*"" searches on a list of generated contacts and of names whose case
// folds beyond A to Z, checked against a plain walk of the rows in list order.
class PrefixFindTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ContactGenerator::insert(db(), 300, 3);
        for (const char *name :
             {"Ångström", "åsa", "\u212Aelvin", "kelly", "müller", "Müller", "MÜLLER", "smith", "O'Brien",
              "o'neil", "", "Zoë", "\U0001D49Cscript", "[Bracket]", "100% Wool"})
            db().execute(QStringLiteral(
                             "INSERT INTO tblContacts (LastName, FirstName, Selected) VALUES (%1, 'X', ' ')")
                             .arg(jetQuote(QString::fromUtf8(name))));
    }

    Database &db() { return mTemp.db(); }

    // Whether text begins with prefix as Like reads letters: case ignored, and a plain letter
    // of the prefix also standing for its accented forms.
    static bool beginsWith(const QString &text, const QString &prefix)
    {
        const QList<uint> t = text.toCaseFolded().toUcs4();
        const QList<uint> p = prefix.toCaseFolded().toUcs4();
        if (t.size() < p.size())
            return false;
        for (qsizetype i = 0; i < p.size(); ++i)
            if (t[i] != p[i] && foldedLetter(t[i]) != p[i])
                return false;
        return true;
    }

    // The first row, in list order, whose field begins with prefix.
    static qint64 expectedRow(Recordset &rs, const QString &field, const QString &prefix)
    {
        const int column = rs.fieldIndex(field);
        for (qint64 row = 0; row < rs.recordCount(); ++row) {
            const QVariant value = rs.valueAt(row, column);
            if (!value.isNull() && beginsWith(value.toString(), prefix))
                return row;
        }
        return -1;
    }

    void expectFindsLikeAWalk(const QString &source, const QString &field)
    {
        auto rs = db().openRecordset(source);
        const QStringList prefixes{"S", "sm", "Smi",    "smith", "O'", "o'b", "Å",     "å",   "Ås",
                                   "K", "ke", "\u212A", "Mü",    "mü", "MÜL", "Zo",    "zoë", "\U0001D49C",
                                   "Q", "1",  "100%",   "x y",   "Ø",  "ø",   "Nguyen"};
        for (const QString &prefix : prefixes) {
            rs->moveFirst();
            const qint64 expected = expectedRow(*rs, field, prefix);
            rs->findFirst(field + QStringLiteral(" like \"") + prefix + QStringLiteral("*\""));
            if (expected < 0) {
                EXPECT_TRUE(rs->noMatch()) << prefix.toStdString();
                EXPECT_EQ(rs->absolutePosition(), 0) << "no match keeps the row";
            } else {
                EXPECT_FALSE(rs->noMatch()) << prefix.toStdString();
                EXPECT_EQ(rs->absolutePosition(), expected) << prefix.toStdString();
            }
        }
    }

    TempDatabase mTemp;
};

} // namespace

TEST_F(PrefixFindTest, SortedByTheFieldSearched)
{
    expectFindsLikeAWalk("Select * from  tblContacts Order By LastName, FirstName ", "LastName");
}

TEST_F(PrefixFindTest, SortedByAnotherField)
{
    expectFindsLikeAWalk("Select * from  tblContacts Order By FirstName", "LastName");
    expectFindsLikeAWalk("Select * from  tblContacts Order By Organization, LastName, FirstName",
                         "Organization");
    // Orders no index answers, or answered backwards, tie in their own ways.
    expectFindsLikeAWalk("Select * from  tblContacts Order By Title, Code", "LastName");
    expectFindsLikeAWalk("Select * from  tblContacts Order By DateUpdated DESC", "LastName");
    expectFindsLikeAWalk("Select * from  tblContacts Order By LastName", "LastName");
}

TEST_F(PrefixFindTest, NextLastAndPreviousKeepTheirDirection)
{
    auto rs = db().openRecordset("Select * from  tblContacts Order By LastName, FirstName ");
    const QString criterion = "LastName like \"mü*\"";
    rs->findFirst(criterion);
    const qint64 first = rs->absolutePosition();
    // Every Müller, whatever its spelling, stands together in the list, then none.
    qint64 matches = 1;
    for (;;) {
        const qint64 before = rs->absolutePosition();
        rs->findNext(criterion);
        if (rs->noMatch()) {
            EXPECT_EQ(rs->absolutePosition(), before);
            break;
        }
        EXPECT_EQ(rs->absolutePosition(), before + 1);
        ++matches;
    }
    // The run of matches is unbroken from the first one on.
    EXPECT_EQ(rs->absolutePosition(), first + matches - 1);
    auto walk = db().openRecordset("Select Count(*) from tblContacts Where LastName like \"mü*\"");
    EXPECT_EQ(matches, walk->value(0).toLongLong());
    EXPECT_GE(matches, 3);
    rs->findLast("LastName like \"s*\"");
    const qint64 last = rs->absolutePosition();
    EXPECT_TRUE(rs->value("LastName").toString().startsWith("S", Qt::CaseInsensitive));
    rs->findPrevious("LastName like \"s*\"");
    EXPECT_EQ(rs->absolutePosition(), last - 1);
}

TEST_F(PrefixFindTest, DeletedRowsAndOtherFieldTypesAreHandled)
{
    auto rs = db().openRecordset("Select * from  tblContacts Order By LastName, FirstName ");
    rs->findFirst("LastName like \"ång*\"");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("LastName").toString(), "Ångström");
    rs->deleteRecord();
    rs->moveFirst();
    rs->findFirst("LastName like \"Ång*\"");
    EXPECT_TRUE(rs->noMatch()) << "the deleted row is not found again";

    // A date field compares its shown text: no shortcut there.
    db().execute("Update tblContacts Set DateUpdated = #3/5/2021 1:30:00 PM# Where LastName = 'smith' And "
                 "FirstName = 'X'");
    auto byDate = db().openRecordset("Select * from  tblContacts Order By DateUpdated DESC");
    byDate->findFirst("DateUpdated like \"3/5/2021*\"");
    ASSERT_FALSE(byDate->noMatch());
    EXPECT_EQ(byDate->value("LastName").toString(), "smith");
    // A name in brackets and a field the list lacks go the general way.
    byDate->findFirst("[LastName] like \"Zo*\"");
    EXPECT_EQ(byDate->value("LastName").toString(), "Zoë");
}
