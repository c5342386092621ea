#include "EditorFixture.h"

#include "helpers/GLOBAL.h"
#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QPushButton>

class EditorEventsTest : public EditorTest {
  protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        addContact({{"FirstName", "Ann"},
                    {"LastName", "Able"},
                    {"Email_Address", "ann@example.org"},
                    {"UserField1", "example.org"},
                    {"UserField2", "Http://Example.org"},
                    {"UserField3", "plain"},
                    {"Code", "httpd.conf"}});
        openEditor(true);
        editor->activateWindow();
        QApplication::setActiveWindow(editor.get());
    }
    void type(const QString &boxName, const QString &keys)
    {
        QLineEdit *edit = box(boxName);
        edit->setFocus();
        QTest::keyClicks(edit, keys);
    }
};

TEST_F(EditorEventsTest, TypingMarksTheRecordChanged)
{
    EXPECT_FALSE(gEditor.gRecordChanged);
    type("txtPhone2", "5");
    EXPECT_TRUE(gEditor.gRecordChanged);
}

TEST_F(EditorEventsTest, NotesEditMarksTheRecordChanged)
{
    widget<QPlainTextEdit>("txtNotes")->setFocus();
    QTest::keyClicks(widget<QPlainTextEdit>("txtNotes"), "n");
    EXPECT_TRUE(gEditor.gRecordChanged);
}

TEST_F(EditorEventsTest, CapitalsOnlyWhileCapitalizeIsTicked)
{
    box("txtLastName")->clear();
    type("txtLastName", "van der berg");
    EXPECT_EQ(text("txtLastName"), "van der berg");
    widget<QCheckBox>("ProperFlag")->setChecked(true);
    box("txtLastName")->clear();
    type("txtLastName", "van der berg 2x");
    EXPECT_EQ(text("txtLastName"), "Van Der Berg 2x");
    type("txtFirst_State", "ny");
    EXPECT_EQ(text("txtFirst_State"), "NY");
    type("txtFirst_PostalCode", "ab");
    EXPECT_EQ(text("txtFirst_PostalCode"), "ab");
}

TEST_F(EditorEventsTest, CapitalTestLooksAtTheEndOfTheWholeText)
{
    widget<QCheckBox>("ProperFlag")->setChecked(true);
    QLineEdit *last = box("txtLastName");
    last->setText("ab cd");
    last->setFocus();
    last->setCursorPosition(3);
    QTest::keyClicks(last, "x");
    EXPECT_EQ(last->text(), "ab xcd") << "the text does not end in a blank";
    last->setText("ab cd ");
    last->setCursorPosition(1);
    QTest::keyClicks(last, "y");
    EXPECT_EQ(last->text(), "aYb cd ");
}

TEST_F(EditorEventsTest, EnterMovesToTheNextBoxAndNeverReachesIt)
{
    QLineEdit *first = box("txtFirstName");
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), box("txtMiddleName"));
    QTest::keyClick(box("txtMiddleName"), Qt::Key_Up);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(text("txtFirstName"), "Ann");
}

TEST_F(EditorEventsTest, EnterInTheNotesStartsANewLine)
{
    widget<QPlainTextEdit>("txtNotes")->setFocus();
    QTest::keyClicks(widget<QPlainTextEdit>("txtNotes"), "a");
    QTest::keyClick(widget<QPlainTextEdit>("txtNotes"), Qt::Key_Return);
    QTest::keyClicks(widget<QPlainTextEdit>("txtNotes"), "b");
    QCoreApplication::processEvents();
    EXPECT_EQ(widget<QPlainTextEdit>("txtNotes")->toPlainText(), "a\nb");
    EXPECT_EQ(QApplication::focusWidget(), widget<QPlainTextEdit>("txtNotes"));
}

TEST_F(EditorEventsTest, EscapeWithoutChangesCloses)
{
    QTest::keyClick(box("txtFirstName"), Qt::Key_Escape);
    EXPECT_TRUE(editor->isUnloaded());
}

TEST_F(EditorEventsTest, DateCheckOnLeavingADateBox)
{
    editor->dates().txtDate_LostFocus(3);
    EXPECT_EQ(gEditor.gLastDateBox, 0) << "an empty box passes without a message and without a number";
    box("txtDate3")->setText("3/4/2021");
    editor->dates().txtDate_LostFocus(3);
    EXPECT_EQ(gEditor.gLastDateBox, 3);
    box("txtDate2")->setText("3/4/2021 10:15:00 AM");
    editor->dates().txtDate_LostFocus(2);
    EXPECT_EQ(gEditor.gLastDateBox, 2) << "a date with a time is a date";

    box("txtDate1")->setText("31/31/2021");
    DialogScript script;
    script.answerMessage(platform::vbOK);
    editor->dates().txtDate_LostFocus(1);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Invalid date");
    EXPECT_EQ(script.shown()[0].icon, platform::vbExclamation);
    EXPECT_EQ(script.shown()[0].buttons, platform::vbOKOnly);
    EXPECT_EQ(gEditor.gLastDateBox, 2);
    EXPECT_EQ(text("txtDate1"), "31/31/2021");
}

