#include "support/DialogScript.h"

#include "platform/RuntimeError.h"
#include "platform/ui/ApplicationTitle.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace platform;

TEST(MessageBox, ScriptedBoxIsAnsweredAndRecordedExactly)
{
    DialogScript script;
    script.answerMessage(vbCancel);
    const int answer = MsgBox("Database may be corrupted.  Press OK.",
                              vbOKCancel + vbExclamation + vbDefaultButton2, "Corrupt Database");
    EXPECT_EQ(answer, vbCancel);
    ASSERT_EQ(script.shown().size(), 1u);
    const DialogRequest &box = script.shown().front();
    EXPECT_EQ(box.kind, DialogKind::Message);
    EXPECT_EQ(box.text, "Database may be corrupted.  Press OK.");
    EXPECT_EQ(box.title, "Corrupt Database");
    EXPECT_EQ(box.buttons, vbOKCancel);
    EXPECT_EQ(box.icon, vbExclamation);
    EXPECT_EQ(box.defaultButton, 2);
    EXPECT_EQ(box.style, 305);
}

TEST(MessageBox, NoTitleShowsTheApplicationTitle)
{
    DialogScript script;
    script.answerMessage(vbOK).answerMessage(vbOK);
    MsgBox("One");
    setApplicationTitle("Quiltern 3 #2");
    MsgBox("Two");
    setApplicationTitle("Quiltern 3");
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].title, "Quiltern 3");
    EXPECT_EQ(script.shown()[1].title, "Quiltern 3 #2");
    EXPECT_EQ(script.shown()[0].icon, 0);
    EXPECT_EQ(script.shown()[0].buttons, vbOKOnly);
}

TEST(MessageBox, StyleValueSplitsIntoButtonsIconAndDefault)
{
    EXPECT_EQ(msgButtons(vbYesNoCancel + vbQuestion + vbDefaultButton3), vbYesNoCancel);
    EXPECT_EQ(msgIcon(vbYesNoCancel + vbQuestion + vbDefaultButton3), vbQuestion);
    EXPECT_EQ(msgDefaultButton(vbYesNoCancel + vbQuestion + vbDefaultButton3), 3);
    EXPECT_EQ(msgDefaultButton(vbCritical), 1);
    EXPECT_EQ(msgIcon(vbInformation + vbRetryCancel), vbInformation);
    EXPECT_EQ(msgCancelAnswer(vbOKOnly), vbOK);
    EXPECT_EQ(msgCancelAnswer(vbOKCancel), vbCancel);
    EXPECT_EQ(msgCancelAnswer(vbYesNo), vbNo);
    EXPECT_EQ(msgCancelAnswer(vbYesNoCancel), vbCancel);
    EXPECT_EQ(msgCancelAnswer(vbAbortRetryIgnore), vbAbort);
    EXPECT_EQ(msgCancelAnswer(vbRetryCancel), vbCancel);
}

TEST(DialogScriptRules, UnscriptedBoxFailsTheTestAndBacksOut)
{
    DialogScript script;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Delete?", vbYesNo + vbQuestion, "Sure?"),
                            "Unscripted message box");
    EXPECT_EQ(answer, vbNo);
    QString typed = "x";
    EXPECT_NONFATAL_FAILURE(typed = InputBox("Name?"), "Unscripted input box");
    EXPECT_EQ(typed, "");
    EXPECT_EQ(script.shown().size(), 2u);
}

TEST(DialogScriptRules, WrongKindFailsAndKeepsTheAnswerQueued)
{
    DialogScript script;
    script.answerOpenFile("/tmp/a.mdb");
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Hello", vbOKCancel), "Expected a open dialog");
    EXPECT_EQ(answer, vbCancel);
    EXPECT_EQ(script.pending(), 1u);
    CommonDialog dialog;
    EXPECT_TRUE(dialog.dlgShowOpen());
    EXPECT_EQ(dialog.dlgFileName, "/tmp/a.mdb");
    EXPECT_EQ(script.pending(), 0u);
}

TEST(DialogScriptRules, UnusedAnswerFailsWhenTheScriptEnds)
{
    EXPECT_NONFATAL_FAILURE(
        {
            DialogScript script;
            script.answerMessage(vbYes);
        },
        "never used");
}

