#include "ReminderFixture.h"

#include "app/modMain.h"
#include "editor/GLOBAL.h"
#include "mainwindow/NameList.h"
#include "platform/db/DataControl.h"
#include "platform/ui/DateText.h"
#include "platform/ui/MsgBox.h"
#include "reminders/Remind.h"
#include "support/DialogScript.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>

namespace {

class RemindWindowTest : public ReminderFixture {
  protected:
    RemindWindowTest() { gReminderStartup = 0; }

    // Opens the window as the main list or the editor does and runs `action` on it while it
    // is shown; the action closes it, or the script does.
    void run(std::function<void(Remind &)> action, const std::optional<EditedContact> &contact = std::nullopt)
    {
        script.onModal("Remind", [action](QWidget *w) { action(*static_cast<Remind *>(w)); });
        Remind::open(db(), contact);
    }
    static bool adding(Remind &w)
    {
        return w.DBGrid1->isHidden() && !w.cmdAdd->isEnabled() && !w.cmdDelete->isEnabled() &&
               !w.cmdViewCurrent->isEnabled() && !w.cmdExit->isEnabled() && w.cmdSave->isEnabled() &&
               w.cmdCancel->isEnabled();
    }
    static bool browsing(Remind &w)
    {
        return !w.DBGrid1->isHidden() && w.DBGrid1->isEnabled() && w.cmdAdd->isEnabled() &&
               w.cmdDelete->isEnabled() && w.cmdViewCurrent->isEnabled() && w.cmdExit->isEnabled() &&
               w.cmdSave->isEnabled() && w.cmdCancel->isEnabled();
    }

    DialogScript script;
};

TEST_F(RemindWindowTest, OpeningWithNoRemindersStartsANewOneAtOnce)
{
    run([](Remind &w) {
        EXPECT_TRUE(adding(w));
        EXPECT_EQ(w.cmbFreqPeriod->currentText(), "One time");
        EXPECT_EQ(w.txtRemindDate->text(), "3/1/2026");
        EXPECT_EQ(w.txtWarningDays->text(), "0");
        EXPECT_EQ(w.cmbStatus->currentText(), "Active");
        EXPECT_TRUE(w.txtFreqAmt->isHidden());
        EXPECT_EQ(w.lblTodaysDate->text(), "Today's date is 3/1/2026");
        w.txtDescr->setText("Dentist");
        w.txtRemindDate->setText("3/20/2026");
        w.txtWarningDays->setText("5");
        w.cmdSave->click();
        EXPECT_TRUE(browsing(w));
        w.cmdExit->click();
    });
    auto rs = db().openRecordset("tblRemind");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->value("Description").toString(), "Dentist");
    EXPECT_EQ(rs->value("RemindDate").toDate(), QDate(2026, 3, 20));
    EXPECT_EQ(rs->value("WarnDate").toDate(), QDate(2026, 3, 15));
    EXPECT_EQ(rs->value("LinkedRecordID").toInt(), 0);
    EXPECT_EQ(rs->value("Status").toString(), "Active");
    EXPECT_EQ(rs->value("FrequencyPeriod").toString(), "One time");
}

} // namespace