TEST_F(EditorEventsTest, LeavingAnInvalidDateByTabPutsTheFocusBack)
{
    box("txtDate4")->setText("tomorrowish");
    box("txtDate4")->setFocus();
    DialogScript script;
    script.answerMessage(platform::vbOK);
    box("txtDate5")->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), box("txtDate4"));
}

TEST_F(EditorEventsTest, DoubleClickOpensMailAndWebAddresses)
{
    DialogScript script;
    QTest::mouseDClick(box("txtEmail_Address"), Qt::LeftButton);
    QTest::mouseDClick(box("txtUserField1"), Qt::LeftButton);
    QTest::mouseDClick(box("txtUserField2"), Qt::LeftButton);
    QTest::mouseDClick(box("txtUserField3"), Qt::LeftButton);
    QTest::mouseDClick(box("txtCode"), Qt::LeftButton);
    QTest::mouseDClick(box("txtLastName"), Qt::LeftButton);
    ASSERT_EQ(script.shellCalls().size(), 4u);
    EXPECT_EQ(script.shellCalls()[0].kind, platform::DialogKind::OpenLink);
    EXPECT_EQ(script.shellCalls()[0].text, "mailto:ann@example.org");
    EXPECT_EQ(script.shellCalls()[1].text, "http://example.org");
    EXPECT_EQ(script.shellCalls()[2].text, "Http://Example.org");
    EXPECT_EQ(script.shellCalls()[3].text, "http://httpd.conf") << "never handed over as a local file";
    EXPECT_EQ(text("txtUserField1"), "example.org") << "the box itself never changes";
    EXPECT_FALSE(gEditor.gRecordChanged);
}

TEST_F(EditorEventsTest, KeyboardImageOnlyInTabletMode)
{
    EXPECT_TRUE(widget<QToolButton>("ImageKeyboard")->isHidden());
    DialogScript script;
    editor->ImageKeyboard_Click();
    EXPECT_TRUE(script.shellCalls().empty());
    gTabletMode = true;
    editor->ImageKeyboard_Click();
    EXPECT_EQ(script.shellCalls().size(), 1u);
    EXPECT_TRUE(script.shown().empty());
    // Where no on-screen keyboard can be started the button says so.
    script.refuseShellCalls().answerMessage(platform::vbOK);
    editor->ImageKeyboard_Click();
    gTabletMode = false;
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text,
              "The on-screen keyboard cannot be started: no on-screen keyboard program is "
              "set up on this computer.");
    EXPECT_EQ(script.shown()[0].title, "Keyboard");
    EXPECT_EQ(script.shown()[0].style, platform::vbOKOnly + platform::vbExclamation);
}

TEST_F(EditorEventsTest, DesignOfTheWindow)
{
    EXPECT_EQ(widget<QPushButton>("cmdSave")->text(), "&Save");
    EXPECT_EQ(widget<QPushButton>("cmdCategories")->text(), "Cate&gories");
    EXPECT_EQ(widget<QPushButton>("cmdRemind")->text(), "Create &Reminder");
    EXPECT_FALSE(widget<QPushButton>("cmdCategories")->isEnabled()) << "until the category window exists";
    for (int n = 1; n <= 8; ++n) {
        auto *picture = editor->findChild<QPushButton *>(QStringLiteral("cmdPicture%1").arg(n));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->text(), QStringLiteral("Picture %1").arg(n));
        EXPECT_TRUE(picture->isEnabled());
    }
    EXPECT_EQ(box("txtPhone1_Desc")->property("ForeColor").toInt(), 0x800000);
    EXPECT_TRUE(box("txtPhone1_Desc")->toolTip().startsWith("You can change this phone description."));
    EXPECT_EQ(editor->findChildren<QLineEdit *>().size(), 62);
    EXPECT_EQ(editor->findChild<QLabel *>("lblNotesInstruction")->text(),
              "Double-click inside the text box to expand notes.");
}

TEST_F(EditorEventsTest, DoubleClickInTheNotesOpensTheNotesWindow)
{
    widget<QPlainTextEdit>("txtNotes")->setPlainText("first line\nsecond line");
    gEditor.gRecordChanged = false;
    QTextCursor end = widget<QPlainTextEdit>("txtNotes")->textCursor();
    end.movePosition(QTextCursor::End);
    widget<QPlainTextEdit>("txtNotes")->setTextCursor(end);
    DialogScript script;
    script.onModal("NotesForm", [](QWidget *w) {
        auto *notes = w->findChild<QPlainTextEdit *>("txtNotes");
        EXPECT_EQ(notes->toPlainText(), "first line\nsecond line");
        notes->appendPlainText("third line");
        DialogScript::click(w, "cmdExit");
    });
    QTest::mouseDClick(widget<QPlainTextEdit>("txtNotes")->viewport(), Qt::LeftButton);
    EXPECT_EQ(widget<QPlainTextEdit>("txtNotes")->toPlainText(), "first line\nsecond line\nthird line");
    EXPECT_TRUE(gEditor.gRecordChanged);
    EXPECT_EQ(widget<QPlainTextEdit>("txtNotes")->textCursor().position(), 0);
    EXPECT_FALSE(widget<QPlainTextEdit>("txtNotes")->textCursor().hasSelection());
}
