// The main window as a new user meets it on the first day: a double-click on an empty
// list, letters beyond ASCII in the locate box, single clicks in the mark column.

#include "MainWindowFixture.h"

#include "mainwindow/ColumnLayoutFile.h"
#include "mainwindow/MainGridDesign.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MsgBox.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

#include <cmath>
#include <QLineEdit>
#include <sqlcipher/sqlite3.h>

// Readable failures: the column's four values.
void PrintTo(const ColumnLayoutFile::Column &column, std::ostream *os);

namespace {

class FirstDayTest : public MainWindowFixture {
  protected:
    static QTableView *grid(NameList &w) { return w.findChild<QTableView *>("Table1"); }
    static QLineEdit *locateBox(NameList &w) { return w.findChild<QLineEdit *>("txtLocate"); }

    static QPoint centreOf(NameList &w, int row, int column)
    {
        return grid(w)->visualRect(grid(w)->model()->index(row, column)).center();
    }

    static void click(NameList &w, int row, int column)
    {
        QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, centreOf(w, row, column));
        QCoreApplication::processEvents();
    }

    // A key as a layout other than US English reports it: the key of the character and
    // the character itself, pressed and let go.
    static void typeKey(QWidget *target, QChar character)
    {
        const int key = int(character.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(character));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(character));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    }

    QString markOf(NameList &w, int row)
    {
        platform::Recordset &rs = shown(w);
        const qint64 id = rs.valueAt(row, rs.fieldIndex("RecordID")).toLongLong();
        auto stored = gDb->openRecordset(
            QStringLiteral("Select Selected from tblContacts Where RecordID = %1").arg(id));
        return stored->value(0).toString();
    }

    void addNames(const QStringList &lastNames)
    {
        for (const QString &name : lastNames)
            before(QStringLiteral("INSERT INTO tblContacts (FirstName, LastName, Selected) "
                                  "VALUES ('Ann', '%1', ' ')")
                       .arg(name));
    }

    // The first row of the list, in its order, whose last name begins with prefix.
    static int firstRowStartingWith(NameList &w, const QString &prefix)
    {
        platform::Recordset &rs = shown(w);
        const int column = rs.fieldIndex("LastName");
        for (qint64 row = 0; row < rs.recordCount(); ++row)
            if (rs.valueAt(row, column).toString().startsWith(prefix))
                return int(row);
        return -1;
    }
};

} // namespace

TEST_F(FirstDayTest, ADoubleClickOnAnEmptyListGivesTheViewEditMessage)
{
    prepare(0);
    NameList &w = start();
    script.answerMessage(platform::vbOK);
    const QPoint inside(grid(w)->viewport()->width() / 2, grid(w)->viewport()->height() / 2);
    QTest::mouseClick(grid(w)->viewport(), Qt::LeftButton, {}, inside);
    QTest::mouseDClick(grid(w)->viewport(), Qt::LeftButton, {}, inside);
    QCoreApplication::processEvents();
    ASSERT_EQ(script.shown().size(), 1u) << "one message, no editor";
    EXPECT_EQ(script.shown()[0].title, "No records to View or Edit");
}

TEST_F(FirstDayTest, TheLocateBoxSearchesLettersBeyondAscii)
{
    prepare(40);
    addNames({"Buchanan", "Bühler", "Büttner", "Bunting", "Жуков", "Журавлёв"});
    NameList &w = start();
    const int buehler = firstRowStartingWith(w, "Bü");
    ASSERT_GE(buehler, 0);

    struct Case {
        const char *typed;
        const char *reaches;
    };
    for (const Case &c : {Case{"Bü", "Bühler"}, Case{"Жу", "Жуков"}, Case{"Журав", "Журавлёв"}}) {
        locateBox(w)->setFocus();
        locateBox(w)->clear();
        // The first row first, so that a search that does not run shows.
        grid(w)->setCurrentIndex(grid(w)->model()->index(0, 1));
        QCoreApplication::processEvents();
        locateBox(w)->setFocus();
        for (const QChar ch : QString::fromUtf8(c.typed))
            typeKey(locateBox(w), ch);
        EXPECT_EQ(locateBox(w)->text(), QString::fromUtf8(c.typed));
        EXPECT_EQ(current(w, "LastName").toString(), QString::fromUtf8(c.reaches)) << c.typed;
    }
}

TEST_F(FirstDayTest, ACharacterComposedByAnInputMethodSearches)
{
    prepare(40);
    addNames({"Buchanan", "Bühler"});
    NameList &w = start();
    locateBox(w)->setFocus();
    typeKey(locateBox(w), QLatin1Char('B'));
    ASSERT_EQ(current(w, "LastName").toString(), "Buchanan");
    // A dead key then u: the box is handed the finished letter, and no key is let go.
    QInputMethodEvent composed;
    composed.setCommitString(QString(QChar(0x00FC)));
    QApplication::sendEvent(locateBox(w), &composed);
    QCoreApplication::processEvents();
    EXPECT_EQ(locateBox(w)->text(), QString::fromUtf8("Bü"));
    EXPECT_EQ(current(w, "LastName").toString(), QString::fromUtf8("Bühler"));
}

