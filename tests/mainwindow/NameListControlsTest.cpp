#include "MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace {

class ControlsTest : public MainWindowFixture {};

struct NamedControl {
    const char *name;
    const char *className; // the Qt class the control is, or derives from
};

} // namespace

// Other windows, the tests and the users' key scripts find the window's controls by their
// names: each is there once, of the kind its name promises.
TEST_F(ControlsTest, EachControlIsFoundOnceByItsName)
{
    prepare(5);
    NameList &w = start();
    const NamedControl controls[] = {
        {"client", "QWidget"},         {"Data1", "platform::DataControl"},
        {"Table1", "QTableView"},      {"cmbSort", "QComboBox"},
        {"txtLocate", "QLineEdit"},    {"lblLocate", "QLabel"},
        {"lblSort", "QLabel"},         {"lblCategory", "QLabel"},
        {"lblFilterMsg", "QLabel"},    {"lblSelectedCount", "QLabel"},
        {"lblNotice", "QLabel"},       {"lblHeader", "QLabel"},
        {"lblMargin", "QLabel"},       {"TextBackground", "QFrame"},
        {"txtName", "QPlainTextEdit"}, {"txtPhone", "QPlainTextEdit"},
        {"menuBar", "QMenuBar"},       {"FileMenu", "QMenu"},
        {"EditMenu", "QMenu"},         {"ReportsMenu", "QMenu"},
        {"OptionsMenu", "QMenu"},      {"HelpMenu", "QMenu"},
    };
    for (const NamedControl &c : controls) {
        const QList<QObject *> found = w.findChildren<QObject *>(QString::fromLatin1(c.name));
        ASSERT_EQ(found.size(), 1) << c.name;
        EXPECT_TRUE(found.front()->inherits(c.className))
            << c.name << " is a " << found.front()->metaObject()->className();
    }
    EXPECT_THROW(controlOf<QLabel>(w, "lblNoSuchLabel"), std::logic_error);
    EXPECT_THROW(controlOf<QLabel>(w, "Table1"), std::logic_error)
        << "a control of another kind is not taken";
}

// The window's parts share its controls: what one part does shows in the controls the
// others and the user see.
TEST_F(ControlsTest, ThePartsWorkOnTheControlsTheUserSees)
{
    prepare(12);
    NameList &w = start();

    // The grid's mark shows in the count label and the Show Selected button...
    clickCell(w, 1, 2);
    clickCell(w, 3, 0);
    EXPECT_EQ(label(w, "lblSelectedCount")->text(), "1 selected record(s).");
    QPushButton *showSelected = w.button("cmdShowSelected");
    ASSERT_TRUE(showSelected->isVisibleTo(&w));

    // ... which the list view command uses, showing only the marked contact in the grid.
    showSelected->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(Table1(w)->model()->rowCount(), 1);
    EXPECT_FALSE(w.button("cmdAdd")->isEnabled()) << "no adding while only marked contacts show";

    // The display part's look reaches the grid, the sort box and the locate box alike.
    const QFont before = Table1(w)->font();
    w.dispatch("TabletMode");
    EXPECT_NE(Table1(w)->font(), before);
    EXPECT_EQ(cmbSort(w)->font(), Table1(w)->font());
    EXPECT_EQ(txtLocate(w)->font(), Table1(w)->font());
    EXPECT_FALSE(w.menuItem("TabletMode")->isEnabled());
    EXPECT_TRUE(w.menuItem("DesktopMode")->isEnabled());
}
