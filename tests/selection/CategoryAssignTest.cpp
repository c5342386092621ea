#include "SelectionFixture.h"

#include "editor/GLOBAL.h"
#include "platform/db/DataControl.h"
#include "selection/CategoryAssign.h"
#include "selection/CatgAssignAll.h"

#include <QCheckBox>
#include <QTableView>
#include <functional>
#include <sqlcipher/sqlite3.h>

namespace {

class CategoryAssignTest : public SelectionFixture {
  protected:
    void SetUp() override { w = &startWithContacts(); }

    void assignWindow(std::function<void(CategoryAssign &)> action)
    {
        bool opened = false;
        script.onModal("CategoryAssign", [&](QWidget *form) {
            opened = true;
            action(*static_cast<CategoryAssign *>(form));
        });
        w->button("cmdAssignCatg")->click();
        EXPECT_TRUE(opened);
    }
    void allWindow(std::function<void(CatgAssignAll &)> action)
    {
        script.onModal("CatgAssignAll", [&](QWidget *form) { action(*static_cast<CatgAssignAll *>(form)); });
        w->dispatch("AssignAllToCatg");
    }
    static QStringList rightList(CategoryAssign &f)
    {
        QStringList out;
        platform::Recordset *rs = f.CatgIdData->recordset();
        if (rs->recordCount() == 0)
            return out;
        for (rs->moveFirst(); !rs->eof(); rs->moveNext())
            out << rs->value("CategoryDesc").toString();
        rs->moveFirst();
        return out;
    }
    static void choose(platform::DataControl *data, const QString &description)
    {
        data->recordset()->findFirst("CategoryDesc = '" + description + "'");
    }

