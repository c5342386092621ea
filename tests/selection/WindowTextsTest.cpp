#include "SelectionFixture.h"

#include "reminders/Remind.h"
#include "support/CutTexts.h"

#include <QAction>
#include <QScrollBar>
#include <QStyle>
#include <gmock/gmock.h>

namespace {

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
