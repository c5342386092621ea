#include "SelectionFixture.h"
#include "platform/ui/MousePointer.h"

#include "platform/db/DataControl.h"
#include "selection/CriteriaForm.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <functional>

namespace {

class CriteriaFormTest : public SelectionFixture {
  protected:
    void SetUp() override { w = &startWithContacts(); }

    void inWindow(std::function<void(CriteriaForm &)> action)
    {
        bool opened = false;
        script.onModal("CriteriaForm", [&](QWidget *form) {
            opened = true;
            action(*static_cast<CriteriaForm *>(form));
        });
        w->button("cmdFilter")->click();
        EXPECT_TRUE(opened);
    }
    static void apply(CriteriaForm &f, const QString &criteria)
    {
        f.txtCriteria->setPlainText(criteria);
        f.cmdApplyCriteria->click();
    }
    static QStringList items(QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static void chooseFilter(CriteriaForm &f, const QString &name)
    {
        const auto found = f.listFilters->findItems(name, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << name.toStdString();
        f.listFilters->setCurrentItem(found.first());
        f.listFilters_Click();
    }

    NameList *w = nullptr;
};

TEST_F(CriteriaFormTest, ApplyNarrowsTheListAndKeepsTheCriteria)
{
    inWindow([&](CriteriaForm &f) {
        EXPECT_FALSE(f.cmdSaveFilter->isEnabled());
        apply(f, "LastName Like \"*o*\" order by FirstName desc");
        EXPECT_FALSE(f.isLoaded());
    });
    EXPECT_EQ(shownNames(*w), QStringList({"O'Brien", "Jones", "Hopper", "Byron"}));
    EXPECT_EQ(gRecordSource.gFilterClause, " (LastName Like \"*o*\") ");
    EXPECT_EQ(gCriteria.gLastCriteria, "LastName Like \"*o*\" order by FirstName desc");
    QCoreApplication::processEvents();
    EXPECT_FALSE(label(*w, "lblFilterMsg")->isHidden());
    inWindow([&](CriteriaForm &f) {
        EXPECT_EQ(f.txtCriteria->toPlainText(), gCriteria.gLastCriteria);
        EXPECT_TRUE(f.cmdSaveFilter->isEnabled());
        f.cmdShowAll->click();
    });
    EXPECT_EQ(Data1(*w)->recordSource(), "Select * from  tblContacts Order By LastName, FirstName ");
    EXPECT_EQ(shownNames(*w).size(), 5);
    EXPECT_TRUE(gRecordSource.gFilterClause.isEmpty());
}

TEST_F(CriteriaFormTest, EnterInTheBoxAppliesAndAFilterNarrowsTheCategoryShown)
{
    Data1(*w)->setRecordSource(storeParts(categoryRecordSource(gRecordSource, 2)));
    Data1(*w)->refresh();
    inWindow([&](CriteriaForm &f) {
        f.txtCriteria->setPlainText("FirstName = 'alan'");
        f.txtCriteria->setFocus();
        QTest::keyClick(f.txtCriteria, Qt::Key_Return);
        EXPECT_FALSE(f.isLoaded());
    });
    EXPECT_EQ(shownNames(*w), QStringList({"Turing"}));
    EXPECT_EQ(gRecordSource.gWhereClause, " Where  (FirstName = 'alan')  And  CategoryNumber = 2 ");
}

TEST_F(CriteriaFormTest, NoRowsAndRefusedCriteriaRestoreTheListWithTheirMessage)
{
    w->setCategoryCaption("Records containing o");
    const QString before = Data1(*w)->recordSource();
    struct Case {
        QString criteria;
        QString text;
        QString title;
    };
    const QList<Case> cases = {
        {"LastName = 'Nobody'", "No records found which meet the criteria you specified.  Try again.",
         "No records found"},
        {"   ", "The criteria you specified is invalid.  Try again.", "Invalid syntax"},
        {"order by LastName", "The criteria you specified is invalid.  Try again.", "Invalid syntax"},
        {"LastName = ", "The criteria you specified is invalid.  Try again.", "Invalid syntax"},
        {"Nickame = 'x'", "The criteria you specified is invalid.  Try again.", "Invalid syntax"},
        {"LastName = 'x'; Delete From tblContacts", "", "Error"},
        {"Soundex(LastName) = 'x'", "", "Error"},
        {"RecordID = 'one'", "", "Error"},
    };
    inWindow([&](CriteriaForm &f) {
        for (const Case &c : cases) {
            script.answerMessage(platform::vbOK);
            apply(f, c.criteria);
            EXPECT_TRUE(f.isLoaded()) << c.criteria.toStdString();
            EXPECT_EQ(platform::mousePointer(), platform::MousePointer::Default) << c.criteria.toStdString();
            EXPECT_EQ(f.txtCriteria->toPlainText(), c.criteria);
        }
        f.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), size_t(cases.size()));
    for (qsizetype i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(boxes[size_t(i)].title, cases[i].title) << cases[i].criteria.toStdString();
        if (!cases[i].text.isEmpty()) {
            EXPECT_EQ(boxes[size_t(i)].text, cases[i].text);
        }
    }
    EXPECT_TRUE(boxes[5].text.endsWith(".  Error number:3142"));
    EXPECT_TRUE(boxes[6].text.endsWith(".  Error number:3085"));
    EXPECT_TRUE(boxes[7].text.endsWith(".  Error number:3464"));
    EXPECT_EQ(Data1(*w)->recordSource(), before);
    EXPECT_EQ(shownNames(*w).size(), 5);
    EXPECT_TRUE(gRecordSource.gFilterClause.isEmpty());
    EXPECT_EQ(count("Select Count(*) from tblContacts"), 5);
    EXPECT_EQ(label(*w, "lblCategory")->text(), "Records containing o") << "only a successful Apply clears the find";
    EXPECT_EQ(gCriteria.gLastCriteria, "RecordID = 'one'") << "Exit keeps the box";
}

TEST_F(CriteriaFormTest, AnEmptyBoxClearsOnlyTheFilterPart)
{
    gRecordSource.gFilterClause = " (x) ";
    inWindow([&](CriteriaForm &f) {
        apply(f, "");
        EXPECT_TRUE(f.isLoaded());
        f.cmdExit->click();
    });
    EXPECT_TRUE(gRecordSource.gFilterClause.isEmpty());
    EXPECT_EQ(shownNames(*w).size(), 5);
}

TEST_F(CriteriaFormTest, FieldListLeavesOutCategoryFieldsAndCopiesANameIntoTheBox)
{
    Data1(*w)->setRecordSource(storeParts(categoryRecordSource(gRecordSource, 1)));
    Data1(*w)->refresh();
    inWindow([&](CriteriaForm &f) {
        const QStringList names = items(f.listFieldNames);
        EXPECT_FALSE(names.contains("CategoryNumber"));
        EXPECT_TRUE(names.contains("LastName"));
        EXPECT_EQ(names.size(), shown(*w).fieldCount() - 1);
        QStringList sorted = names;
        sorted.sort(Qt::CaseInsensitive);
        EXPECT_EQ(names, sorted);
        f.listFieldNames->setCurrentItem(f.listFieldNames->findItems("LastName", Qt::MatchExactly).first());
        f.listFieldNames_DblClick();
        EXPECT_EQ(f.txtCriteria->toPlainText(), "LastName ");
        EXPECT_TRUE(f.cmdSaveFilter->isEnabled());
        f.cmdExit->click();
    });
}

TEST_F(CriteriaFormTest, SavedFiltersAreSavedRenamedChosenAndDeleted)
{
    gDb->execute("INSERT INTO tblSettings (Type, Name, Setting8) VALUES ('FILTER', 'Blank one', NULL)");
    inWindow([&](CriteriaForm &f) {
        // Blanks only cannot be saved.
        f.txtCriteria->setPlainText("  ");
        script.answerMessage(platform::vbOK);
        f.cmdSaveFilter->click();
        EXPECT_FALSE(f.cmdSaveFilter->isEnabled());

        f.txtCriteria->setPlainText("City = 'Cork'");
        script.answerInput("  " + QString(60, u'x') + "  ").answerMessage(platform::vbOK);
        f.cmdSaveFilter->click();
        script.answerInput("Tom's list");
        f.cmdSaveFilter->click();
        EXPECT_EQ(items(f.listFilters), QStringList({"Blank one", "Tom´s list", QString(50, u'x')}));

        // The same name asks first; No keeps the stored criteria.
        f.txtCriteria->setPlainText("City = 'Boston'");
        script.answerInput("Tom's list").answerMessage(platform::vbNo);
        f.cmdSaveFilter->click();
        chooseFilter(f, "Tom´s list");
        EXPECT_EQ(f.txtCriteria->toPlainText(), "City = 'Cork'");
        EXPECT_TRUE(f.cmdRenameFilter->isEnabled());

        // A filter stored without criteria shows an empty box.
        chooseFilter(f, "Blank one");
        EXPECT_EQ(f.txtCriteria->toPlainText(), "");

        chooseFilter(f, "Tom´s list");
        script.answerInput("Cork people");
        f.cmdRenameFilter->click();
        EXPECT_EQ(items(f.listFilters), QStringList({"Blank one", "Cork people", QString(50, u'x')}));

        chooseFilter(f, QString(50, u'x'));
        script.answerMessage(platform::vbYes);
        f.cmdDeleteFilter->click();
        EXPECT_EQ(items(f.listFilters), QStringList({"Blank one", "Cork people"}));
        f.cmdExit->click();
    });
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='FILTER' And Name='Cork people' And "
                    "Setting8='City = ''Cork'''"),
              1);
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='FILTER'"), 2);
    const QStringList titles = [&] {
        QStringList t;
        for (const auto &box : script.shown(platform::DialogKind::Message))
            t << box.title;
        return t;
    }();
    EXPECT_EQ(titles, QStringList({"Criteria Required", "Name truncated to 50 characters", "Update confirmation",
                                   "Delete Confirmation"}));
}

TEST_F(CriteriaFormTest, RenamingToAnotherFiltersNameInAnyCaseIsRefusedButToItsOwnIsTaken)
{
    gDb->execute("INSERT INTO tblSettings (Type, Name, Setting8) VALUES ('FILTER', 'Bob´s list', 'Bob')");
    gDb->execute("INSERT INTO tblSettings (Type, Name, Setting8) VALUES ('FILTER', 'heb', 'heb')");
    inWindow([&](CriteriaForm &f) {
        chooseFilter(f, "Bob´s list");
        script.answerInput(" hEb ").answerMessage(platform::vbOK).answerInput("BOB'S LIST");
        f.cmdRenameFilter->click(), f.cmdRenameFilter->click();
        EXPECT_EQ(items(f.listFilters), QStringList({"BOB´S LIST", "heb"}));
        f.cmdExit->click();
    });
    EXPECT_EQ(messages(), QStringList({"Filter with this name already exists."}));
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Name='heb' And Setting8='heb'"), 1);
}

TEST_F(CriteriaFormTest, RenameAndDeleteWithNothingChosenAreRefused)
{
    inWindow([&](CriteriaForm &f) {
        script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
        f.cmdRenameFilter_Click();
        f.cmdDeleteFilter_Click();
        f.cmdExit->click();
    });
    const auto boxes = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "No Filter selected to rename");
    EXPECT_EQ(boxes[1].title, "No Filter selected to delete");
}