    NameList *w = nullptr;
};

TEST_F(CategoryAssignTest, AssigningTwiceIsToldAndLeavesOneLink)
{
    goTo(*w, "Hopper");
    assignWindow([&](CategoryAssign &f) {
        EXPECT_EQ(f.lblName->text(), "Grace  Hopper");
        EXPECT_EQ(f.lblOrganization->text(), "Navy");
        EXPECT_TRUE(rightList(f).isEmpty());
        choose(f.CatgData, "Work");
        f.cmdRtArrow->click();
        script.answerMessage(platform::vbOK);
        f.cmdRtArrow->click();
        EXPECT_EQ(rightList(f), QStringList({"Work"}));
        choose(f.CatgData, "Family");
        f.cmdRtArrow->click();
        EXPECT_EQ(rightList(f), QStringList({"Family", "Work"}));
        // Remove takes the right list's current link only.
        f.cmdLfArrow->click();
        EXPECT_EQ(rightList(f), QStringList({"Work"}));
        f.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Category is already assigned to this record.");
    EXPECT_EQ(boxes[0].title, "Can't assign twice");
    EXPECT_EQ(links(3, 3), 1);
    EXPECT_EQ(links(3, 1), 0);
    EXPECT_EQ(count("Select Count(*) from tblCategoryDesc"), 3) << "categories stay";
}

TEST_F(CategoryAssignTest, AddKeepsTheAnswerAsTypedAndTheOptionIsStored)
{
    goTo(*w, "Jones");
    assignWindow([&](CategoryAssign &f) {
        EXPECT_TRUE(f.lblOrganization->isHidden());
        script.answerInput(" Work ");
        f.cmdAdd->click();
        EXPECT_FALSE(f.cbAssignCatgOnAdd->isChecked());
        f.cbAssignCatgOnAdd->click();
        f.cmdExit->click();
    });
    EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc=' Work '"), 1);
    EXPECT_EQ(settingName("ASSIGNCATGONADD"), "1");
    EXPECT_EQ(gEditor.gAssignCategoryOnAdd, 1);
    gEditor.gAssignCategoryOnAdd = 0;
}

TEST_F(CategoryAssignTest, NoContactDisplayedRefusesBothWindows)
{
    Data1(*w)->setRecordSource("Select * from tblContacts Where RecordID = 0");
    Data1(*w)->refresh();
    script.answerMessage(platform::vbOK);
    w->button("cmdAssignCatg")->click();
    allWindow([&](CatgAssignAll &f) {
        script.answerMessage(platform::vbOK);
        f.cmdAssign->click();
        f.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "No records to Assign to Categories");
    EXPECT_EQ(boxes[1].title, "No records displayed");
    EXPECT_EQ(count("Select Count(*) from tblCategoryID"), 3);
}

TEST_F(CategoryAssignTest, AllDisplayedAreAssignedAndRemovedWithCountsAndTheRowKept)
{
    goTo(*w, "Jones");
    allWindow([&](CatgAssignAll &f) {
        choose(f.CatgData, "Friends");
        script.answerMessage(platform::vbCancel);
        f.cmdAssign->click();
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdAssign->click();
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdAssign->click();
        choose(f.CatgData, "Work");
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdDelete->click();
        f.cmdExit->click();
    });
    const QStringList texts = messages();
    ASSERT_EQ(texts.size(), 7);
    EXPECT_EQ(texts[0], "Click on the OK button to assign ALL displayed records to this category, or Cancel if this "
                        "is not what you want.");
    EXPECT_EQ(texts[2], "Number of records assigned to Category \"Friends\" (3).\nNumber of records already assigned "
                        "to this Category (2).");
    EXPECT_EQ(texts[4], "Number of records assigned to Category \"Friends\" (0).\nNumber of records already assigned "
                        "to this Category (5).");
    EXPECT_EQ(texts[6], "Number of records removed from Category \"Work\" (0).\nNumber of records not found "
                        "assigned to this Category (5).");
    EXPECT_EQ(script.shown(platform::DialogKind::Message)[0].defaultButton, 2);
    EXPECT_EQ(count("Select Count(*) from tblCategoryID Where CategoryNumber=2"), 5);
    EXPECT_EQ(current(*w, "LastName"), "Jones");
}

TEST_F(CategoryAssignTest, MarkedContactsWarnUnlessOnlyTheyAreShown)
{
    gDb->execute("Update tblContacts Set Selected='x' Where RecordID In (1, 2)");
    gMainWindow.gSelectedCount = 2;
    allWindow([&](CatgAssignAll &f) {
        choose(f.CatgData, "Work");
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdDelete->click();
        f.cmdExit->click();
    });
    w->dispatch("ShowSelectedOnlyMenu");
    allWindow([&](CatgAssignAll &f) {
        choose(f.CatgData, "Work");
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdAssign->click();
        f.cmdExit->click();
    });
    gMainWindow.gSelectedCount = 0;
    const QStringList texts = messages();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[0].startsWith("All displayed records will be removed from this category, not just the 2 you "
                                    "have selected.  To un-assign just the selected records, press Cancel"));
    EXPECT_TRUE(texts[0].endsWith("Edit menu.\r\n\r\nClick on the OK button to remove ALL displayed records from "
                                  "this category, or Cancel if this is not what you want."));
    EXPECT_TRUE(texts[2].startsWith("Click on the OK button to assign"));
    EXPECT_EQ(texts[3], "Number of records assigned to Category \"Work\" (2).");
    EXPECT_EQ(links(1, 3) + links(2, 3), 2);
}

TEST_F(CategoryAssignTest, EditorsCategoriesButtonOpensTheWindowForItsContact)
{
    goTo(*w, "Turing");
    bool opened = false;
    script.onModal("NameEdit", [&](QWidget *editor) {
        script.onModal("CategoryAssign", [&](QWidget *form) {
            opened = true;
            EXPECT_EQ(static_cast<CategoryAssign *>(form)->lblName->text(), "Alan  Turing");
            DialogScript::click(form, "cmdExit");
        });
        DialogScript::click(editor, "cmdCategories");
        DialogScript::click(editor, "cmdCancel");
    });
    w->button("cmdEdit")->click();
    EXPECT_TRUE(opened);
}

// A few thousand contacts shown, the first category already given to every third; with
// `failOn`, the file refuses that write for the contact halfway down the list.
class CategoryForManyTest : public SelectionFixture, public ::testing::WithParamInterface<const char *> {
  protected:
    static constexpr int Contacts = 3000;

    NameList &startWithLinks(const QString &failOn = {})
    {
        prepare(Contacts);
        before("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Club')");
        before("INSERT INTO tblCategoryID (ID, CategoryNumber) SELECT RecordID, 1 FROM tblContacts WHERE "
               "RecordID Mod 3 = 0");
        if (!failOn.isEmpty())
            sqlite3_exec(
                platform::Database::open(path)->handle(),
                QStringLiteral("CREATE TRIGGER refused BEFORE %1 ON tblCategoryID WHEN %2.ID = %3 BEGIN "
                               "SELECT RAISE(ABORT, 'disk I/O error'); END")
                    .arg(failOn, failOn == "INSERT" ? "NEW" : "OLD")
                    .arg(Contacts / 2)
                    .toUtf8(),
                nullptr, nullptr, nullptr);
        NameList &w = start();
        shown(w).setAbsolutePosition(1234);
        contact = current(w, "RecordID");
        return w;
    }

    // Clicks each button, answered OK, and counts the category's links after each.
    std::vector<qint64> linksAfter(NameList &w, std::initializer_list<const char *> buttons)
    {
        std::vector<qint64> links;
        script.onModal("CatgAssignAll", [&](QWidget *form) {
            for (const char *button : buttons) {
                script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
                DialogScript::click(form, button);
                links.push_back(count("Select Count(*) from tblCategoryID Where CategoryNumber=1"));
            }
            DialogScript::click(form, "cmdExit");
        });
        w.dispatch("AssignAllToCatg");
        EXPECT_EQ(current(w, "RecordID"), contact) << "the list keeps its row";
        return links;
    }

    QVariant contact;
};

TEST_F(CategoryForManyTest, EveryShownContactIsAssignedThenRemovedWithItsCounts)
{
    NameList &w = startWithLinks();
    EXPECT_EQ(linksAfter(w, {"cmdAssign", "cmdDelete"}), std::vector<qint64>({Contacts, 0}));
    const QStringList texts = messages();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[1], "Number of records assigned to Category \"Club\" (2000).\nNumber of records already "
                        "assigned to this Category (1000).");
    EXPECT_EQ(texts[3], "Number of records removed from Category \"Club\" (3000).");
}

TEST_P(CategoryForManyTest, AFailureHalfwayLeavesEveryLinkAsItWas)
{
    NameList &w = startWithLinks(GetParam());
    EXPECT_EQ(linksAfter(w, {GetParam() == QStringLiteral("INSERT") ? "cmdAssign" : "cmdDelete"}),
              std::vector<qint64>({Contacts / 3}));
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 2u) << "no statistics after the failure";
    EXPECT_TRUE(boxes[1].text.contains("disk I/O error")) << boxes[1].text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(AssignAndRemove, CategoryForManyTest, ::testing::Values("INSERT", "DELETE"));

// A book opened read-only refuses a new category in a sentence that ends once, before its number.
TEST_F(SelectionFixture, OnAReadOnlyBookANewCategoryIsRefusedWithOneFullStop)
{
    prepare(1);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    NameList &w = start();
    script.onModal("CategoryAssign", [&](QWidget *form) {
        auto &assign = *static_cast<CategoryAssign *>(form);
        script.answerInput("Club").answerMessage(platform::vbOK);
        assign.cmdAdd->click();
        assign.cmdExit->click();
    });
    w.button("cmdAssignCatg")->click();
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.endsWith(" Nothing was changed.  Error number:3027"))
        << boxes[0].text.toStdString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace
