#include "support/DialogScript.h"
#include "support/ExpectRuntimeError.h"

#include "platform/ui/Form.h"
#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A window that writes down each life-cycle event it gets.
class LoggingForm : public Form {
  public:
    explicit LoggingForm(const QString &name)
    {
        setObjectName(name);
        edit = new QLineEdit(this);
        edit->setObjectName("txtEdit");
        button = new QPushButton("OK", this);
        button->setObjectName("cmdOK");
        button->move(0, 40);
        connect(button, &QPushButton::clicked, this, [this] { hide(); });
    }

    QStringList log;
    bool cancelQuery = false;
    bool cancelUnload = false;
    int swallowKey = 0;
    int replaceFrom = 0;
    int replaceWith = 0;
    QLineEdit *edit;
    QPushButton *button;

  protected:
    void Form_Load() override { log << "Load"; }
    void Form_Activate() override { log << "Activate"; }
    void Form_QueryUnload(bool &cancel, int mode) override
    {
        log << QString("QueryUnload %1").arg(mode);
        cancel = cancelQuery;
    }
    void Form_Unload(bool &cancel) override
    {
        log << "Unload";
        cancel = cancelUnload;
    }
    void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers) override
    {
        log << QString("KeyDown %1").arg(keyCode);
        if (keyCode == swallowKey)
            keyCode = 0;
    }
    void Form_KeyPress(int &keyAscii) override
    {
        log << QString("KeyPress %1").arg(keyAscii);
        if (keyAscii == replaceFrom)
            keyAscii = replaceWith;
    }
};

} // namespace

TEST(FormLifeCycle, LoadOnceThenActivateOnShow)
{
    DialogScript script;
    LoggingForm form("frmA");
    EXPECT_FALSE(form.isLoaded());
    form.load();
    form.load();
    EXPECT_EQ(form.log, QStringList({"Load"}));
    form.showModeless();
    EXPECT_EQ(form.log, QStringList({"Load", "Activate"}));
    EXPECT_TRUE(form.isVisible());
    // Showing a visible window again only brings it forward.
    form.showModeless();
    EXPECT_EQ(form.log.count("Activate"), 1);
}

TEST(FormLifeCycle, NoActivateAfterMessageBoxOrProgramSwitch)
{
    DialogScript script;
    script.answerMessage(vbOK);
    LoggingForm form("frmA");
    form.showModeless();
    form.log.clear();
    MsgBox("Saved.");
    QApplication::processEvents();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    QApplication::processEvents();
    EXPECT_TRUE(form.log.isEmpty()) << form.log.join(", ").toStdString();
}

TEST(FormLifeCycle, ActivateWhenAWindowItOpenedCloses)
{
    DialogScript script;
    LoggingForm main("frmMain");
    LoggingForm child("frmChild");
    main.showModeless();
    main.log.clear();
    script.onModal("frmChild", [&](QWidget *w) {
        EXPECT_EQ(w, &child);
        EXPECT_TRUE(child.isShownModally());
        EXPECT_TRUE(main.log.isEmpty());
        DialogScript::click(w, "cmdOK");
    });
    child.showModal();
    EXPECT_FALSE(child.isVisible());
    EXPECT_EQ(child.log, QStringList({"Load", "Activate"}));
    // The opener hears of it once the closing code has returned.
    EXPECT_TRUE(main.log.isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(main.log, QStringList({"Activate"}));

    // A modeless child closed from its title bar activates its opener too.
    main.log.clear();
    LoggingForm helper("frmHelper");
    helper.showModeless(&main);
    helper.close();
    QApplication::processEvents();
    EXPECT_EQ(main.log, QStringList({"Activate"}));
    EXPECT_TRUE(helper.isUnloaded());
}

TEST(FormLifeCycle, NestedModalWindowsActivateTheirOwnOpener)
{
    DialogScript script;
    LoggingForm main("frmMain");
    LoggingForm first("frmFirst");
    LoggingForm second("frmSecond");
    main.showModeless();
    script.onModal("frmFirst", [&](QWidget *) {
        first.log.clear();
        main.log.clear();
        second.showModal();
        QApplication::processEvents();
        EXPECT_EQ(first.log, QStringList({"Activate"}));
        EXPECT_TRUE(main.log.isEmpty()) << "the main window is under a modal window";
        first.unload();
    });
    script.onModal("frmSecond", [](QWidget *w) { DialogScript::click(w, "cmdOK"); });
    first.showModal();
    QApplication::processEvents();
    EXPECT_EQ(main.log, QStringList({"Activate"}));
    EXPECT_TRUE(first.isUnloaded());
}

TEST(FormLifeCycle, QueryUnloadCanCancelAClose)
{
    DialogScript script;
    LoggingForm form("frmA");
    form.showModeless();
    form.log.clear();
    form.cancelQuery = true;
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.unload());
    EXPECT_EQ(form.log, QStringList({"QueryUnload 0", "QueryUnload 1"}));
    form.cancelQuery = false;
    form.cancelUnload = true;
    EXPECT_FALSE(form.unload());
    EXPECT_TRUE(form.isLoaded());
    form.cancelUnload = false;
    form.log.clear();
    EXPECT_TRUE(form.unload());
    EXPECT_EQ(form.log, QStringList({"QueryUnload 1", "Unload"}));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.isUnloaded());
    // An unloaded window does not come back by being shown.
    form.showModeless();
    EXPECT_FALSE(form.isVisible());
}