TEST(DialogScriptRules, WithoutAScriptEveryDialogFails)
{
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(answer = MsgBox("Anyone?", vbOKCancel), "without a DialogScript");
    EXPECT_EQ(answer, vbCancel);
    bool opened = true;
    EXPECT_NONFATAL_FAILURE(opened = openLink("https://example.com/"), "without a DialogScript");
    EXPECT_FALSE(opened);
}

TEST(InputBoxSeam, AnswersTextAndCancel)
{
    DialogScript script;
    script.answerInput("Smith").cancelInput();
    EXPECT_EQ(InputBox("Last name?", "Find", "Sm"), "Smith");
    EXPECT_EQ(InputBox("Again?"), "");
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, "Last name?");
    EXPECT_EQ(script.shown()[0].title, "Find");
    EXPECT_EQ(script.shown()[0].defaultText, "Sm");
    EXPECT_EQ(script.shown()[1].title, "Quiltern 3");
}

TEST(CommonDialogControl, SaveDialogReturnsPathTitleAndFilter)
{
    DialogScript script;
    script.answerSaveFile("/home/u/out/NameOut.txt", 2);
    CommonDialog dialog;
    dialog.dlgCancelError = true;
    dialog.dlgFlags = 6;
    dialog.dlgFilter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
    dialog.dlgFilterIndex = 2;
    dialog.dlgFileName = "NameOut.txt";
    dialog.dlgDialogTitle = "Save As";
    EXPECT_TRUE(dialog.dlgShowSave());
    EXPECT_EQ(dialog.dlgFileName, "/home/u/out/NameOut.txt");
    EXPECT_EQ(dialog.dlgFileTitle, "NameOut.txt");
    EXPECT_EQ(dialog.dlgFilterIndex, 2);
    ASSERT_EQ(script.shown().size(), 1u);
    const DialogRequest &shown = script.shown().front();
    EXPECT_EQ(shown.kind, DialogKind::SaveFile);
    EXPECT_EQ(shown.flags, 6);
    EXPECT_EQ(shown.fileName, "NameOut.txt");
    EXPECT_EQ(shown.title, "Save As");
    EXPECT_EQ(shown.filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt");
}

TEST(CommonDialogControl, CancelRaises32755OnlyWhenAskedTo)
{
    DialogScript script;
    script.cancelFile().cancelFile().cancelColor();
    CommonDialog dialog;
    dialog.dlgFileName = "keep.jpg";
    dialog.dlgCancelError = true;
    try {
        dialog.dlgShowOpen();
        ADD_FAILURE() << "Cancel raised nothing";
    } catch (const RuntimeError &error) {
        EXPECT_EQ(error.number(), err::DialogCancelled);
    }
    dialog.dlgCancelError = false;
    EXPECT_FALSE(dialog.dlgShowOpen());
    EXPECT_EQ(dialog.dlgFileName, "keep.jpg");
    dialog.dlgColor = QColor(0x40, 0x80, 0x80);
    EXPECT_FALSE(dialog.dlgShowColor());
    EXPECT_EQ(dialog.dlgColor, QColor(0x40, 0x80, 0x80));
}

TEST(CommonDialogControl, ColourAndPrinterSetup)
{
    DialogScript script;
    script.answerColor(QColor(Qt::yellow)).answerPrinterSetup(false);
    CommonDialog dialog;
    dialog.dlgFlags = CommonDialog::cdlCCRGBInit;
    dialog.dlgColor = QColor(Qt::blue);
    EXPECT_TRUE(dialog.dlgShowColor());
    EXPECT_EQ(dialog.dlgColor, QColor(Qt::yellow));
    EXPECT_EQ(script.shown()[0].color, QColor(Qt::blue));
    dialog.dlgFlags = CommonDialog::cdlPDPrintSetup;
    dialog.dlgCancelError = true;
    EXPECT_THROW(dialog.dlgShowPrinter(), RuntimeError);
    EXPECT_EQ(script.shown()[1].kind, DialogKind::PrinterSetup);
    EXPECT_EQ(script.shown()[1].flags, 64);
}
