#include "MainWindowFixture.h"

#include "editor/GLOBAL.h"
#include "helpers/SortOrder.h"
#include "platform/base/DateText.h"
#include "platform/ui/MsgBox.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class LocateTest : public MainWindowFixture {
  protected:
    NameList &startOn(int contacts)
    {
        prepare(contacts);
        NameList &w = start();
        txtLocate(w)->setFocus();
        return w;
    }

    static int currentRow(NameList &w) { return int(shown(w).absolutePosition()); }

    // The first row, in the list's order, whose field begins with prefix regardless of case.
    static int firstRowBeginningWith(NameList &w, const QString &field, const QString &prefix)
    {
        platform::Recordset &rs = shown(w);
        const int column = rs.fieldIndex(field);
        for (qint64 row = 0; row < rs.recordCount(); ++row) {
            const QVariant value = rs.valueAt(row, column);
            if (value.isNull())
                continue;
            const QString text = value.typeId() == QMetaType::QDateTime
                                     ? platform::generalDateText(value.toDateTime())
                                     : value.toString();
            if (text.startsWith(prefix, Qt::CaseInsensitive))
                return int(row);
        }
        return -1;
    }

    static void type(NameList &w, const QString &text)
    {
        QTest::keyClicks(txtLocate(w), text);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(LocateTest, EachKeyMovesToTheFirstContactBeginningWithTheText)
{
    NameList &w = startOn(400);
    for (const QString &typed : {QStringLiteral("S"), QStringLiteral("Sm"), QStringLiteral("Smi")}) {
        type(w, typed.right(1));
        ASSERT_EQ(txtLocate(w)->text(), typed);
        const int expected = firstRowBeginningWith(w, "LastName", typed);
        ASSERT_GE(expected, 0) << typed.toStdString();
        EXPECT_EQ(currentRow(w), expected) << typed.toStdString();
        EXPECT_EQ(Table1(w)->currentIndex().row(), expected) << "the grid follows";
    }
    EXPECT_EQ(gEditor.gFindCriteria, "LastName like \"Smi*\"");
    EXPECT_TRUE(current(w, "LastName").toString().startsWith("Smi"));

    // Small letters find the same contacts.
    txtLocate(w)->clear();
    type(w, "smi");
    EXPECT_EQ(currentRow(w), firstRowBeginningWith(w, "LastName", "Smi"));
}

TEST_F(LocateTest, NoMatchKeepsTheRowAndBackspaceSearchesAgain)
{
    NameList &w = startOn(400);
    type(w, "Smit");
    const int smit = currentRow(w);
    ASSERT_EQ(smit, firstRowBeginningWith(w, "LastName", "Smit"));

    type(w, "q");
    EXPECT_EQ(currentRow(w), smit) << "a text that matches nothing leaves the list where it was";
    EXPECT_EQ(gEditor.gFindCriteria, "LastName like \"Smitq*\"");

    type(w, "\b");
    EXPECT_EQ(txtLocate(w)->text(), "Smit");
    QTest::keyClick(txtLocate(w), Qt::Key_Backspace);
    QTest::keyClick(txtLocate(w), Qt::Key_Backspace);
    EXPECT_EQ(txtLocate(w)->text(), "Sm");
    EXPECT_EQ(currentRow(w), firstRowBeginningWith(w, "LastName", "Sm"));

    QTest::keyClick(txtLocate(w), Qt::Key_Backspace);
    QTest::keyClick(txtLocate(w), Qt::Key_Backspace);
    EXPECT_EQ(gEditor.gFindCriteria, "LastName like \"*\"") << "the empty text matches anything";
    EXPECT_EQ(currentRow(w), firstRowBeginningWith(w, "LastName", ""))
        << "the first contact with a last name; organisations without one come earlier";
}

TEST_F(LocateTest, TrailingBlanksAreIgnoredAndLeadingOnesCount)
{
    NameList &w = startOn(300);
    type(w, "Jones ");
    EXPECT_EQ(gEditor.gFindCriteria, "LastName like \"Jones*\"");
    const int jones = currentRow(w);
    EXPECT_EQ(jones, firstRowBeginningWith(w, "LastName", "Jones"));

    txtLocate(w)->clear();
    type(w, " ");
    type(w, "B");
    EXPECT_EQ(gEditor.gFindCriteria, "LastName like \" B*\"");
    EXPECT_EQ(currentRow(w), firstRowBeginningWith(w, "LastName", ""))
        << "kept from the search for a blank alone";
}

TEST_F(LocateTest, QuotesStopTheSearchAndBracketKeysEmptyTheBox)
{
    NameList &w = startOn(300);
    type(w, "O'B");
    const int obrien = currentRow(w);
    EXPECT_EQ(obrien, firstRowBeginningWith(w, "LastName", "O'B"))
        << "an apostrophe is searched like any letter";
    EXPECT_TRUE(current(w, "LastName").toString().startsWith("O'B"));

    txtLocate(w)->clear();
    type(w, "Z");
    const int z = currentRow(w);
    type(w, "\"");
    type(w, "h");
    EXPECT_EQ(txtLocate(w)->text(), "Z\"h");
    EXPECT_EQ(currentRow(w), z) << "nothing is searched while the box holds a double quote";

    type(w, "[");
    EXPECT_EQ(txtLocate(w)->text(), "") << "a bracket key empties the box";
    EXPECT_EQ(currentRow(w), z);
    type(w, "M");
    const int m = currentRow(w);
    type(w, "]");
    EXPECT_EQ(txtLocate(w)->text(), "");
    EXPECT_EQ(currentRow(w), m);
}

TEST_F(LocateTest, KeysThatTypeNothingDoNotSearch)
{
    NameList &w = startOn(200);
    const int before = currentRow(w);
    txtLocate(w)->setText("Zh");
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Escape, Qt::Key_Return})
        QTest::keyRelease(txtLocate(w), key);
    EXPECT_EQ(currentRow(w), before);
    QTest::keyRelease(txtLocate(w), Qt::Key_Right);
    EXPECT_EQ(currentRow(w), firstRowBeginningWith(w, "LastName", "Zh"))
        << "an arrow key's code counts as typed";
}

TEST_F(LocateTest, ADateSortSearchesOnlyValidDates)
{
    NameList &w = startOn(200);
    cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("DateUpdated"));
    w.listViews().cmbSort_Click();
    ASSERT_TRUE(gRecordSource.gSortedByDate);
    ASSERT_EQ(gContactsTable->index(), "DateUpdated");
    txtLocate(w)->setFocus();
    QCoreApplication::processEvents();

    const QDateTime wanted = shown(w).valueAt(120, shown(w).fieldIndex("DateUpdated")).toDateTime();
    const QString date = platform::shortDateText(wanted.date());
    type(w, "x");
    EXPECT_EQ(currentRow(w), 0) << "no date: nothing searched";
    txtLocate(w)->clear();
    type(w, date);
    EXPECT_EQ(gEditor.gFindCriteria, "DateUpdated like \"" + date + "*\"");
    const int found = currentRow(w);
    EXPECT_EQ(found, firstRowBeginningWith(w, "DateUpdated", date));
    EXPECT_LE(found, 120);
    EXPECT_EQ(shown(w).value("DateUpdated").toDateTime().date(), wanted.date());
}

TEST_F(LocateTest, TheSortFieldIsTheFieldSearched)
{
    NameList &w = startOn(200);
    cmbSort(w)->setCurrentIndex(cmbSort(w)->findText("Organization"));
    w.listViews().cmbSort_Click();
    txtLocate(w)->setFocus();
    type(w, "Cit");
    EXPECT_EQ(gEditor.gFindCriteria, "Organization like \"Cit*\"");
    EXPECT_EQ(current(w, "Organization").toString(), "City Library");
}

TEST_F(LocateTest, PagingKeysHandTheFocusToTheGridAndEmptyTheBox)
{
    NameList &w = startOn(100);
    type(w, "Br");
    const int row = currentRow(w);
    QTest::keyClick(txtLocate(w), Qt::Key_PageDown);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Table1(w)->hasFocus());
    EXPECT_EQ(txtLocate(w)->text(), "");
    EXPECT_EQ(currentRow(w), row) << "the key itself does not page";
}

TEST_F(LocateTest, EnterOpensTheEditorOnTheContactFound)
{
    NameList &w = startOn(100);
    type(w, "Tay");
    const QString found = current(w, "LastName").toString();
    ASSERT_TRUE(found.startsWith("Tay"));
    QString shownName;
    bool existing = false;
    script.onModal("NameEdit", [&](QWidget *editor) {
        existing = gEditor.gEditExistingRecord;
        shownName = editor->findChild<QLineEdit *>("txtLastName")->text();
        DialogScript::click(editor, "cmdCancel");
    });
    QTest::keyClick(txtLocate(w), Qt::Key_Return);
    EXPECT_TRUE(existing);
    EXPECT_EQ(shownName, found);
    EXPECT_FALSE(gEditor.gEditExistingRecord);
    EXPECT_EQ(txtLocate(w)->text(), "") << "the grid took the focus";
}

TEST_F(LocateTest, EnterOnAnEmptyListGivesViewEditsMessageNotAnEngineError)
{
    NameList &w = startOn(0);
    script.answerMessage(platform::vbOK);
    QTest::keyClick(txtLocate(w), Qt::Key_Return);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "No records to View or Edit");
    EXPECT_EQ(
        script.shown()[0].text,
        "There are no records displayed, so you can't View or Edit them.  Add some records or change the "
        "Category or Selection Criteria to display records first.");

    // Typing on the empty list searches nothing and says nothing.
    type(w, "abc");
    EXPECT_EQ(script.shown().size(), 1u);
}

TEST_F(LocateTest, AKeyInTheBoxDropsAPendingColumnMove)
{
    NameList &w = startOn(20);
    script.answerMessage(platform::vbOK);
    clickHeading(w, 3);
    ASSERT_EQ(w.grid().movingColumn(), 3);
    txtLocate(w)->setFocus();
    type(w, "a");
    EXPECT_EQ(w.grid().movingColumn(), 0);
}

TEST_F(LocateTest, APatternTheEngineRefusesIsReportedAndTheListStays)
{
    NameList &w = startOn(50);
    type(w, "K");
    const int row = currentRow(w);
    // Pasted, a bracket reaches the pattern: an unclosed character class.
    txtLocate(w)->setText("[K");
    script.answerMessage(platform::vbOK);
    QTest::keyRelease(txtLocate(w), Qt::Key_K);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].buttons, platform::vbOKOnly);
    EXPECT_EQ(script.shown()[0].title, "Quiltern 3") << "the application's title";
    EXPECT_EQ(currentRow(w), row);
}
