#include "editor/NotesForm.h"
#include "editor/GLOBAL.h"
#include "helpers/GLOBAL.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/Twips.h"
#include "support/DialogScript.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include "support/FormControls.h"

// clang-format off
inline QPlainTextEdit *txtNotes(const QWidget &form) { return controlOf<QPlainTextEdit>(form, "txtNotes"); }
inline QPushButton *cmdFindNext(const QWidget &form) { return controlOf<QPushButton>(form, "cmdFindNext"); }
inline QPushButton *cmdFind(const QWidget &form) { return controlOf<QPushButton>(form, "cmdFind"); }
inline QPushButton *cmdExit(const QWidget &form) { return controlOf<QPushButton>(form, "cmdExit"); }
inline QToolButton *ImageKeyboard(const QWidget &form) { return controlOf<QToolButton>(form, "ImageKeyboard"); }
// clang-format on


class NotesFormTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gEditor.reset();
        editorNotes.setPlainText("Quilt show in May.\nBring the BLUE quilt; blue thread too.");
        changes = 0;
        QObject::connect(&editorNotes, &QPlainTextEdit::textChanged, [this] { ++changes; });
    }
    QPlainTextEdit editorNotes;
    int changes = 0;
};

TEST_F(NotesFormTest, OpeningAndClosingChangesNothing)
{
    DialogScript script;
    script.onModal("NotesForm", [](QWidget *w) {
        EXPECT_EQ(w->findChild<QPlainTextEdit *>("txtNotes")->toPlainText(),
                  "Quilt show in May.\nBring the BLUE quilt; blue thread too.");
        EXPECT_EQ(w->windowTitle(), "Notes");
        EXPECT_TRUE(w->findChild<QPushButton *>("cmdFindNext")->isHidden());
        DialogScript::click(w, "cmdExit");
    });
    NotesForm::open(editorNotes);
    EXPECT_FALSE(gEditor.gRecordChanged);
    EXPECT_EQ(changes, 0);
}

// Escape leaves as Exit does.
TEST_F(NotesFormTest, TypedTextGoesBackAndMarksTheRecord)
{
    for (const bool escape : {false, true}) {
        editorNotes.setPlainText("Bring the BLUE quilt; blue thread too.");
        gEditor.gRecordChanged = false;
        DialogScript script;
        script.onModal("NotesForm", [escape](QWidget *w) {
            auto *notes = w->findChild<QPlainTextEdit *>("txtNotes");
            notes->moveCursor(QTextCursor::End);
            notes->insertPlainText(" Call first.");
            escape ? QTest::keyClick(notes, Qt::Key_Escape) : DialogScript::click(w, "cmdExit");
            EXPECT_FALSE(w->isVisible());
        });
        NotesForm::open(editorNotes);
        EXPECT_TRUE(gEditor.gRecordChanged);
        EXPECT_EQ(editorNotes.toPlainText(), "Bring the BLUE quilt; blue thread too. Call first.") << escape;
    }
}

TEST_F(NotesFormTest, AnEarlierChangeCopiesTheTextBackAnyway)
{
    gEditor.gRecordChanged = true;
    DialogScript script;
    script.onModal("NotesForm", [](QWidget *w) { w->close(); });
    NotesForm::open(editorNotes);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(gEditor.gRecordChanged);
}

TEST_F(NotesFormTest, FindIgnoresCaseAndFindNextStopsAtTheEnd)
{
    NotesForm form(editorNotes);
    form.load();
    form.show();
    DialogScript script;
    script.answerInput("blue");
    form.cmdFind_Click();
    EXPECT_EQ(txtNotes(form)->textCursor().selectedText(), "BLUE");
    EXPECT_FALSE(cmdFindNext(form)->isHidden());
    form.cmdFindNext_Click();
    EXPECT_EQ(txtNotes(form)->textCursor().selectionStart(),
              txtNotes(form)->toPlainText().indexOf("blue thread"));
    script.answerMessage(platform::vbOK);
    form.cmdFindNext_Click();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].text, "[blue]\r\n\r\nReached end of notes.");
    EXPECT_EQ(script.shown()[1].title, "No more occurrences found");
    EXPECT_TRUE(cmdFindNext(form)->isHidden());
    script.answerInput("blue");
    form.cmdFind_Click();
    EXPECT_EQ(script.shown()[2].defaultText, "blue") << "the last search text is offered again";
    EXPECT_EQ(txtNotes(form)->textCursor().selectedText(), "BLUE");
    form.unload();
}

TEST_F(NotesFormTest, FindNextStartsAtAMovedCaret)
{
    NotesForm form(editorNotes);
    form.load();
    form.show();
    DialogScript script;
    script.answerInput("quilt");
    form.cmdFind_Click();
    EXPECT_EQ(txtNotes(form)->textCursor().selectionStart(), 0);
    QTextCursor caret = txtNotes(form)->textCursor();
    caret.setPosition(txtNotes(form)->toPlainText().indexOf("quilt;") + 1);
    txtNotes(form)->setTextCursor(caret);
    script.answerMessage(platform::vbOK);
    form.cmdFindNext_Click();
    EXPECT_EQ(script.shown().back().title, "No more occurrences found");
    form.unload();
}

