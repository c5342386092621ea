#include "SelectionFixture.h"

#include "platform/db/DataControl.h"
#include "selection/CategoryAssign.h"
#include "selection/CategoryForm.h"
#include "selection/CatgAssignAll.h"

#include <QFocusFrame>
#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>
#include <functional>

namespace {

// How a user's hand gives an access key: both keys let go at once, or a quick press that
// lets go of Alt first, so that the letter's release comes without it.
enum class Press { Together, AltLetGoFirst };

void accessKey(QWidget *at, Qt::Key letter, Press how)
{
    if (how == Press::Together) {
        QTest::keyClick(at, letter, Qt::AltModifier);
        return;
    }
    QTest::keyPress(at, letter, Qt::AltModifier); // Alt goes down first
    QTest::keyRelease(at, Qt::Key_Alt);
    QTest::keyRelease(at, letter);
}

QString chosen(platform::DataControl *data)
{
    platform::Recordset *rs = data->recordset();
    return rs->eof() || rs->bof() ? QString() : rs->value("CategoryDesc").toString();
}

void choose(platform::DataControl *data, const QString &description)
{
    data->recordset()->findFirst("CategoryDesc = '" + description + "'");
}

// What the window shows where a widget stands, a little around it.
QImage look(QWidget *widget)
{
    QWidget *form = widget->window();
    return form->grab(QRect(widget->mapTo(form, QPoint()), widget->size()).adjusted(-3, -3, 3, 3)).toImage();
}

QFocusFrame *focusFrame(QWidget *form)
{
    for (QFocusFrame *frame : form->findChildren<QFocusFrame *>())
        if (frame->widget())
            return frame;
    return nullptr;
}

// Categories whose first letters are the access keys of the category windows, so that a letter
// taken for type-ahead would move the highlight away from "Bees".
class SelectionKeysTest : public SelectionFixture {
  protected:
    void SetUp() override
    {
        w = &startWithContacts();
        for (const char *category : {"Bees", "Cz Club", "Daisy", "Swans", "Apples", "Rooks"})
            gDb->execute(QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('%1')").arg(category));
    }

    template <class F> void inWindow(const char *name, const char *command, std::function<void(F &)> action)
    {
        bool opened = false;
        script.onModal(name, [&](QWidget *form) {
            opened = true;
            QApplication::setActiveWindow(form);
            action(*static_cast<F *>(form));
        });
        w->dispatch(command);
        EXPECT_TRUE(opened) << name;
    }

    NameList *w = nullptr;
};

TEST_F(SelectionKeysTest, AccessKeysOfCategorySelectionActOnTheHighlightedCategory)
{
    struct Case {
        Qt::Key letter;
        const char *highlightAfter; // a delete moves on to the next category
        std::function<void()> answer;
        std::function<void()> check;
    };
    const Case cases[] = {
        {Qt::Key_C, "Bees", [&] { script.cancelInput(); },
         [&] { EXPECT_EQ(script.shown(platform::DialogKind::Input).back().defaultText, "Bees"); }},
        {Qt::Key_D, "Cz Club", [&] { script.answerMessage(platform::vbYes); },
         [&] {
             EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc='Bees'"), 0);
             EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc='Daisy'"), 1);
             gDb->execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Bees')");
         }},
        {Qt::Key_S, "", [] {},
         [&] {
             EXPECT_EQ(label(*w, "lblCategory")->text(), "Bees");
             w->dispatch("cmdShowAll");
         }},
    };
    for (const Press how : {Press::Together, Press::AltLetGoFirst}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(QKeySequence(c.letter).toString().toStdString() + (how == Press::Together ? "" : " quick"));
            inWindow<CategoryForm>("CategoryForm", "cmdCategory", [&](CategoryForm &f) {
                choose(f.CatgData, "Bees");
                f.CatgGrid->setFocus();
                c.answer();
                accessKey(f.CatgGrid, c.letter, how);
                if (f.isLoaded()) {
                    EXPECT_EQ(chosen(f.CatgData), c.highlightAfter) << "the letter's release moved the highlight";
                    f.cmdExit->click();
                }
            });
            c.check();
        }
    }
    // A letter typed alone still looks a category up, one that comes while Alt is held does not.
    inWindow<CategoryForm>("CategoryForm", "cmdCategory", [&](CategoryForm &f) {
        choose(f.CatgData, "Bees");
        f.CatgGrid->setFocus();
        QTest::keyPress(f.CatgGrid, Qt::Key_Alt);
        QTest::keyClick(f.CatgGrid, Qt::Key_C);
        QTest::keyRelease(f.CatgGrid, Qt::Key_Alt);
        EXPECT_EQ(chosen(f.CatgData), "Bees");
        QTest::keyClick(f.CatgGrid, Qt::Key_C);
        EXPECT_EQ(chosen(f.CatgData), "Cz Club");
        f.cmdExit->click();
    });
}

TEST_F(SelectionKeysTest, AccessKeysOfTheAssignWindowsActOnTheHighlightedCategory)
{
    for (const Press how : {Press::Together, Press::AltLetGoFirst}) {
        inWindow<CategoryAssign>("CategoryAssign", "cmdAssignCatg", [&](CategoryAssign &f) {
            choose(f.CatgData, "Bees");
            f.CatgGrid->setFocus();
            script.cancelInput();
            accessKey(f.CatgGrid, Qt::Key_C, how);
            EXPECT_EQ(chosen(f.CatgData), "Bees");
            f.cmdExit->click();
        });
        EXPECT_EQ(script.shown(platform::DialogKind::Input).back().defaultText, "Bees");

        inWindow<CatgAssignAll>("CatgAssignAll", "AssignAllToCatg", [&](CatgAssignAll &f) {
            choose(f.CatgData, "Bees");
            f.CatgGrid->setFocus();
            script.answerMessage(platform::vbCancel);
            accessKey(f.CatgGrid, Qt::Key_R, how); // Remove; "Rooks" is listed after "Bees"
            EXPECT_EQ(chosen(f.CatgData), "Bees");
            script.answerMessage(platform::vbOK).answerMessage(platform::vbOK);
            accessKey(f.CatgGrid, Qt::Key_A, how); // Assign; "Apples" is listed first
            f.cmdExit->click();
        });
        EXPECT_TRUE(messages().back().startsWith("Number of records assigned to Category \"Bees\""))
            << messages().back().toStdString();
    }
}

TEST_F(SelectionKeysTest, TheSavedFilterListFollowsTheKeyboardAsItDoesAClick)
{
    for (const char *filter : {"'Alpha', 'City = ''Cork'''", "'Beta', 'City = ''Boston'''", "'Gamma', 'LastName = ''Jones'''"})
        gDb->execute(QStringLiteral("INSERT INTO tblSettings (Type, Name, Setting8) VALUES ('FILTER', %1)").arg(filter));
    inWindow<CriteriaForm>("CriteriaForm", "cmdFilter", [&](CriteriaForm &f) {
        EXPECT_FALSE(f.cmdRenameFilter->isEnabled());
        EXPECT_FALSE(f.cmdDeleteFilter->isEnabled());
        f.listFilters->setFocus(Qt::TabFocusReason); // on the first filter, none chosen yet
        const struct {
            Qt::Key key;
            const char *chosen;
            const char *criteria;
        } walk[] = {{Qt::Key_Down, "Beta", "City = 'Boston'"},   {Qt::Key_End, "Gamma", "LastName = 'Jones'"},
                    {Qt::Key_Up, "Beta", "City = 'Boston'"},     {Qt::Key_Home, "Alpha", "City = 'Cork'"},
                    {Qt::Key_G, "Gamma", "LastName = 'Jones'"}, {Qt::Key_PageUp, "Alpha", "City = 'Cork'"}};
        for (const auto &step : walk) {
            QTest::keyClick(f.listFilters, step.key);
            EXPECT_EQ(f.listFilters->currentItem()->text(), step.chosen);
            EXPECT_EQ(f.txtCriteria->toPlainText(), step.criteria) << step.chosen;
            EXPECT_TRUE(f.cmdRenameFilter->isEnabled() && f.cmdDeleteFilter->isEnabled()) << step.chosen;
        }
        // A renamed filter stays chosen with the criteria the box shows; a deleted one leaves
        // nothing chosen.
        f.txtCriteria->setPlainText("City = 'Rome'");
        script.answerInput("Zeta");
        f.cmdRenameFilter->click();
        EXPECT_EQ(f.listFilters->currentItem()->text(), "Zeta");
        EXPECT_EQ(f.txtCriteria->toPlainText(), "City = 'Rome'");
        script.answerMessage(platform::vbYes);
        accessKey(f.listFilters, Qt::Key_D, Press::Together);
        EXPECT_EQ(f.listFilters->count(), 2);
        EXPECT_EQ(f.listFilters->selectedItems().size(), 0);
        EXPECT_EQ(f.txtCriteria->toPlainText(), "City = 'Rome'");
        f.cmdExit->click();
    });
    EXPECT_EQ(messages().back(), "Are you sure you want to delete filter: Zeta?");
}

// The grid that has the focus is framed, its current row drawn focused, from the first paint;
// the one that has not looks otherwise.
TEST_F(SelectionKeysTest, TheFocusedGridIsFramedFromTheFirstPaint)
{
    inWindow<CategoryForm>("CategoryForm", "cmdCategory", [&](CategoryForm &f) {
        EXPECT_TRUE(f.testAttribute(Qt::WA_KeyboardFocusChange));
        ASSERT_EQ(f.focusWidget(), f.CatgGrid);
        ASSERT_NE(focusFrame(&f), nullptr);
        EXPECT_EQ(focusFrame(&f)->widget(), f.CatgGrid);
        const QImage focused = look(f.CatgGrid);
        f.cmdAdd->setFocus();
        EXPECT_EQ(focusFrame(&f), nullptr);
        EXPECT_NE(look(f.CatgGrid), focused);
        f.cmdExit->click();
    });
    inWindow<CategoryAssign>("CategoryAssign", "cmdAssignCatg", [&](CategoryAssign &f) {
        QTableView *grids[] = {f.CatgGrid, f.CatgIdGrid};
        for (int i = 0; i < 2; ++i) {
            QTableView *grid = grids[i], *other = grids[1 - i];
            grid->setFocus();
            EXPECT_EQ(focusFrame(&f)->widget(), grid);
            const QImage focused = look(grid), unfocused = look(other);
            other->setFocus();
            EXPECT_NE(look(grid), focused) << grid->objectName().toStdString();
            EXPECT_NE(look(other), unfocused) << other->objectName().toStdString();
        }
        f.cmdExit->click();
    });
}

} // namespace
