#include "helpers/MSendInput.h"

#include "QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Writes down every key event it gets: press or release, Qt key, modifiers and text.
class KeyRecorder : public QWidget {
  public:
    QStringList events;

    KeyRecorder() { setFocusPolicy(Qt::StrongFocus); }

  protected:
    void keyPressEvent(QKeyEvent *e) override { note(QStringLiteral("press"), e); }
    void keyReleaseEvent(QKeyEvent *e) override { note(QStringLiteral("release"), e); }

  private:
    void note(const QString &kind, QKeyEvent *e)
    {
        QStringList mods;
        if (e->modifiers() & Qt::ShiftModifier)
            mods << QStringLiteral("Shift");
        if (e->modifiers() & Qt::ControlModifier)
            mods << QStringLiteral("Ctrl");
        if (e->modifiers() & Qt::AltModifier)
            mods << QStringLiteral("Alt");
        events << QStringLiteral("%1 %2 [%3] \"%4\"")
                      .arg(kind, QKeySequence(e->key()).toString(), mods.join(QLatin1Char('+')), e->text());
    }
};

class SendKeysInputTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SetCapsLockOn(false);
        auto *layout = new QVBoxLayout(&window);
        first = new QLineEdit(&window);
        second = new QLineEdit(&window);
        recorder = new KeyRecorder;
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(recorder);
        window.show();
        QApplication::setActiveWindow(&window);
        first->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), first);
    }

    void TearDown() override { SetCapsLockOn(false); }

    void send(const QString &keys)
    {
        SendKeysInput(keys, true);
        QCoreApplication::processEvents();
    }

    QWidget window;
    QLineEdit *first = nullptr;
    QLineEdit *second = nullptr;
    KeyRecorder *recorder = nullptr;
};

} // namespace

TEST_F(SendKeysInputTest, KeysArriveAfterTheCallerReturns)
{
    SendKeysInput(QStringLiteral("abc"));
    EXPECT_EQ(first->text(), QString());
    QCoreApplication::processEvents();
    EXPECT_EQ(first->text(), QStringLiteral("abc"));
}

TEST_F(SendKeysInputTest, TypesTextWithShiftedCharacters)
{
    send(QStringLiteral("Hello, World! 1+1=2 {{}x{}} (a+b) {+}"));
    EXPECT_EQ(first->text(), QStringLiteral("Hello, World! 1!=2 {x} a+b +"));
}

TEST_F(SendKeysInputTest, EveryPrintableCharacterInBracesIsTypedLiterally)
{
    // How a key typed in the grid is passed on to the locate box, syntax characters included.
    for (char16_t code = 32; code < 127; ++code) {
        const QString ch(QChar{code});
        first->clear();
        send(QLatin1Char('{') + ch + QLatin1Char('}'));
        EXPECT_EQ(first->text(), ch) << int(code);
    }
}

TEST_F(SendKeysInputTest, BackspaceAndArrowsEdit)
{
    send(QStringLiteral("abcd{BS}{LEFT 2}X{END}Y"));
    EXPECT_EQ(first->text(), QStringLiteral("aXbcY"));
}

TEST_F(SendKeysInputTest, ShiftedArrowsSelectText)
{
    send(QStringLiteral("Smith{HOME}+{RIGHT}"));
    EXPECT_EQ(first->selectedText(), QStringLiteral("S"));
    send(QStringLiteral("+{END}"));
    EXPECT_EQ(first->selectedText(), QStringLiteral("Smith"));
    send(QStringLiteral("{END}+{LEFT 2}"));
    EXPECT_EQ(first->selectedText(), QStringLiteral("th"));
    send(QStringLiteral("{END}+({LEFT}){LEFT}"));
    // The group's "{LEFT}" is literal text, typed with Shift held.
    EXPECT_EQ(first->text(), QStringLiteral("Smith{LEFT}"));

    first->clear();
    send(QStringLiteral("Jones{HOME}+{END}"));
    EXPECT_EQ(first->selectedText(), QStringLiteral("Jones"));
    send(QStringLiteral("^a{DEL}"));
    EXPECT_EQ(first->text(), QString());
}

TEST_F(SendKeysInputTest, EnterFromTildeAndName)
{
    QSignalSpy returns(first, &QLineEdit::returnPressed);
    send(QStringLiteral("ab~{ENTER}"));
    EXPECT_EQ(returns.count(), 2);
    EXPECT_EQ(first->text(), QStringLiteral("ab"));
}