// The limit of a saved filter's name counts characters as drawn and keeps them whole.
TEST_F(CriteriaFormTest, AFilterNameIsCutBetweenWholeCharacters)
{
    const QString a49(49, u'A'), smile = QString::fromUtf8("😀"), accent = QStringLiteral("e\u0301");
    const QString cases[][2] = {
        {a49 + smile, a49 + smile}, {a49 + u'A' + smile, a49 + u'A'}, {a49 + accent + u'x', a49 + accent}};
    for (const auto &[typed, stored] : cases) {
        inWindow([&](CriteriaForm &f) {
            f.txtCriteria->setPlainText("City = 'Cork'");
            script.answerInput(typed);
            if (stored != typed)
                script.answerMessage(platform::vbOK);
            f.cmdSaveFilter->click();
            EXPECT_TRUE(items(f.listFilters).contains(stored)) << typed.toStdString();
            f.cmdExit->click();
        });
    }
    for (const auto &box : script.shown(platform::DialogKind::Message))
        EXPECT_EQ(box.title, "Name truncated to 50 characters");
}

} // namespace

namespace {

// Fifty characters as drawn can be more than the name's field holds as it counts them
// (UTF-16 units): a name of 38 family emoji keeps as many whole emoji as the field holds,
// is stored, and the list shows exactly the stored name.
TEST_F(CriteriaFormTest, AFilterNameKeepsWithinWhatItsFieldHolds)
{
    const QString family = QString::fromUtf8("👨‍👩‍👧");
    const int fieldSize = gDb->tableDef("tblSettings").field("Name").size;
    inWindow([&](CriteriaForm &f) {
        f.txtCriteria->setPlainText("City = 'Cork'");
        script.answerInput(family.repeated(38)).answerMessage(platform::vbOK);
        f.cmdSaveFilter->click();
        const auto rs = gDb->openRecordset("Select * from tblSettings Where Type='FILTER'");
        ASSERT_FALSE(rs->eof());
        const QString stored = rs->value("Name").toString();
        EXPECT_EQ(stored, family.repeated(fieldSize / family.size()));
        EXPECT_EQ(items(f.listFilters), QStringList{stored});
        f.cmdExit->click();
    });
    EXPECT_EQ(script.shown(platform::DialogKind::Message).back().title, "Name truncated to 50 characters");
}

} // namespace
