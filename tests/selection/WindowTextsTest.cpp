#include "SelectionFixture.h"

#include "reminders/Remind.h"

#include <QAction>
#include <QScrollBar>
#include <QStyle>
#include <gmock/gmock.h>

namespace {

// The texts a window shows only in part, in the fonts its controls are drawn with: a
// button narrower than its caption, a label smaller than its text, a grid column narrower
// than its heading.
QStringList cutTexts(const QWidget *window)
{
    QStringList cut;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            // A push button's room as its style sizes it to a caption, without a least width.
            const int room = button->width() - button->style()->pixelMetric(QStyle::PM_ButtonMargin) -
                             2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            if (qobject_cast<const QPushButton *>(w)
                    ? button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')) > room
                    : button->width() < button->sizeHint().width())
                cut << button->text();
        } else if (const auto *label = qobject_cast<const QLabel *>(w); label && !label->text().isEmpty()) {
            const QSize needed =
                label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
            if (needed.width() > label->width() || needed.height() > label->height())
                cut << label->text();
        } else if (const auto *header = qobject_cast<const QHeaderView *>(w)) {
            for (int i = 0; header->orientation() == Qt::Horizontal && i < header->count(); ++i)
                if (header->sectionSize(i) > 0 && header->sectionSize(i) < header->sectionSizeHint(i))
                    cut << header->model()->headerData(i, Qt::Horizontal).toString();
        }
    }
    return cut;
}

// The grids of a window that scroll sideways, so that some column is never seen whole.
QStringList sidewaysGrids(const QWidget *window)
{
    QStringList scrolling;
    for (const QTableView *grid : window->findChildren<QTableView *>())
        if (grid->isVisibleTo(window) && grid->horizontalScrollBar()->maximum() > 0)
            scrolling << grid->objectName();
    return scrolling;
}

class WindowTextsTest : public SelectionFixture {};

TEST_F(WindowTextsTest, TheMainWindowAndTheWindowsItOpensShowEveryTextWholeInBothLooks)
{
    NameList &w = startWithContacts();
    clickCell(w, 0, 0); // a marked contact shows Show Selected Records Only
    const std::pair<const char *, std::function<void()>> windows[] = {
        {"CategoryForm", [&] { w.button("cmdCategory")->click(); }},
        {"CategoryAssign", [&] { w.button("cmdAssignCatg")->click(); }},
        {"CatgAssignAll", [&] { w.dispatch("AssignAllToCatg"); }},
        {"Remind", [] { Remind::open(*gDb); }},
    };
    for (const char *look : {"DesktopMode", "TabletMode"}) {
        if (w.menuItem(look)->isEnabled())
            w.menuItem(look)->trigger();
        EXPECT_THAT(cutTexts(&w), ::testing::IsEmpty()) << look;
        EXPECT_GT(w.button("cmdShowSelected")->y(), TextBackground(w)->geometry().bottom())
            << "under the frame";
        for (const auto &[name, open] : windows) {
            script.onModal(name, [&](QWidget *form) {
                EXPECT_THAT(cutTexts(form), ::testing::IsEmpty()) << name << " " << look;
                EXPECT_THAT(sidewaysGrids(form), ::testing::IsEmpty()) << name << " " << look;
                static_cast<platform::Form *>(form)->unload();
            });
            open();
        }
    }
    EXPECT_EQ(script.shown(platform::DialogKind::ModalForm).size(), 8u);
}

} // namespace
