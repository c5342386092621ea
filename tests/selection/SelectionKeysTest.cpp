#include "SelectionFixture.h"

#include "platform/db/DataControl.h"
#include "selection/CategoryAssign.h"
#include "selection/CategoryForm.h"

#include <QFocusFrame>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>
#include <functional>

namespace {

// An access key as a hand gives it: both keys let go together, or a quick press that lets go
// of Alt first, so that the letter's release comes to the list without it.
void accessKey(QWidget *at, Qt::Key letter, bool altLetGoFirst)
{
    QTest::keyPress(at, letter, Qt::AltModifier); // Alt, then the letter
    if (altLetGoFirst) {
        QTest::keyRelease(at, Qt::Key_Alt);
        QTest::keyRelease(at, letter);
    } else {
        QTest::keyRelease(at, letter, Qt::AltModifier); // the letter, then Alt
    }
}

QString chosen(platform::DataControl *data)
{
    platform::Recordset *rs = data->recordset();
    return rs->eof() || rs->bof() ? QString() : rs->value("CategoryDesc").toString();
}

void choose(platform::DataControl *data, QTableView *grid, const QString &description)
{
    data->recordset()->findFirst("CategoryDesc = '" + description + "'");
    grid->setFocus();
}

QImage look(QWidget *widget)
{
    QWidget *form = widget->window();
    return form->grab(QRect(widget->mapTo(form, QPoint()), widget->size()).adjusted(-3, -3, 3, 3)).toImage();
}

QWidget *framed(QWidget *form)
{
    for (QFocusFrame *frame : form->findChildren<QFocusFrame *>())
        if (frame->widget())
            return frame->widget();
    return nullptr;
}

// Categories whose first letters are the windows' access keys: a letter taken for type-ahead
// would move the highlight away from "Bees".
class SelectionKeysTest : public SelectionFixture {
  protected:
    void SetUp() override
    {
        w = &startWithContacts();
        for (const char *category : {"Bees", "Cz Club", "Daisy", "Swans"})
            gDb->execute(
                QStringLiteral("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('%1')").arg(category));
    }

    template <class F> void inWindow(const char *name, const char *command, std::function<void(F &)> action)
    {
        script.onModal(name, [&](QWidget *form) {
            QApplication::setActiveWindow(form);
            action(*static_cast<F *>(form));
        });
        w->dispatch(command);
    }

    NameList *w = nullptr;
};

TEST_F(SelectionKeysTest, AccessKeysOfCategorySelectionActOnTheHighlightedCategory)
{
    const struct {
        Qt::Key letter;
        const char *highlightAfter; // a delete moves on to the next category
        std::function<void()> answer, check;
    } cases[] = {
        {Qt::Key_C, "Bees", [&] { script.cancelInput(); },
         [&] { EXPECT_EQ(script.shown(platform::DialogKind::Input).back().defaultText, "Bees"); }},
        {Qt::Key_D, "Cz Club", [&] { script.answerMessage(platform::vbYes); },
         [&] {
             EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc='Bees'"), 0);
             EXPECT_EQ(count("Select Count(*) from tblCategoryDesc Where CategoryDesc='Daisy'"), 1);
             gDb->execute("INSERT INTO tblCategoryDesc (CategoryDesc) VALUES ('Bees')");
         }},
        {Qt::Key_S, nullptr, [] {}, [&] { EXPECT_EQ(label(*w, "lblCategory")->text(), "Bees"); }},
    };
    for (const bool quick : {false, true}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(QKeySequence(c.letter).toString().toStdString() + (quick ? " quick" : ""));
            inWindow<CategoryForm>("CategoryForm", "cmdCategory", [&](CategoryForm &f) {
                choose(f.CatgData, f.CatgGrid, "Bees");
                c.answer();
                accessKey(f.CatgGrid, c.letter, quick);
                if (f.isLoaded()) {
                    EXPECT_EQ(chosen(f.CatgData), c.highlightAfter)
                        << "the letter's release moved the highlight";
                    f.cmdExit->click();
                }
            });
            c.check();
        }
    }
    // A letter typed alone looks a category up; one that comes while Alt is held does not.
    inWindow<CategoryForm>("CategoryForm", "cmdCategory", [&](CategoryForm &f) {
        choose(f.CatgData, f.CatgGrid, "Bees");
        QTest::keyPress(f.CatgGrid, Qt::Key_Alt);
        QTest::keyClick(f.CatgGrid, Qt::Key_C);
        QTest::keyRelease(f.CatgGrid, Qt::Key_Alt);
        EXPECT_EQ(chosen(f.CatgData), "Bees");
        QTest::keyClick(f.CatgGrid, Qt::Key_C);
        EXPECT_EQ(chosen(f.CatgData), "Cz Club");
        f.cmdExit->click();
    });
}

TEST_F(SelectionKeysTest, AccessKeysOfTheAssignWindowActOnTheHighlightedCategory)
{
    for (const bool quick : {false, true}) {
        inWindow<CategoryAssign>("CategoryAssign", "cmdAssignCatg", [&](CategoryAssign &f) {
            choose(f.CatgData, f.CatgGrid, "Bees");
            script.cancelInput();
            accessKey(f.CatgGrid, Qt::Key_C, quick);
            EXPECT_EQ(chosen(f.CatgData), "Bees");
            f.cmdExit->click();
        });
        EXPECT_EQ(script.shown(platform::DialogKind::Input).back().defaultText, "Bees");
    }
}

