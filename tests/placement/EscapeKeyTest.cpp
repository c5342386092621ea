#include "selection/SelectionFixture.h"

#include <QLineEdit>
#include <gmock/gmock.h>

namespace {

class EscapeKeyTest : public SelectionFixture {
  protected:
    // Escape as the keyboard sends it: to the control that has the focus.
    static void pressEscape(QWidget *form)
    {
        QWidget *at = form->focusWidget() ? form->focusWidget() : form;
        QTest::keyClick(at, Qt::Key_Escape);
    }

    static void type(QWidget *form, const char *box, const QString &text)
    {
        QWidget *control = form->findChild<QWidget *>(QString::fromLatin1(box));
        ASSERT_NE(control, nullptr) << box;
        control->setFocus();
        QTest::keyClick(control, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(control, text);
    }
};

// Every window with a Cancel or Exit button closes on Escape from where its focus opens, as
// that button closes it; a window whose button asks first asks the same question.
TEST_F(EscapeKeyTest, EscapeIsTheCancelOrExitButtonOfEveryWindow)
{
    NameList &w = startWithContacts();
    gDb->execute("INSERT INTO tblRemind (Description, RemindDate, WarnDate, Status, FrequencyPeriod) VALUES "
                 "('Dentist', #3/20/2026#, #3/20/2026#, 'Active', 'One time')");
    gDb->execute("INSERT INTO tblCurrentReminders (Description, Notes) VALUES ('Dentist', 'Bring a card')");
    gDb->execute("INSERT INTO tblSettings (Type, Name, Setting8) VALUES ('NOTE', 'Shopping', 'Bread')");
    std::vector<std::string> closed;
    const auto escapeCloses = [&](QWidget *form) {
        pressEscape(form);
        if (!form->isVisible())
            closed.push_back(form->objectName().toStdString());
    };
    struct Case {
        const char *window;
        const char *command;
        std::function<void(QWidget *)> keys; // what the user does, Escape included
    };
    const std::vector<Case> cases = {
        // The memo pad's Cancel asks before a change is lost: No keeps the window and the change.
        {"MemoForm", "cmdNotes",
         [&](QWidget *f) {
             type(f, "txtNotes", "and milk");
             script.answerMessage(platform::vbNo);
             pressEscape(f);
             EXPECT_TRUE(f->isVisible());
             script.answerMessage(platform::vbYes);
             escapeCloses(f);
         }},
        // The reminder window's Cancel first undoes a pending change, and closes only then.
        {"Remind", "cmdRemind",
         [&](QWidget *f) {
             type(f, "txtDescr", " at nine");
             pressEscape(f);
             EXPECT_EQ(f->findChild<QLineEdit *>("txtDescr")->text(), "Dentist");
             EXPECT_TRUE(f->isVisible());
             escapeCloses(f);
         }},
        {"CurrentReminders", "CurrentReminders", escapeCloses},
        {"CriteriaForm", "cmdFilter", escapeCloses},
        {"ReturnAddress", "ReturnAddressMenu", escapeCloses},
        {"DialingForm", "cmdDial", escapeCloses},
        {"CategoryForm", "cmdCategory", escapeCloses},
        {"CategoryAssign", "cmdAssignCatg", escapeCloses},
        {"CatgAssignAll", "AssignAllToCatg", escapeCloses},
        {"ReportOptionsForm", "ReportOptionsMenu", escapeCloses},
        {"CommSettingsForm", "ModemPortMenu", escapeCloses},
        {"About", "AboutBox", escapeCloses},
    };
    for (const Case &c : cases) {
        script.onModal(c.window, c.keys);
        w.dispatch(c.command);
    }
    EXPECT_THAT(closed,
                ::testing::ElementsAre("MemoForm", "Remind", "CurrentReminders", "CriteriaForm",
                                       "ReturnAddress", "DialingForm", "CategoryForm", "CategoryAssign",
                                       "CatgAssignAll", "ReportOptionsForm", "CommSettingsForm", "About"));
    EXPECT_THAT(messages(), ::testing::ElementsAre("Lose any changes?", "Lose any changes?"));
    EXPECT_EQ(settingName("LASTNOTE"), "0");
    auto note = gDb->openRecordset("Select Setting8 from tblSettings Where Type='NOTE'");
    EXPECT_EQ(note->value(0).toString(), "Bread");
    auto reminder = gDb->openRecordset("Select Description from tblRemind");
    EXPECT_EQ(reminder->value(0).toString(), "Dentist");
    EXPECT_EQ(script.pending(), 0u);
}

} // namespace