TEST_F(NotesFormTest, MissingTextAndBlankSearches)
{
    NotesForm form(editorNotes);
    form.load();
    form.show();
    DialogScript script;
    script.answerInput("zebra").answerMessage(platform::vbOK).answerInput("   ").cancelInput();
    form.cmdFind_Click();
    EXPECT_EQ(script.shown()[1].text,
              "[zebra]\r\n\r\nThe text you searched for (shown above) was not found.");
    EXPECT_EQ(script.shown()[1].title, "Text not found");
    form.cmdFind_Click();
    form.cmdFind_Click();
    EXPECT_EQ(script.shown().size(), 4u);
    EXPECT_TRUE(cmdFindNext(form)->isHidden());
    form.unload();
}

TEST_F(NotesFormTest, ATabIsSearchedForNotTakenForABlank)
{
    editorNotes.setPlainText("Size\tColour\nQueen\tBlue");
    NotesForm form(editorNotes);
    form.load();
    form.show();
    DialogScript script;
    script.answerInput("\t");
    form.cmdFind_Click();
    EXPECT_EQ(txtNotes(form)->textCursor().selectionStart(), 4);
    EXPECT_EQ(txtNotes(form)->textCursor().selectedText(), "\t");
    ASSERT_FALSE(cmdFindNext(form)->isHidden());
    form.cmdFindNext_Click();
    EXPECT_EQ(txtNotes(form)->textCursor().selectionStart(), txtNotes(form)->toPlainText().indexOf("\tBlue"));
    form.unload();
}

TEST_F(NotesFormTest, PositionIsKeptUnlessTheTopWasZeroOrTen)
{
    DialogScript script;
    script.onModal("NotesForm", [](QWidget *w) {
        platform::moveWindowTwips(w, 600, 900);
        DialogScript::click(w, "cmdExit");
    });
    NotesForm::open(editorNotes);
    EXPECT_NEAR(gEditor.gNotesFormLeft, 600, 15);
    EXPECT_NEAR(gEditor.gNotesFormTop, 900, 15);
    EXPECT_GT(gEditor.gNotesFormWidth, 0);
    NotesForm again(editorNotes);
    again.load();
    EXPECT_NEAR(platform::pixelsToTwipsY(platform::expectedFrameGeometry(&again).y()), 900, 15);
    gEditor.gNotesFormTop = 10;
    NotesForm centred(editorNotes);
    centred.load();
    EXPECT_NEAR(platform::pixelsToTwipsY(platform::expectedFrameGeometry(&centred).y()),
                (platform::screenHeightTwips() - platform::windowHeightTwips(&centred)) / 2, 30);
}

TEST_F(NotesFormTest, ResizeRulesAndTheirThresholds)
{
    NotesForm form(editorNotes);
    form.load();
    form.Form_Resize(12000, 9000);
    EXPECT_NEAR(platform::pixelsToTwipsY(txtNotes(form)->height()), 9000 - 1550, 15);
    EXPECT_NEAR(platform::pixelsToTwipsY(cmdExit(form)->y()), 9000 - 1200, 15);
    EXPECT_NEAR(platform::pixelsToTwipsX(txtNotes(form)->width()), 12000 - 600, 15);
    EXPECT_EQ(cmdFind(form)->y(), cmdExit(form)->y());
    EXPECT_EQ(cmdFindNext(form)->x() + cmdFindNext(form)->width(), cmdFind(form)->x());
    const int height = txtNotes(form)->height();
    const int width = txtNotes(form)->width();
    form.Form_Resize(1200, 1600);
    EXPECT_EQ(txtNotes(form)->height(), height);
    EXPECT_EQ(txtNotes(form)->width(), width);
    EXPECT_GE(cmdFindNext(form)->x(), cmdExit(form)->x() + cmdExit(form)->width() - 1) << "never overlapping";
}

TEST_F(NotesFormTest, TabletModeUsesALargerFontAndTheKeyboard)
{
    gTabletMode = true;
    NotesForm form(editorNotes);
    form.load();
    gTabletMode = false;
    EXPECT_EQ(txtNotes(form)->font().family(), "Tahoma");
    EXPECT_EQ(txtNotes(form)->font().pointSize(), 14);
    EXPECT_FALSE(ImageKeyboard(form)->isHidden());
    EXPECT_NEAR(platform::pixelsToTwipsY(form.frameGeometry().y()), 10, 15);
    DialogScript script;
    form.ImageKeyboard_Click();
    EXPECT_TRUE(script.shellCalls().empty()) << "outside tablet mode the picture does nothing";
    gTabletMode = true;
    script.refuseShellCalls().answerMessage(platform::vbOK);
    form.ImageKeyboard_Click();
    gTabletMode = false;
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Keyboard") << "no keyboard to start is told";
}
