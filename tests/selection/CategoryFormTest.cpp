#include "SelectionFixture.h"
#include "platform/ui/MousePointer.h"

#include "platform/db/DataControl.h"
#include "selection/CategoryForm.h"

#include <QCheckBox>
#include <QTableView>
#include <functional>

namespace {

class CategoryFormTest : public SelectionFixture {
  protected:
    void SetUp() override { w = &startWithContacts(); }

    // Opens the window from the main window's button and runs the action in it.
    void inWindow(std::function<void(CategoryForm &)> action)
    {
        bool opened = false;
        script.onModal("CategoryForm", [&](QWidget *form) {
            opened = true;
            action(*static_cast<CategoryForm *>(form));
        });
        w->button("cmdCategory")->click();
        EXPECT_TRUE(opened);
    }
    static QString currentCategory(CategoryForm &f)
    {
        platform::Recordset *rs = f.CatgData->recordset();
        return rs->eof() || rs->bof() ? QString() : rs->value("CategoryDesc").toString();
    }
    static void choose(CategoryForm &f, const QString &description)
    {
        f.CatgData->recordset()->findFirst("CategoryDesc = '" + description + "'");
    }
    void showCategory(const QString &description)
    {
        inWindow([&](CategoryForm &f) {
            choose(f, description);
            f.cmdSelected->click();
        });
    }

    NameList *w = nullptr;
};

TEST_F(CategoryFormTest, ShowSelectedCategoryNarrowsTheListAndRemembersIt)
{
    showCategory("Friends");
    EXPECT_EQ(Data1(*w)->recordSource(),
              "Select * from  qryContacts Where  CategoryNumber = 2  Order By LastName, FirstName ");
    EXPECT_EQ(shownNames(*w), QStringList({"Byron", "Turing"}));
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Friends");
    EXPECT_EQ(settingName("CATEGORY"), "Friends");
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='CATEGORY' And Setting1=' CategoryNumber = 2 '"),
              1);
    EXPECT_TRUE(gRecordSource.gSelectedClause.isEmpty());

