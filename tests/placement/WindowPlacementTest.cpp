#include "selection/SelectionFixture.h"

#include "editor/NotesForm.h"
#include "platform/grid/DataGridModel.h"
#include "support/CutTexts.h"

#include <QImage>
#include <gmock/gmock.h>

namespace {

class WindowPlacementTest : public SelectionFixture {};

// On a laptop's screen of 1366 by 768 in the tablet look, every window opens with its frame
// on the screen (offscreen windows have a thin frame and no title bar) and its texts whole;
// Tab leaves each grid for the next control, Ctrl+Tab and Ctrl+Shift+Tab move along its cells.
TEST_F(WindowPlacementTest, EveryWindowFitsTheScreenWithItsTextsWholeAndTabLeavesItsGrids)
{
    NameList &w = startWithContacts();
    gDb->execute("INSERT INTO tblRemind (Description, RemindDate, WarnDate, Status, FrequencyPeriod) VALUES "
                 "('Dentist', #3/20/2026#, #3/20/2026#, 'Active', 'One time')");
    gDb->execute("INSERT INTO tblCurrentReminders (Description, Notes) VALUES ('Dentist', 'Bring a card')");
    w.menuItem("TabletMode")->trigger();
    const QString picture = program.folder().filePath("face.png");
    ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32).save(picture));
    std::vector<std::string> grids;
    int boxes = 0;
    const auto check = [&](QWidget *form) {
        const std::string name = form->objectName().toStdString();
        EXPECT_TRUE(QRect(0, 0, 1366, 768).contains(form->frameGeometry())) << name;
        EXPECT_THAT(cutTexts(form), ::testing::IsEmpty()) << name;
        if (name == "CategoryAssign") {
            EXPECT_THAT(sidewaysGrids(form), ::testing::IsEmpty());
        }
        if (name == "Remind") {
            EXPECT_EQ(form->focusWidget()->objectName(), "txtDescr");
        }
        for (QTableView *grid : form->findChildren<QTableView *>()) {
            if (qobject_cast<platform::DataGridModel *>(grid->model()) && grid->isVisibleTo(form)) {
                grids.push_back(name + " " + grid->objectName().toStdString());
                grid->setFocus();
                QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier); // off a first column of no width
                const QModelIndex cell = grid->currentIndex();
                QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
                EXPECT_TRUE(!cell.isValid() || grid->currentIndex() != cell) << grids.back();
                QTest::keyClick(grid, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
                EXPECT_EQ(grid->currentIndex(), cell) << grids.back();
                QTest::keyClick(grid, Qt::Key_Tab);
                EXPECT_NE(form->focusWidget(), grid) << grids.back();
            }
        }
        // Tab leaves every stop, which looks other while it has the focus (a title box drops its list).
        QApplication::setActiveWindow(form);
        QWidget *opened = form->focusWidget(), *first = nullptr;
        QTest::keyClick(opened, Qt::Key_Tab); // focus frames show once the keyboard moves the focus
        for (QWidget *at = form->focusWidget(), *before = nullptr; at != first && at != before;
             before = at, at = form->focusWidget()) {
            const QRect area = QRect(at->mapTo(form, QPoint()), at->size()).adjusted(-3, -3, 3, 3);
            const QImage was = form->grab(area).toImage();
            const bool dropped = QApplication::activePopupWidget() != nullptr;
            QTest::keyClick(at, Qt::Key_Tab);
            EXPECT_TRUE(at != form->focusWidget() && (dropped || form->grab(area).toImage() != was)) << name;
            first = first ? first : at;
            boxes += qobject_cast<QPlainTextEdit *>(at) != nullptr;
        }
        opened->setFocus();
    };
    const auto checked = [&](const char *name) {
        script.onModal(name,
                       [&](QWidget *form) { check(form), static_cast<platform::Form *>(form)->unload(); });
    };
    // The editor opens the notes window and the picture window, then closes.
    const auto fromEditor = [&](std::function<void(QWidget *)> open) {
        script.onModal("NameEdit", [open](QWidget *e) { open(e), DialogScript::click(e, "cmdCancel"); });
        w.button("cmdEdit")->click();
    };
    check(&w);
    fromEditor([&](QWidget *e) {
        checked("NotesForm"), NotesForm::open(*e->findChild<QPlainTextEdit *>("txtNotes"));
    });
    fromEditor([&](QWidget *e) {
        script.answerOpenFile(picture), checked("PictureForm"), DialogScript::click(e, "cmdPicture1");
    });
    // clang-format off
    const std::pair<const char *, const char *> windows[] = {
        {"MemoForm", "cmdNotes"},          {"NameEdit", "cmdEdit"}, {"CategoryAssign", "cmdAssignCatg"},
        {"CategoryForm", "cmdCategory"},   {"Remind", "cmdRemind"}, {"CatgAssignAll", "AssignAllToCatg"},
        {"CurrentReminders", "CurrentReminders"}, {"ReportOptionsForm", "ReportOptionsMenu"},
        {"ReturnAddress", "ReturnAddressMenu"}, {"DialingForm", "cmdDial"}, {"CriteriaForm", "cmdFilter"}};
    // clang-format on
    script.answerInput("Shopping"); // the memo pad's first note, asked for before it shows
    for (const auto &[name, command] : windows)
        checked(name), w.dispatch(command);
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(grids.size(), 7u) << "the main list, four category lists and two reminder lists";
    EXPECT_EQ(boxes, 8) << "the detail boxes, the filter's criteria and the notes of six windows";
}

} // namespace