TEST(FormLifeCycle, ClosingAModalWindowFromItsTitleBarEndsTheModalShow)
{
    DialogScript script;
    LoggingForm form("frmA");
    script.onModal("frmA", [](QWidget *w) { w->close(); });
    form.showModal();
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_TRUE(form.log.contains("QueryUnload 0"));
}

TEST(FormLifeCycle, ModalWindowNobodyScriptedFailsAndCloses)
{
    DialogScript script;
    LoggingForm form("frmLost");
    EXPECT_NONFATAL_FAILURE(form.showModal(), "Unscripted modal window frmLost");
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isShownModally());
}

TEST(FormLifeCycle, ModalWindowLeftOpenByTheScriptFailsAndCloses)
{
    DialogScript script;
    LoggingForm form("frmSticky");
    script.onModal("frmSticky", [](QWidget *) {});
    EXPECT_NONFATAL_FAILURE(form.showModal(), "left the modal window frmSticky open");
    EXPECT_FALSE(form.isVisible());
}

TEST(FormKeys, PreviewSeesKeysBeforeTheControl)
{
    DialogScript script;
    LoggingForm form("frmA");
    form.showModeless();
    form.log.clear();
    QTest::keyClicks(form.edit, "a");
    EXPECT_TRUE(form.log.isEmpty()) << "without preview the form does not see its controls' keys";
    EXPECT_EQ(form.edit->text(), "a");

    form.setKeyPreview(true);
    form.replaceFrom = 'b';
    form.replaceWith = 'B';
    form.swallowKey = Qt::Key_Z;
    QTest::keyClicks(form.edit, "bcz");
    EXPECT_EQ(form.edit->text(), "aBc");
    EXPECT_EQ(form.log,
              QStringList({"KeyDown 66", "KeyPress 98", "KeyDown 67", "KeyPress 99", "KeyDown 90"}));

    form.log.clear();
    form.replaceWith = 0;
    QTest::keyClick(form.edit, Qt::Key_B);
    EXPECT_EQ(form.edit->text(), "aBc");
    QTest::keyClick(form.edit, Qt::Key_Left);
    EXPECT_EQ(form.log,
              QStringList({"KeyDown 66", "KeyPress 98", QString("KeyDown %1").arg(int(Qt::Key_Left))}));

    // A key the control ignores reaches the form's handlers once, not again on its way up.
    form.log.clear();
    QTest::keyClick(form.button, Qt::Key_F5);
    EXPECT_EQ(form.log, QStringList({QString("KeyDown %1").arg(int(Qt::Key_F5))}));

    form.setKeyPreview(false);
    form.log.clear();
    QTest::keyClicks(form.edit, "x");
    EXPECT_TRUE(form.log.isEmpty());
}

// Escape presses the window's cancel button as its access key would, the focus moving to it,
// and only a plain Escape that nothing else took does.
TEST(FormKeys, EscapePressesTheCancelButtonOnlyWhenNothingElseTookIt)
{
    DialogScript script;
    struct Case {
        const char *what;
        std::function<void(LoggingForm &)> setUp;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {"plain Escape", [](LoggingForm &) {}, {}},
        {"no cancel button", [](LoggingForm &f) { f.setCancelButton(nullptr); }, {}},
        {"Shift+Escape", [](LoggingForm &) {}, Qt::ShiftModifier},
        {"button disabled", [](LoggingForm &f) { f.button->setEnabled(false); }, {}},
        {"button hidden", [](LoggingForm &f) { f.button->hide(); }, {}},
        {"swallowed", [](LoggingForm &f) { f.setKeyPreview(true), f.swallowKey = Qt::Key_Escape; }, {}},
    };
    for (const Case &c : cases) {
        LoggingForm form("frmA");
        QWidget *focusAtPress = nullptr;
        QObject::connect(form.button, &QPushButton::clicked, &form,
                         [&] { focusAtPress = form.focusWidget(); });
        form.setCancelButton(form.button);
        form.showModeless();
        form.edit->setFocus();
        c.setUp(form);
        QTest::keyClick(form.edit, Qt::Key_Escape, c.modifiers);
        EXPECT_EQ(focusAtPress, &c == cases ? form.button : nullptr) << c.what;
        form.setKeyPreview(false);
    }
}