TEST_F(SelectionKeysTest, TheSavedFilterListFollowsTheKeyboardAsItDoesAClick)
{
    for (const char *filter : {"'Alpha', 'Cork'", "'Beta', 'Boston'", "'Gamma', 'Jones'"})
        gDb->execute(QStringLiteral("INSERT INTO tblSettings (Type, Name, Setting8) VALUES ('FILTER', %1)")
                         .arg(filter));
    inWindow<CriteriaForm>("CriteriaForm", "cmdFilter", [&](CriteriaForm &f) {
        EXPECT_FALSE(f.cmdRenameFilter->isEnabled() || f.cmdDeleteFilter->isEnabled());
        f.listFilters->setFocus(Qt::TabFocusReason); // on the first filter, none chosen yet
        const std::pair<Qt::Key, const char *> walk[] = {{Qt::Key_Down, "Boston"}, {Qt::Key_End, "Jones"},
                                                         {Qt::Key_Up, "Boston"},   {Qt::Key_Home, "Cork"},
                                                         {Qt::Key_G, "Jones"},     {Qt::Key_PageUp, "Cork"}};
        for (const auto &[key, criteria] : walk) {
            QTest::keyClick(f.listFilters, key);
            EXPECT_EQ(f.txtCriteria->toPlainText(), criteria);
            EXPECT_TRUE(f.cmdRenameFilter->isEnabled() && f.cmdDeleteFilter->isEnabled()) << criteria;
        }
        // A renamed filter stays chosen and leaves the box as it is; a deleted one leaves none chosen.
        f.txtCriteria->setPlainText("Rome");
        script.answerInput("Zeta").answerMessage(platform::vbYes);
        f.cmdRenameFilter->click();
        EXPECT_EQ(f.listFilters->currentItem()->text(), "Zeta");
        accessKey(f.listFilters, Qt::Key_D, false);
        EXPECT_EQ(f.listFilters->selectedItems().size(), 0);
        EXPECT_EQ(f.txtCriteria->toPlainText(), "Rome");
        f.cmdExit->click();
    });
    EXPECT_EQ(messages().back(), "Are you sure you want to delete filter: Zeta?");
}

// Alt+X held in Category Selection closes it once; the repeats reach the main window, whose
// Exit has the same key, and do nothing there. A chord nothing uses types nothing and moves no
// list, in a grid or the locate box; AltGr types and searches.
TEST_F(SelectionKeysTest, AHeldAccessKeyActsOnceAndAChordNothingUsesDoesNothing)
{
    QLineEdit *locate = txtLocate(*w);
    int exits = 0;
    QObject::connect(controlOf<QPushButton>(*w, "cmdExit"), &QPushButton::clicked, w, [&] { ++exits; });
    goTo(*w, "Hopper");
    inWindow<CategoryForm>("CategoryForm", "cmdCategory", [&](CategoryForm &f) {
        choose(f.CatgData, f.CatgGrid, "Bees");
        QTest::keyClick(f.CatgGrid, Qt::Key_F, Qt::AltModifier); // a typed "f" finds Family
        EXPECT_EQ(chosen(f.CatgData), "Bees");
        QTest::simulateEvent(f.CatgGrid, true, Qt::Key_X, Qt::AltModifier, "x", false);
    });
    QApplication::setActiveWindow(w);
    locate->setFocus();
    for (bool repeat : {true, true, true, false})
        QTest::simulateEvent(locate, repeat, Qt::Key_X, Qt::AltModifier, "x", repeat);
    EXPECT_EQ(exits, 0);
    for (const Qt::KeyboardModifiers chord : {Qt::AltModifier, Qt::ControlModifier, Qt::MetaModifier})
        QTest::keyClick(locate, Qt::Key_J, chord); // a typed "j" finds Jones
    EXPECT_EQ(locate->text(), "");
    EXPECT_EQ(shown(*w).value("LastName").toString(), "Hopper");
    QTest::sendKeyEvent(QTest::Click, locate, Qt::Key_J, QStringLiteral("J"), Qt::GroupSwitchModifier);
    EXPECT_EQ(shown(*w).value("LastName").toString(), "Jones");
    QTest::sendKeyEvent(QTest::Click, locate, Qt::Key_E, QStringLiteral("€"),
                        Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(locate->text(), "J€");
    // A letter held in the grid goes on typing into the box the grid hands its typing to.
    locate->clear();
    Table1(*w)->setFocus();
    for (const bool repeat : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_J, Qt::NoModifier, 44, 0, 0, "j", repeat);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
        QCoreApplication::processEvents(); // the grid's typing is played from the event loop
    }
    EXPECT_EQ(locate->text(), "jjj");
}

// Of two grids the one that has the focus is framed and its row strongly highlighted, from the
// first paint on; the other looks otherwise.
TEST_F(SelectionKeysTest, TheFocusedGridIsFramedFromTheFirstPaint)
{
    inWindow<CategoryAssign>("CategoryAssign", "cmdAssignCatg", [&](CategoryAssign &f) {
        EXPECT_TRUE(f.testAttribute(Qt::WA_KeyboardFocusChange));
        EXPECT_EQ(framed(&f), f.CatgGrid);
        for (QTableView *grid : {f.CatgGrid, f.CatgIdGrid}) {
            QTableView *other = grid == f.CatgGrid ? f.CatgIdGrid : f.CatgGrid;
            grid->setFocus();
            EXPECT_EQ(framed(&f), grid);
            const QImage focused = look(grid), unfocused = look(other);
            other->setFocus();
            EXPECT_NE(look(grid), focused);
            EXPECT_NE(look(other), unfocused);
        }
        f.cmdExit->click();
    });
}

} // namespace
