#include "SelectionFixture.h"
#include "platform/ui/MousePointer.h"

#include "platform/db/DataControl.h"

#include <QPlainTextEdit>

namespace {

class FindAnyTextTest : public SelectionFixture {
  protected:
    void SetUp() override { w = &startWithContacts(); }
    NameList *w = nullptr;
};

TEST_F(FindAnyTextTest, FindShowsTheContactsContainingTheTextOverEveryList)
{
    Data1(*w)->setRecordSource(storeParts(categoryRecordSource(gRecordSource, 2)));
    Data1(*w)->refresh();
    gRecordSource.gSelectedClause = " And Selected = 'x' ";
    // The blanks stay inside the pattern: " engines " is not in "engines".
    script.answerInput(" engines ").answerMessage(platform::vbOK);
    w->button("cmdFind")->click();
    EXPECT_EQ(shownNames(*w), QStringList());
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Records containing engines");
    w->dispatch("ShowAllMenu");

    script.answerInput("ENGINE");
    w->dispatch("FindEditMenu");
    EXPECT_EQ(shownNames(*w), QStringList({"Byron"}));
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Records containing ENGINE");
    EXPECT_FALSE(w->addAllowed());
    EXPECT_FALSE(label(*w, "lblFilterMsg")->isVisible());
    EXPECT_TRUE(Data1(*w)->recordSource().startsWith("Select DISTINCTROW * from  tblContacts Where  (Prefix Like "));
    EXPECT_TRUE(gRecordSource.gSelectedClause.isEmpty());
    EXPECT_TRUE(gRecordSource.gCategoryClause.isEmpty());
    EXPECT_TRUE(gRecordSource.gFilterClause.isEmpty());
    const auto prompt = script.shown(platform::DialogKind::Input)[1];
    EXPECT_EQ(prompt.title, "Specify text to find");
    EXPECT_TRUE(prompt.text.contains("\r\rThere are 3 wildcard characters"));
}

TEST_F(FindAnyTextTest, NothingFoundEmptiesTheDetailsAndKeepsTheCaption)
{
    script.answerInput("zzz").answerMessage(platform::vbOK);
    w->dispatch("FindEditMenu");
    EXPECT_TRUE(shownNames(*w).isEmpty());
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Records containing zzz");
    EXPECT_TRUE(txtName(*w)->toPlainText().isEmpty());
    EXPECT_EQ(messages(), QStringList({"No records found."}));

    // With nothing displayed the command asks nothing.
    w->dispatch("FindEditMenu");
    EXPECT_EQ(script.shown(platform::DialogKind::Input).size(), 1u);
}

TEST_F(FindAnyTextTest, QuotesWildcardsAndDatesAreFound)
{
    struct Case {
        QString text;
        QStringList names;
    };
    const QList<Case> cases = {
        {"\"and\"", {"Turing"}}, {"o'b", {"O'Brien"}},     {"100%", {"O'Brien"}},
        {"b?ron", {"Byron"}},    {"12/9/1906", {"Hopper"}}, {"Wilm*ow", {"Turing"}},
        {"אבר", {"אַבְרָהָם"}},      {"Mullerz", {"Mu\u0308llerz"}}, {"Müllerz", {"Mu\u0308llerz"}},
    };
    for (const char *name : {"אַבְרָהָם", "Mu\u0308llerz"})
        gDb->execute(QStringLiteral("INSERT INTO tblContacts (LastName) VALUES ('%1')").arg(QString::fromUtf8(name)));
    for (const Case &c : cases) {
        w->dispatch("ShowAllMenu");
        script.answerInput(c.text);
        w->dispatch("FindEditMenu");
        EXPECT_EQ(shownNames(*w), c.names) << c.text.toStdString();
    }
}

TEST_F(FindAnyTextTest, AFailedFindRestoresTheListAndTellsWhy)
{
    Data1(*w)->setRecordSource(storeParts(categoryRecordSource(gRecordSource, 2)));
    Data1(*w)->refresh();
    w->setCategoryCaption("Friends");
    const QString before = Data1(*w)->recordSource();
    script.answerInput("[z-a]").answerMessage(platform::vbOK);
    w->dispatch("FindEditMenu");
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Find command failed");
    EXPECT_TRUE(boxes[0].text.startsWith("The FIND command failed.  The error message"));
    EXPECT_EQ(Data1(*w)->recordSource(), before);
    EXPECT_EQ(gRecordSource.gCategoryClause, " CategoryNumber = 2 ");
    EXPECT_EQ(gRecordSource.gListSource, "qryContacts");
    EXPECT_EQ(label(*w, "lblCategory")->text(), "");
    EXPECT_EQ(shownNames(*w), QStringList({"Byron", "Turing"}));
    EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
}

TEST_F(FindAnyTextTest, CancelChangesNothing)
{
    script.cancelInput();
    w->dispatch("FindEditMenu");
    script.answerInput("   ");
    w->dispatch("FindEditMenu");
    EXPECT_EQ(label(*w, "lblCategory")->text(), "");
    EXPECT_EQ(shownNames(*w).size(), 5);
}

} // namespace