TEST_F(SendKeysInputTest, TabMovesTheFollowingKeysToTheNextBox)
{
    send(QStringLiteral("ab{TAB}cd"));
    EXPECT_EQ(first->text(), QStringLiteral("ab"));
    EXPECT_EQ(second->text(), QStringLiteral("cd"));
    // Back in the first box by Shift+Tab, its text is selected and typing replaces it.
    send(QStringLiteral("+{TAB}e"));
    EXPECT_EQ(first->text(), QStringLiteral("e"));
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(SendKeysInputTest, UnicodeCharactersAreTyped)
{
    send(QStringLiteral("Café €5 Ωmega 😀 {é}"));
    EXPECT_EQ(first->text(), QStringLiteral("Café €5 Ωmega 😀 é"));
}

TEST_F(SendKeysInputTest, CapsLockStateTypesWhatTheStringSays)
{
    SetCapsLockOn(true);
    send(QStringLiteral("Ab"));
    EXPECT_EQ(first->text(), QStringLiteral("Ab"));
}

TEST_F(SendKeysInputTest, CapsLockKeyTogglesLikeAKeyboard)
{
    // The string is read before its keys are played, so the letter after {CAPSLOCK} is
    // typed with the new Caps Lock state, as on a real keyboard: "b" was read with Caps
    // Lock on (so with Shift) and is played with it off.
    send(QStringLiteral("{CAPSLOCK}a"));
    EXPECT_TRUE(IsCapsLockOn());
    EXPECT_EQ(first->text(), QStringLiteral("A"));
    send(QStringLiteral("{CAPSLOCK}b"));
    EXPECT_FALSE(IsCapsLockOn());
    EXPECT_EQ(first->text(), QStringLiteral("AB"));
}

TEST_F(SendKeysInputTest, KeyEventsCarryModifiersAndText)
{
    recorder->setFocus();
    send(QStringLiteral("+a^b~"));
    const QStringList expected{
        QStringLiteral("press Shift [Shift] \"\""),  QStringLiteral("press A [Shift] \"A\""),
        QStringLiteral("release A [Shift] \"A\""),   QStringLiteral("release Shift [] \"\""),
        QStringLiteral("press Control [Ctrl] \"\""), QStringLiteral("press B [Ctrl] \"\""),
        QStringLiteral("release B [Ctrl] \"\""),     QStringLiteral("release Control [] \"\""),
        QStringLiteral("press Return [] \"\r\""),    QStringLiteral("release Return [] \"\r\""),
    };
    EXPECT_EQ(recorder->events, expected);
}

TEST_F(SendKeysInputTest, NoModifierStaysHeldAfterTheString)
{
    send(QStringLiteral("+{TAB}"));
    EXPECT_EQ(QApplication::focusWidget(), recorder);
    EXPECT_EQ(QGuiApplication::keyboardModifiers(), Qt::NoModifier);
    send(QStringLiteral("^+%(ab)"));
    EXPECT_EQ(QGuiApplication::keyboardModifiers(), Qt::NoModifier);
}

TEST_F(SendKeysInputTest, OneBatchWithNothingInBetween)
{
    QStringList seen;
    QMetaObject::invokeMethod(
        first, [&] { seen << first->text(); }, Qt::QueuedConnection);
    SendKeysInput(QStringLiteral("abc{LEFT}{BS}"));
    QMetaObject::invokeMethod(
        first, [&] { seen << first->text(); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, (QStringList{QString(), QStringLiteral("ac")}));
}

TEST_F(SendKeysInputTest, ShortcutsSeeTheKeysFirst)
{
    auto *action = new QAction(&window);
    action->setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
    window.addAction(action);
    QSignalSpy triggered(action, &QAction::triggered);
    send(QStringLiteral("^k"));
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_EQ(first->text(), QString());
}

TEST(SendKeysInput, AltLetterOpensTheMenuWithThatAccessKey)
{
    SetCapsLockOn(false);
    QMainWindow window;
    QMenu *reports = window.menuBar()->addMenu(QStringLiteral("&Reports"));
    reports->addAction(QStringLiteral("&Phone List"));
    auto *edit = new QLineEdit(&window);
    window.setCentralWidget(edit);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QCoreApplication::processEvents();

    SendKeysInput(QStringLiteral("%R"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports->isVisible());
    EXPECT_EQ(edit->text(), QString());
    reports->hide();
}

TEST(SendKeysInput, RightArrowMovesTheGridCursorOneColumn)
{
    QStandardItemModel model(3, 3);
    QTableView grid;
    grid.setModel(&model);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    grid.setCurrentIndex(model.index(1, 0));
    QCoreApplication::processEvents();

    SendKeysInput(QStringLiteral("{right}"), true);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex(), model.index(1, 1));
}

TEST(SendKeysInput, KeysWithNoWindowActiveAreLost)
{
    QLineEdit edit; // not shown: no window is active and nothing has the focus
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    SendKeysInput(QStringLiteral("abc~"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), QString());

    // The next string typed once the window is active arrives whole, with no key of the
    // lost one left over.
    edit.show();
    QApplication::setActiveWindow(&edit);
    edit.setFocus();
    SendKeysInput(QStringLiteral("de"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), QStringLiteral("de"));
}
