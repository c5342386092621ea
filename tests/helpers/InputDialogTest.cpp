#include "support/DialogScript.h"

#include "helpers/GLOBAL.h"
#include "helpers/InputForm.h"
#include "helpers/MsgForm.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using platform::DialogKind;

namespace {
// Drives the real input window: types into the box, then presses a button or a key.
std::function<void(QWidget *)> typeThen(const QString &typed, const QString &button)
{
    return [typed, button](QWidget *w) {
        auto *box = w->findChild<QLineEdit *>("txtInput");
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, typed);
        if (button == "Enter")
            QTest::keyClick(box, Qt::Key_Return);
        else if (button == "Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (button == "close")
            w->close();
        else
            DialogScript::click(w, button);
        EXPECT_TRUE(w->isHidden()) << "answered by " << button.toStdString();
    };
}
} // namespace

TEST(InputDialogWindow, OkReturnsWhatWasTyped)
{
    DialogScript script;
    script.onModal("InputForm", [](QWidget *w) {
        EXPECT_EQ(w->windowTitle(), "Password?");
        EXPECT_EQ(w->findChild<QLabel *>("lblMessage")->text(), "Type your password.");
        EXPECT_TRUE(w->findChild<QLineEdit *>("txtInput")->text().isEmpty());
        typeThen("Smith & Co", "cmdOK")(w);
    });
    EXPECT_EQ(InputDialog("Type your password.", "Password?", "", false), "Smith & Co");
}

TEST(InputDialogWindow, PromptIsShownAsPlainText)
{
    DialogScript script;
    script.onModal("InputForm", [](QWidget *w) {
        auto *label = w->findChild<QLabel *>("lblMessage");
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(label->text(), "Rename <b>Jo & Al</b>?");
        DialogScript::click(w, "cmdCancel");
    });
    EXPECT_EQ(InputDialog("Rename <b>Jo & Al</b>?", "Rename"), "");
}

TEST(InputDialogWindow, PromptBreaksLinesAtCarriageReturnsLineFeedsOrBoth)
{
    DialogScript script;
    for (const char *prompt : {"Name it.\rNo .jpg\r\rIllegal: *", "Name it.\nNo .jpg\n\nIllegal: *",
                               "Name it.\r\nNo .jpg\r\n\r\nIllegal: *"}) {
        script.onModal("InputForm", [](QWidget *w) {
            const QString shown = w->findChild<QLabel *>("lblMessage")->text();
            EXPECT_EQ(shown.split('\n'), QStringList({"Name it.", "No .jpg", "", "Illegal: *"}));
            DialogScript::click(w, "cmdCancel");
        });
        InputDialog(prompt, "Picture name required");
    }
}

TEST(InputDialogWindow, EnterAcceptsLikeOk)
{
    DialogScript script;
    script.onModal("InputForm", typeThen("abc", "Enter"));
    EXPECT_EQ(InputDialog("Find what?", "Find"), "abc");
}

TEST(InputDialogWindow, CancelEscapeAndTitleBarCloseReturnEmptyText)
{
    DialogScript script;
    script.onModal("InputForm", typeThen("typed", "cmdCancel"));
    script.onModal("InputForm", typeThen("typed", "Escape"));
    script.onModal("InputForm", typeThen("typed", "close"));
    script.onModal("InputForm", typeThen("", "cmdOK"));
    EXPECT_EQ(InputDialog("Name?", "Name"), "");
    EXPECT_EQ(InputDialog("Password", "Password?", "", true), "");
    EXPECT_EQ(InputDialog("Name?", "Name", "Default"), "");
    EXPECT_EQ(InputDialog("Name?", "Name"), "") << "OK on an empty box";
}

TEST(InputDialogWindow, DefaultTextIsShownAndReturnedOnOk)
{
    DialogScript script;
    script.onModal("InputForm", [](QWidget *w) {
        EXPECT_EQ(w->findChild<QLineEdit *>("txtInput")->text(), "Picture1");
        DialogScript::click(w, "cmdOK");
    });
    EXPECT_EQ(InputDialog("Name of the picture?", "Paste image", "Picture1"), "Picture1");
}

TEST(InputDialogWindow, MaskShowsStarsAndReturnsThePlainText)
{
    DialogScript script;
    script.onModal("InputForm", [](QWidget *w) {
        auto *box = w->findChild<QLineEdit *>("txtInput");
        QTest::keyClicks(box, "s3cret");
        EXPECT_EQ(box->displayText(), "******");
        DialogScript::click(w, "cmdOK");
    });
    script.onModal("InputForm", [](QWidget *w) {
        EXPECT_EQ(w->findChild<QLineEdit *>("txtInput")->echoMode(), QLineEdit::Normal)
            << "mask must not carry over";
        DialogScript::click(w, "cmdCancel");
    });
    EXPECT_EQ(InputDialog("Type your password.", "Password?", "", true), "s3cret");
    EXPECT_EQ(InputDialog("Anything?", "Next"), "");
}

