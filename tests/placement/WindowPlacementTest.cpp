#include "selection/SelectionFixture.h"

#include "editor/MemoForm.h"
#include "editor/NotesForm.h"
#include "reminders/CurrentReminders.h"
#include "reminders/Remind.h"
#include "platform/grid/DataGridModel.h"
#include "support/CutTexts.h"

#include <QImage>
#include <QScreen>
#include <gmock/gmock.h>

namespace {

// The program on a laptop's screen of 1366 by 768, in the tablet look, with one reminder.
// Offscreen windows get a thin frame of their own and no title bar; a window manager's
// frame is taller at the top. What is checked is the frame the platform reports
// (frameGeometry), which is also the frame the windows place themselves by, so a window
// that placed its client area where its frame should stand fails here by the frame's width.
class WindowPlacementTest : public SelectionFixture {
  protected:
    NameList &startTablet()
    {
        NameList &w = startWithContacts();
        gDb->execute("INSERT INTO tblRemind (Description, RemindDate, WarningDays, WarnDate, Status, "
                     "FrequencyPeriod, FrequencyAmount, LinkedRecordID) VALUES ('Dentist', #3/20/2026#, 0, "
                     "#3/20/2026#, 'Active', 'One time', 0, 0)");
        w.menuItem("TabletMode")->trigger();
        QCoreApplication::processEvents();
        return w;
    }

    // Opens every window the table names, each shown to `check` while it is open.
    void openEach(NameList &w, const std::function<void(QWidget *, const char *)> &check)
    {
        const QString picture = program.folder().filePath("camera/face.png");
        QDir().mkpath(QFileInfo(picture).absolutePath());
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(picture));
        // Each window's hook checks it and closes it; what comes before it (a file chosen for
        // the picture window, the first note's title) is answered first.
        const auto checked = [&](const char *name) {
            script.onModal(name, [&, name](QWidget *form) {
                check(form, name);
                static_cast<platform::Form *>(form)->unload();
            });
        };
        // The editor's own windows open from the editor, which then closes.
        const auto fromEditor = [&](std::function<void(QWidget *)> open) {
            script.onModal("NameEdit", [open](QWidget *editor) {
                open(editor);
                DialogScript::click(editor, "cmdCancel");
            });
            w.button("cmdEdit")->click();
        };
        const std::pair<const char *, std::function<void()>> windows[] = {
            {"NotesForm",
             [&] {
                 fromEditor([&](QWidget *e) {
                     checked("NotesForm");
                     NotesForm::open(*e->findChild<QPlainTextEdit *>(QStringLiteral("txtNotes")));
                 });
             }},
            {"PictureForm",
             [&] {
                 fromEditor([&](QWidget *e) {
                     script.answerOpenFile(picture);
                     checked("PictureForm");
                     DialogScript::click(e, "cmdPicture1");
                 });
             }},
            {"NameEdit", [&] { checked("NameEdit"), w.button("cmdEdit")->click(); }},
            {"MemoForm", [&] { script.answerInput("Shopping"), checked("MemoForm"), w.button("cmdNotes")->click(); }},
            {"CategoryAssign", [&] { checked("CategoryAssign"), w.button("cmdAssignCatg")->click(); }},
            {"CategoryForm", [&] { checked("CategoryForm"), w.button("cmdCategory")->click(); }},
            {"CatgAssignAll", [&] { checked("CatgAssignAll"), w.dispatch("AssignAllToCatg"); }},
            {"Remind", [&] { checked("Remind"), w.button("cmdRemind")->click(); }},
            {"CurrentReminders", [&] { checked("CurrentReminders"), CurrentReminders::open(*gDb); }},
        };
        check(&w, "NameList");
        for (const auto &[name, open] : windows) {
            SCOPED_TRACE(name);
            open();
        }
        EXPECT_EQ(script.pending(), 0u);
    }
};

TEST_F(WindowPlacementTest, EveryWindowOpensWhollyOnTheScreenWithItsTextsWhole)
{
    NameList &w = startTablet();
    openEach(w, [](QWidget *form, const char *name) {
        const QRect free = form->screen()->availableGeometry();
        const QRect frame = form->frameGeometry();
        EXPECT_EQ(free, QRect(0, 0, 1366, 768));
        EXPECT_TRUE(free.contains(frame)) << name << " at " << frame.x() << "," << frame.y() << " "
                                          << frame.width() << "x" << frame.height();
        EXPECT_THAT(cutTexts(form), ::testing::IsEmpty()) << name;
        // Its two lists have room for their columns whole; other grids hold more than a
        // screen's width of columns.
        if (std::string_view(name) == "CategoryAssign")
            EXPECT_THAT(sidewaysGrids(form), ::testing::IsEmpty());
    });
}

// Tab leaves a grid for the window's next control, as it leaves any list; Ctrl+Tab moves
// from cell to cell. The reminder window opens on its first box.
TEST_F(WindowPlacementTest, TabLeavesEveryGridAndCtrlTabMovesAlongItsCells)
{
    NameList &w = startTablet();
    std::vector<std::string> visited;
    openEach(w, [&visited](QWidget *form, const char *name) {
        if (std::string_view(name) == "Remind")
            EXPECT_EQ(form->focusWidget(), form->findChild<QWidget *>("txtDescr"));
        for (QTableView *grid : form->findChildren<QTableView *>()) {
            if (!qobject_cast<platform::DataGridModel *>(grid->model()) || !grid->isVisibleTo(form) ||
                !grid->isEnabled())
                continue;
            const std::string where = std::string(name) + " " + grid->objectName().toStdString();
            visited.push_back(where);
            grid->setFocus();
            if (grid->model()->rowCount() >= 2) {
                // From a cell that shows (the first column may be one of no width) to the next and back.
                grid->setCurrentIndex(grid->model()->index(0, 0));
                QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
                const QModelIndex start = grid->currentIndex();
                QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
                EXPECT_NE(grid->currentIndex(), start) << where;
                QTest::keyClick(grid, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
                EXPECT_EQ(grid->currentIndex(), start) << where;
            }
            EXPECT_EQ(form->focusWidget(), grid) << where;
            QTest::keyClick(grid, Qt::Key_Tab);
            EXPECT_NE(form->focusWidget(), grid) << where << " keeps the focus";
            EXPECT_TRUE(form->focusWidget() && form->isAncestorOf(form->focusWidget())) << where;
        }
    });
    EXPECT_THAT(visited, ::testing::ElementsAre("NameList Table1", "CategoryAssign CatgGrid",
                                                "CategoryAssign CatgIdGrid", "CategoryForm CatgGrid",
                                                "CatgAssignAll CatgGrid", "Remind DBGrid1",
                                                "CurrentReminders DBGrid1"));
}

} // namespace