// An access key moves the focus to its button before the click, as Escape's press does:
// windows that tell their Cancel by the focus act on what the user pressed.
TEST(FormKeys, AnAccessKeyMovesTheFocusToItsButtonBeforeTheClick)
{
    DialogScript script;
    LoggingForm form("frmA");
    form.button->setText("&Go");
    QWidget *focusAtClick = nullptr;
    QObject::connect(form.button, &QPushButton::clicked, &form, [&] { focusAtClick = form.focusWidget(); });
    form.showModeless();
    QApplication::setActiveWindow(&form);
    form.edit->setFocus();
    QTest::keyClick(form.edit, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(focusAtClick, form.button);
    EXPECT_TRUE(form.edit->text().isEmpty());
}

// A command key held down acts once, whichever window the keyboard's repeats reach (its press
// may open or close one), and again after it was let go; a held letter goes on typing.
TEST(FormKeys, AHeldKeyCommandsOncePerPressWhicheverWindowTheRepeatsReach)
{
    DialogScript script;
    enum Effect { Stays, OpensSecond, ClosesSecond };
    const struct {
        Qt::Key key;
        Effect effect;
        int firstClicks, secondClicks;
        const char *typed;
    } cases[] = {{Qt::Key_G, Stays, 2, 0, ""},
                 {Qt::Key_G, OpensSecond, 1, 1, ""},
                 {Qt::Key_G, ClosesSecond, 1, 1, ""},
                 {Qt::Key_Escape, ClosesSecond, 1, 1, ""},
                 {Qt::Key_Q, Stays, 0, 0, "qqqqqqqq"}};
    const auto focusOn = [](LoggingForm &form) {
        form.showModeless();
        QApplication::setActiveWindow(&form);
        form.edit->setFocus();
    };
    for (const auto &c : cases) {
        LoggingForm first("frmFirst"), second("frmSecond");
        int clicks[2] = {0, 0};
        for (LoggingForm *form : {&first, &second}) {
            QObject::disconnect(form->button, nullptr, form, nullptr);
            form->button->setText("&Go");
            form->setCancelButton(form->button);
            QObject::connect(form->button, &QPushButton::clicked, form, [&, form] {
                ++clicks[form == &second];
                if (c.effect == OpensSecond && form == &first)
                    focusOn(second);
                if (c.effect == ClosesSecond && form == &second)
                    second.hide(), focusOn(first);
            });
        }
        focusOn(first);
        if (c.effect == ClosesSecond)
            focusOn(second);
        const auto modifiers = c.key == Qt::Key_G ? Qt::AltModifier : Qt::NoModifier;
        const QString text = c.key == Qt::Key_Escape ? "\x1b" : QKeySequence(c.key).toString().toLower();
        // Two holds: a press, the keyboard's repeats, the release.
        for (const char step : std::string("PRRRUPRRRU"))
            QTest::simulateEvent(QApplication::focusWidget(), step != 'U', c.key, modifiers, text,
                                 step == 'R');
        EXPECT_EQ(clicks[0], c.firstClicks) << c.key << c.effect;
        EXPECT_EQ(clicks[1], c.secondClicks) << c.key << c.effect;
        EXPECT_EQ(first.edit->text() + second.edit->text(), c.typed) << c.key << c.effect;
    }
}

// The keyboard's repeat may come as a release and a press of one instant, neither marked as
// repeated: it goes on with the hold. A press a moment after a release is a press of its own.
TEST(FormKeys, AReleaseAndAPressOfOneInstantAreARepeat)
{
    DialogScript script;
    for (const Qt::Key key : {Qt::Key_G, Qt::Key_Q}) {
        LoggingForm form("frmA");
        form.setKeyPreview(true);
        form.showModeless();
        form.edit->setFocus();
        const bool access = key == Qt::Key_G;
        const quint64 times[] = {100, 760, 760, 800, 801, 900};
        for (int i = 0; i < 6; ++i) {
            QKeyEvent event(i % 2 ? QEvent::KeyRelease : QEvent::KeyPress, key,
                            access ? Qt::AltModifier : Qt::NoModifier, 38, key, 0, access ? "g" : "q");
            event.setTimestamp(times[i]);
            QApplication::sendEvent(form.edit, &event);
        }
        EXPECT_EQ(form.log.filter("KeyDown").size(), access ? 2 : 3) << key;
        EXPECT_EQ(form.edit->text(), access ? "" : "qqq") << key;
    }
}

// A held Space clicks its button once, whether the keyboard marks its repeats or sends each
// as a release and a press of one instant; the Enter after it (Return, or the keypad's) acts
// in the window the click opened, Enter on a focused button clicking it.
TEST(FormKeys, AHeldSpaceClicksOnceAndTheNextEnterActs)
{
    DialogScript script;
    for (const auto &[marked, opens] : {std::pair{true, true}, {false, true}, {true, false}, {false, false}}) {
        LoggingForm form("frmA"), dialog("frmDialog");
        int clicks = 0, dialogClicks = 0;
        const Qt::Key enter = marked ? Qt::Key_Return : Qt::Key_Enter;
        using Key = std::tuple<QEvent::Type, Qt::Key, quint64, bool>;
        std::vector<Key> keys{{QEvent::KeyPress, Qt::Key_Space, 100, false}};
        for (quint64 time = 600; time < 1500; time += 40)
            keys.insert(keys.end(), {{QEvent::KeyRelease, Qt::Key_Space, time, marked},
                                     {QEvent::KeyPress, Qt::Key_Space, time, marked}});
        keys.insert(keys.end(), {{QEvent::KeyRelease, Qt::Key_Space, 1500, false},
                                 {QEvent::KeyPress, enter, 3000, false},
                                 {QEvent::KeyPress, enter, 3050, true},
                                 {QEvent::KeyRelease, enter, 3100, false}});
        // Each key goes where the window system sends it: the window that has the focus.
        std::size_t sent = 0;
        const auto sendRest = [&] {
            while (sent < keys.size()) {
                const auto [type, code, time, repeat] = keys[sent++];
                const bool space = code == Qt::Key_Space;
                QKeyEvent event(type, code, code == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier,
                                space ? 65 : 36, code, 0, space ? " " : "\r", repeat);
                event.setTimestamp(time);
                QWidget *focus = QApplication::focusWidget();
                QApplication::sendEvent((focus ? focus->window() : &form)->windowHandle(), &event);
            }
        };
        QObject::disconnect(form.button, nullptr, &form, nullptr);
        QObject::connect(form.button, &QPushButton::clicked, &form, [&] {
            if (++clicks == 1 && opens)
                dialog.showModal(&form);
        });
        QObject::connect(dialog.button, &QPushButton::clicked, &dialog, [&] { ++dialogClicks; });
        if (opens)
            script.onModal("frmDialog", [&](QWidget *) {
                QApplication::setActiveWindow(&dialog);
                dialog.button->setFocus();
                sendRest();
            });
        form.showModeless();
        QApplication::setActiveWindow(&form);
        form.button->setFocus();
        sendRest();
        EXPECT_EQ(clicks, opens ? 1 : 2) << marked << opens;
        EXPECT_EQ(dialogClicks, opens ? 1 : 0) << marked << opens;
    }
}

TEST(FormKeys, DisabledFormSeesNoKeys)
{
    DialogScript script;
    LoggingForm form("frmA");
    form.setKeyPreview(true);
    form.showModeless();
    form.setEnabled(false);
    form.log.clear();
    QTest::keyClicks(form.edit, "q");
    EXPECT_TRUE(form.log.isEmpty());
}

namespace {
class CountedForm : public Form {
  public:
    CountedForm() { ++made; }
    static int made;
    static CountedForm &instance()
    {
        static QPointer<CountedForm> form;
        return instanceOf(form);
    }
};
int CountedForm::made = 0;
} // namespace

TEST(FormInstance, OneWindowUntilItIsUnloaded)
{
    CountedForm &first = CountedForm::instance();
    EXPECT_TRUE(first.isLoaded());
    EXPECT_EQ(&CountedForm::instance(), &first);
    EXPECT_EQ(CountedForm::made, 1);
    first.setWindowTitle("changed");
    first.unload();
    CountedForm &second = CountedForm::instance();
    EXPECT_EQ(CountedForm::made, 2);
    EXPECT_TRUE(second.isLoaded());
    EXPECT_EQ(second.windowTitle(), "");
    second.unload();
}

namespace {
// A window whose load or activation fails while `failing` names that step.
class FailingForm : public LoggingForm {
  public:
    FailingForm() : LoggingForm("frmFailing") { ++made; }
    static inline int made = 0;
    static inline QString failing;

  protected:
    void Form_Load() override { step("Load"); }
    void Form_Activate() override { step("Activate"); }
    void step(const QString &name)
    {
        log << name;
        if (failing == name)
            throw RuntimeError(3078, name + " failed.");
    }
};
} // namespace

TEST(FormFailure, AWindowWhoseLoadOrActivationFailsIsUnloadedAndTheNextOpeningMakesItAfresh)
{
    static QPointer<FailingForm> slot;
    for (const char *step : {"Load", "Load", "Activate"}) {
        FailingForm::failing = step;
        const int made = FailingForm::made;
        EXPECT_RUNTIME_ERROR(instanceOf(slot).showModal(), 3078);
        EXPECT_EQ(FailingForm::made, made + 1);
        EXPECT_TRUE(slot->isUnloaded());
        EXPECT_FALSE(slot->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // A failed activation unloads the window without a question that could keep it open.
    EXPECT_EQ(slot->log, QStringList({"Load", "Activate", "Unload"}));
    FailingForm::failing.clear();
}

namespace {
// Three boxes whose tab order runs against the order they were made in (third, second,
// first), and an OK button last; a window's own focus choice can be played at load or at
// activation.
class FocusForm : public Form {
  public:
    FocusForm()
    {
        setObjectName("frmFocus");
        for (const char *name : {"txtFirst", "txtSecond", "txtThird"}) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(name);
            boxes << edit;
        }
        button = new QPushButton("OK", this);
        setTabOrder(boxes[2], boxes[1]);
        setTabOrder(boxes[1], boxes[0]);
        setTabOrder(boxes[0], button);
    }
    QWidget *chosenAtLoad = nullptr;
    QWidget *chosenAtActivate = nullptr;
    QList<QLineEdit *> boxes;
    QPushButton *button;

  protected:
    void Form_Load() override
    {
        if (chosenAtLoad)
            chosenAtLoad->setFocus();
    }
    void Form_Activate() override
    {
        if (chosenAtActivate)
            chosenAtActivate->setFocus();
    }
};
} // namespace

TEST(FormFocus, AWindowOpensOnTheFirstControlOfItsTabOrderUnlessItChoseOne)
{
    struct Case {
        const char *what;
        std::function<void(FocusForm &)> prepare;
        const char *expected;
    };
    const Case cases[] = {
        {"nothing chosen", [](FocusForm &) {}, "txtThird"},
        {"first disabled", [](FocusForm &f) { f.boxes[2]->setEnabled(false); }, "txtSecond"},
        {"first hidden", [](FocusForm &f) { f.boxes[2]->hide(); }, "txtSecond"},
        {"first takes no tab", [](FocusForm &f) { f.boxes[2]->setFocusPolicy(Qt::ClickFocus); }, "txtSecond"},
        {"chosen at load", [](FocusForm &f) { f.chosenAtLoad = f.boxes[0]; }, "txtFirst"},
        {"chosen at activation", [](FocusForm &f) { f.chosenAtActivate = f.button; }, "OK"},
    };
    for (const Case &c : cases) {
        DialogScript script;
        FocusForm form;
        c.prepare(form);
        form.showModeless();
        QWidget *focused = form.focusWidget();
        ASSERT_NE(focused, nullptr) << c.what;
        const QString name = focused == form.button ? QStringLiteral("OK") : focused->objectName();
        EXPECT_EQ(name, c.expected) << c.what;
    }
}

TEST(FormFocus, AModalWindowHasItsFirstControlFocusedWhenTheUserMeetsIt)
{
    DialogScript script;
    FocusForm form;
    QString focusedWhenShown;
    script.onModal("frmFocus", [&](QWidget *w) {
        focusedWhenShown = w->focusWidget() ? w->focusWidget()->objectName() : QString();
        w->hide();
    });
    form.showModal();
    EXPECT_EQ(focusedWhenShown, "txtThird");
}

TEST(FormFocus, AWindowWithNoControlThatTakesTheFocusOpensAsBefore)
{
    DialogScript script;
    Form form;
    auto *label = new QPushButton("no tab", &form);
    label->setFocusPolicy(Qt::NoFocus);
    form.showModeless();
    EXPECT_EQ(form.focusWidget(), nullptr);
}