TEST(InputDialogWindow, FontSetByOneCallerLastsOneQuestion)
{
    DialogScript script;
    QFont arial("Arial");
    arial.setPointSizeF(8);
    arial.setBold(false);
    InputForm::instance().txtInput->setFont(arial);
    script.onModal("InputForm", [](QWidget *w) {
        EXPECT_FALSE(w->findChild<QLineEdit *>("txtInput")->font().bold());
        DialogScript::click(w, "cmdCancel");
    });
    script.onModal("InputForm", [](QWidget *w) {
        const QFont font = w->findChild<QLineEdit *>("txtInput")->font();
        EXPECT_TRUE(font.bold());
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.6);
        DialogScript::click(w, "cmdCancel");
    });
    InputDialog("First?", "One");
    InputDialog("Second?", "Two");
}

TEST(InputDialogWindow, DesignMatchesTheLayout)
{
    InputForm &form = InputForm::instance();
    EXPECT_EQ(form.size(), QSize(platform::twipsToPixelsX(6336), platform::twipsToPixelsY(3096)));
    EXPECT_EQ(form.cmdOK->text(), "&OK");
    EXPECT_EQ(form.cmdCancel->text(), "&Cancel");
    EXPECT_EQ(form.txtInput->geometry(),
              QRect(platform::twipsToPixelsX(660), platform::twipsToPixelsY(2124),
                    platform::twipsToPixelsX(5220), platform::twipsToPixelsY(396)));
    EXPECT_EQ(form.txtInput->maxLength(), 32767) << "no length limit of its own";
    EXPECT_TRUE(form.lblMessage->wordWrap());
    InputForm::unloadIfLoaded();
}

TEST(InputDialogWindow, TabletModePlacesItHighAndOffersTheKeyboard)
{
    DialogScript script;
    gTabletMode = true;
    script.onModal("InputForm", [](QWidget *w) {
        EXPECT_EQ(w->y(), platform::twipsToPixelsY(1000));
        const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
        EXPECT_NEAR(w->x(), (screenWidth - w->frameGeometry().width()) / 2, 1);
        auto *box = w->findChild<QLineEdit *>("txtInput");
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(box, Qt::LeftButton);
        DialogScript::click(w, "cmdOK");
    });
    InputDialog("Name?", "Name");
    gTabletMode = false;
    ASSERT_EQ(script.shellCalls().size(), 2u);
    EXPECT_EQ(script.shellCalls()[0].kind, DialogKind::StartProgram);

    // Off a tablet the window is centred and a click starts nothing.
    script.onModal("InputForm", [](QWidget *w) {
        const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
        EXPECT_NEAR(w->y(), (screenHeight - w->frameGeometry().height()) / 2, 1);
        QTest::mouseClick(w->findChild<QLineEdit *>("txtInput"), Qt::LeftButton);
        DialogScript::click(w, "cmdOK");
    });
    InputDialog("Name?", "Name");
    EXPECT_EQ(script.shellCalls().size(), 2u);
}

TEST(InputDialogScripted, AnswersWithoutTheWindowAndRecordsTheQuestion)
{
    DialogScript script;
    script.answerInput("hunter2").cancelInput();
    EXPECT_EQ(
        InputDialog("Type your password.  You have two chances to get it right.", "Password?", "", true),
        "hunter2");
    EXPECT_EQ(InputDialog("Again?", "Password?", "", true), "");
    ASSERT_EQ(script.shown().size(), 2u);
    const platform::DialogRequest &asked = script.shown()[0];
    EXPECT_EQ(asked.kind, DialogKind::Input);
    EXPECT_EQ(asked.text, "Type your password.  You have two chances to get it right.");
    EXPECT_EQ(asked.title, "Password?");
    EXPECT_TRUE(asked.passwordMask);
    EXPECT_EQ(asked.objectName, "InputForm");
}

TEST(MessageWindow, ClosesOnAClickOnTheWindowOrTheMessage)
{
    DialogScript script;
    script.onModal("MsgForm", [](QWidget *w) {
        EXPECT_EQ(w->findChild<QLabel *>("Msg")->text(), "Dialing 555-1234\nPick up the phone");
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
    });
    MsgForm::instance().Msg->setText("Dialing 555-1234\nPick up the phone");
    MsgForm::instance().showModal();
    EXPECT_TRUE(script.pending() == 0);

    script.onModal("MsgForm", [](QWidget *w) {
        EXPECT_TRUE(w->findChild<QLabel *>("Msg")->text().isEmpty()) << "each opening starts from the design";
        QTest::mouseClick(w->findChild<QLabel *>("Msg"), Qt::LeftButton);
    });
    MsgForm::instance().showModal();
}

TEST(MessageWindow, ClosesOnKeysThatTypeACharacterOnly)
{
    DialogScript script;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_A}) {
        script.onModal("MsgForm", [key](QWidget *w) {
            for (Qt::Key inert : {Qt::Key_Left, Qt::Key_F2, Qt::Key_Shift}) {
                QTest::keyClick(w, inert);
                EXPECT_TRUE(w->isVisible()) << "closed on key " << inert;
            }
            QTest::keyClick(w, key);
            EXPECT_FALSE(w->isVisible()) << "still open after key " << key;
        });
        MsgForm::instance().showModal();
    }
}