    // Opening again lines the list up with the category shown; Show ALL undoes it all.
    inWindow([&](CategoryForm &f) {
        EXPECT_EQ(currentCategory(f), "Friends");
        f.cmdShowAll->click();
    });
    EXPECT_EQ(Data1(*w)->recordSource(), "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_EQ(shownNames(*w).size(), 5);
    EXPECT_EQ(label(*w, "lblCategory")->text(), "");
    EXPECT_EQ(settingName("CATEGORY"), "<none>");
}

TEST_F(CategoryFormTest, AddTrimsAndRefusesCaseVariantsOfAnExistingName)
{
    inWindow([&](CategoryForm &f) {
        script.answerInput("  Club \"A\"  ");
        f.cmdAdd->click();
        EXPECT_EQ(currentCategory(f), "Club \"A\"");
        EXPECT_EQ(f.CatgData->recordset()->absolutePosition(), 3) << "a new category stands last";
        script.answerInput("  fRiEnDs ").answerMessage(platform::vbOK);
        f.cmdAdd->click();
        EXPECT_EQ(currentCategory(f), "Friends");
        script.cancelInput();
        f.cmdAdd->click();
        f.cmdExit->click();
    });
    EXPECT_EQ(messages(), QStringList({"Category with this name already exists."}));
    EXPECT_EQ(count("Select Count(*) from tblCategoryDesc"), 4);
    EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc='Club \"A\"'"), 1);
}

TEST_F(CategoryFormTest, ChangeStoresTheAnswerAsTyped)
{
    inWindow([&](CategoryForm &f) {
        choose(f, "Work");
        script.answerInput(" Office ");
        f.cmdChange->click();
        f.cmdExit->click();
    });
    EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc=' Office '"), 1);
    EXPECT_EQ(script.shown(platform::DialogKind::Input)[0].defaultText, "Work");
}

TEST_F(CategoryFormTest, DeleteAsksWithTheLinkCountAndTakesTheLinks)
{
    inWindow([&](CategoryForm &f) {
        choose(f, "Friends");
        script.answerMessage(platform::vbNo);
        f.cmdDelete->click();
        choose(f, "Work");
        script.answerMessage(platform::vbYes);
        f.cmdDelete->click();
        EXPECT_EQ(currentCategory(f), "Friends") << "the last row deleted, the new last row is current";
        script.answerMessage(platform::vbYes);
        f.cmdDelete->click();
        f.cmdExit->click();
    });
    EXPECT_EQ(messages(),
              QStringList({"You have 2 record(s) still assigned to this Category.  Those records will still exist, "
                           "they just won't be assigned to this Category any longer.  Are you sure you want to "
                           "delete this Category?",
                           "Are you sure you want to delete this Category?",
                           "You have 2 record(s) still assigned to this Category.  Those records will still exist, "
                           "they just won't be assigned to this Category any longer.  Are you sure you want to "
                           "delete this Category?"}));
    EXPECT_EQ(count("Select Count(*) from tblCategoryID"), 1);
    EXPECT_EQ(count("Select Count(*) from tblContacts"), 5);
}

TEST_F(CategoryFormTest, ARefusedAddLeavesTheChosenCategoryToDeleteAndShow)
{
    const auto refuseAdd = [&](CategoryForm &f, const char *chosen) {
        choose(f, chosen), script.answerInput(QString(53, u'x')).answerMessage(platform::vbOK);
        f.cmdAdd->click();
    };
    inWindow([&](CategoryForm &f) {
        refuseAdd(f, "Friends"), script.answerMessage(platform::vbYes), f.cmdDelete->click();
        f.cmdExit->click();
    });
    EXPECT_TRUE(messages().value(1).startsWith("You have 2 record(s) still assigned"));
    EXPECT_EQ(count("Select Count(*) from tblCategoryID Where CategoryNumber=2"), 0);
    inWindow([&](CategoryForm &f) { refuseAdd(f, "Family"), f.cmdSelected->click(); });
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Setting1=' CategoryNumber = 1 '"), 1);
}

TEST_F(CategoryFormTest, DeletingTheShownCategoryResetsTheListButALaterOneKeepsIt)
{
    showCategory("Family");
    inWindow([&](CategoryForm &f) {
        choose(f, "Work"); // listed after the shown one
        script.answerMessage(platform::vbYes);
        f.cmdDelete->click();
        EXPECT_TRUE(f.isLoaded()) << "the shown category still exists";
        f.cmdExit->click();
    });
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Family");
    EXPECT_EQ(settingName("CATEGORY"), "Family");
    EXPECT_EQ(shownNames(*w), QStringList({"Byron"}));

    inWindow([&](CategoryForm &f) {
        choose(f, "Family");
        script.answerMessage(platform::vbYes);
        f.cmdDelete->click();
        EXPECT_FALSE(f.isLoaded());
    });
    EXPECT_EQ(label(*w, "lblCategory")->text(), "");
    EXPECT_EQ(settingName("CATEGORY"), "<none>");
    EXPECT_EQ(shownNames(*w).size(), 5);
}

TEST_F(CategoryFormTest, AFindCaptionOrARenamedCategoryResetsToAllContactsAtOnce)
{
    showCategory("Work");
    EXPECT_TRUE(shownNames(*w).isEmpty());
    w->setCategoryCaption("Records containing x");
    // The window closes as it shows: no command of it is ever reached.
    w->button("cmdCategory")->click();
    EXPECT_EQ(shownNames(*w).size(), 5);
    EXPECT_EQ(label(*w, "lblCategory")->text(), "");
}

TEST_F(CategoryFormTest, EmptyListCommandsTellAndChangeNothing)
{
    gDb->execute("Delete From tblCategoryDesc");
    inWindow([&](CategoryForm &f) {
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdChange->click();
        f.cmdDelete->click();
        f.cmdSelected->click();
        EXPECT_TRUE(f.isLoaded());
        EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default);
        f.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, "No Categories to change");
    EXPECT_EQ(boxes[1].title, "No Categories to delete");
    EXPECT_EQ(boxes[2].title, "No Categories");
    EXPECT_EQ(shownNames(*w).size(), 5);
}

TEST_F(CategoryFormTest, StartUpBoxAndTypeAhead)
{
    inWindow([&](CategoryForm &f) {
        EXPECT_FALSE(f.cbDefaultCatg->isChecked());
        f.cbDefaultCatg->click();
        EXPECT_EQ(settingName("CATEGORYSTARTUP"), "1");
        f.cbDefaultCatg->click();
        EXPECT_EQ(settingName("CATEGORYSTARTUP"), "0");
        f.cbDefaultCatg->click();
        QTest::keyClick(f.CatgGrid, Qt::Key_W);
        EXPECT_EQ(currentCategory(f), "Work");
        QTest::keyClick(f.CatgGrid, Qt::Key_F);
        EXPECT_EQ(currentCategory(f), "Family");
        QTest::keyClick(f.CatgGrid, Qt::Key_5);
        EXPECT_EQ(currentCategory(f), "Family");
        f.cmdExit->click();
    });
    gDb->execute("Update tblSettings Set Name='-1' Where Type='CATEGORYSTARTUP'");
    inWindow([&](CategoryForm &f) {
        EXPECT_TRUE(f.cbDefaultCatg->isChecked());
        // Enter in the list shows the category.
        choose(f, "Friends");
        QTest::keyClick(f.CatgGrid, Qt::Key_Return);
        EXPECT_FALSE(f.isLoaded());
    });
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Friends");
}

} // namespace