TEST_F(FirstDayTest, ALetterBeyondAsciiTypedInTheGridStartsALocate)
{
    prepare(30);
    addNames({"Özdemir", "Olsen"});
    NameList &w = start();
    click(w, 3, 2);
    typeKey(grid(w), QChar(0x00D6)); // Ö
    EXPECT_EQ(locateBox(w)->text(), QString(QChar(0x00D6)));
    EXPECT_TRUE(locateBox(w)->hasFocus());
    EXPECT_EQ(current(w, "LastName").toString(), QString::fromUtf8("Özdemir"));
}

TEST_F(FirstDayTest, OneClickInTheMarkColumnMarksWhateverCameBefore)
{
    prepare(10);
    NameList &w = start();

    // The very first click of the run.
    click(w, 2, 0);
    EXPECT_EQ(markOf(w, 2), "x");
    EXPECT_EQ(gMainWindow.gSelectedCount, 1);

    // After a key in the grid.
    click(w, 4, 2);
    QTest::keyClick(grid(w), Qt::Key_Down);
    QCoreApplication::processEvents();
    click(w, 6, 0);
    EXPECT_EQ(markOf(w, 6), "x");

    // After another window closed over the list.
    script.onModal("NameEdit", [](QWidget *editor) { DialogScript::click(editor, "cmdCancel"); });
    QTest::keyClick(grid(w), Qt::Key_Return);
    QCoreApplication::processEvents();
    click(w, 2, 0);
    EXPECT_EQ(markOf(w, 2), " ") << "the same row again unmarks";

    // On the very cell the cursor already stands on, brought there by Ctrl+Shift+Tab.
    click(w, 5, 1);
    QTest::keyClick(grid(w), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(grid(w)->currentIndex().column(), 0);
    click(w, 5, 0);
    EXPECT_EQ(markOf(w, 5), "x");

    EXPECT_EQ(gMainWindow.gSelectedCount, 2);
    EXPECT_EQ(w.findChild<QLabel *>("lblSelectedCount")->text(), "2 selected record(s).");
}

TEST_F(FirstDayTest, ASortChoiceThatCannotBeStoredStillSortsTheListAndSaysSo)
{
    prepare(30);
    NameList &w = start();
    // The file stops taking writes under the running program.
    ASSERT_EQ(sqlite3_exec(gDb->handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr), SQLITE_OK);
    script.answerMessage(platform::vbOK);
    auto *sortBox = w.findChild<QComboBox *>("cmbSort");
    const int firstName = sortBox->findText("FirstName");
    ASSERT_GE(firstName, 0);
    sortBox->setCurrentIndex(firstName);
    emit sortBox->activated(firstName);
    QCoreApplication::processEvents();

    ASSERT_TRUE(Data1(w)->recordset() && Data1(w)->recordset()->isOpen()) << "the list still shows";
    ASSERT_EQ(shown(w).recordCount(), 30) << "the list still shows every contact";
    QStringList listed;
    for (qint64 row = 0; row < 30; ++row)
        listed << shown(w).valueAt(row, shown(w).fieldIndex("FirstName")).toString();
    QStringList expected;
    for (auto rs = gDb->openRecordset("Select FirstName from tblContacts Order By FirstName"); !rs->eof();
         rs->moveNext())
        expected << rs->value(0).toString();
    EXPECT_EQ(listed, expected) << "in the new order";

    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Sort order not stored");
    EXPECT_TRUE(script.shown()[0].text.contains("FirstName, but this choice could not be stored"))
        << script.shown()[0].text.toStdString();

    ASSERT_EQ(sqlite3_exec(gDb->handle(), "PRAGMA query_only = 0", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(count("Select Count(*) from tblSettings Where Type='GRIDSORTORDER' And Name='FirstName'"), 0);
}

class LayoutRoundTripTest : public FirstDayTest, public testing::WithParamInterface<bool> {};

TEST_P(LayoutRoundTripTest, ColumnsTheUserLeftAloneKeepTheirStoredWidthAndAlignment)
{
    const bool tablet = GetParam();
    prepare(3);
    // Fractions of a twip and the general alignment, as another run may have left them.
    QList<ColumnLayoutFile::Column> stored = designedGridColumns().mid(1);
    stored[0].width = 1517.25;
    stored[1].width = 1234.567;
    stored[1].alignment = 3;
    stored[2].alignment = 3;
    stored[3].width = 999.9;
    stored[3].alignment = 1;
    stored[6].width = 1000.5;
    ASSERT_TRUE(ColumnLayoutFile::write(stored));
    {
        NameList &w = start();
        if (tablet)
            w.dispatch("TabletMode");
        QCoreApplication::processEvents();
        grid(w)->horizontalHeader()->resizeSection(5, 150);
        StartedProgram::closeWindow();
    }
    const QList<ColumnLayoutFile::Column> written = ColumnLayoutFile::read(59);
    ASSERT_EQ(written.size(), 59);
    for (int i = 0; i < 59; ++i) {
        if (i == 4)
            continue;
        EXPECT_EQ(written[i], stored[i]) << "line " << i + 1;
    }
    // The resized column takes its new width, in the units of the desktop look.
    const double scale = tablet ? 1.2 : 1.0; // any look's widening is at least this
    EXPECT_NE(written[4].width, stored[4].width);
    EXPECT_LE(written[4].width, platform::DataGrid::pixelsToTwips(150, nullptr) / scale + 15);
}

INSTANTIATE_TEST_SUITE_P(BothLooks, LayoutRoundTripTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &look) {
                             return std::string(look.param ? "Tablet" : "Desktop");
                         });

class LookTest : public FirstDayTest, public testing::WithParamInterface<bool> {};

TEST_P(LookTest, PhoneNumbersShowInFullAndTheSmallestWindowKeepsToolbarAndRows)
{
    prepare(3);
    before("UPDATE tblContacts SET Phone1='(514) 555-1234', Phone1_Desc='Home Phone'");
    NameList &w = start();
    if (GetParam())
        w.dispatch("TabletMode");
    QCoreApplication::processEvents();
    QTableView *g = grid(w);
    const QFontMetrics metrics(g->font());
    // The cell's text margins on either side, as the grid's style draws them.
    const int margins = 2 * (g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1);
    for (int column = 1; column < g->model()->columnCount(); ++column) {
        const QString field = g->model()->headerData(column, Qt::Horizontal).toString();
        if (!field.startsWith("Phone 1"))
            continue;
        const QString text = g->model()->index(0, column).data().toString();
        ASSERT_FALSE(text.isEmpty());
        EXPECT_GE(g->columnWidth(column), metrics.horizontalAdvance(text) + margins) << field.toStdString();
    }

    // Made as small as it will go.
    w.resize(50, 50);
    QCoreApplication::processEvents();
    EXPECT_GE(w.width(), w.minimumWidth());
    const QWidget *exitSign = w.findChild<QWidget *>("cmdExitSign");
    ASSERT_NE(exitSign, nullptr);
    EXPECT_LE(exitSign->mapTo(&w, QPoint(exitSign->width(), 0)).x(), w.width()) << "the toolbar is whole";
    const int rows = g->viewport()->height() / g->rowHeight(0);
    EXPECT_GE(rows, 3) << "a few rows show";
    const QWidget *exit = w.findChild<QWidget *>("cmdExit");
    EXPECT_LE(exit->mapTo(&w, QPoint(0, exit->height())).y(), w.height()) << "the record buttons too";
}

INSTANTIATE_TEST_SUITE_P(BothLooks, LookTest, testing::Bool(), [](const testing::TestParamInfo<bool> &look) {
    return std::string(look.param ? "Tablet" : "Desktop");
});

namespace {

// The contrast of two colours as screen-reading guidelines measure it: 1 (none) to 21.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

TEST_F(FirstDayTest, LabelsOnTheChosenBackgroundStayReadable)
{
    prepare(3);
    NameList &w = start();
    const char *const labels[] = {"lblLocate", "lblSort", "lblNotice", "lblCategory", "lblSelectedCount",
                                  "lblFilterMsg"};
    const auto textColour = [&](const char *name) {
        auto *label = w.findChild<QLabel *>(name);
        label->ensurePolished();
        return label->palette().color(label->foregroundRole());
    };

    // As designed: white labels and the red filter message on the teal.
    EXPECT_EQ(textColour("lblLocate"), QColor(Qt::white));
    EXPECT_EQ(textColour("lblFilterMsg"), QColor(0xc0, 0, 0));

    for (const QColor &chosen : {QColor(255, 255, 255), QColor(255, 255, 192), QColor(192, 192, 192),
                                 QColor(0, 0, 128), QColor(128, 0, 0), QColor(255, 0, 0)}) {
        script.answerColor(chosen);
        w.dispatch("SelectColor");
        QCoreApplication::processEvents();
        ASSERT_EQ(w.findChild<QWidget *>("client")->palette().color(QPalette::Window), chosen);
        for (const char *name : labels)
            EXPECT_GE(contrast(textColour(name), chosen), 4.5) << name << " on " << chosen.name().toStdString();
    }

    // Back to the design colour, back to the design's text.
    w.dispatch("RestoreColor");
    EXPECT_EQ(textColour("lblSort"), QColor(Qt::white));
    EXPECT_EQ(textColour("lblFilterMsg"), QColor(0xc0, 0, 0));
}
