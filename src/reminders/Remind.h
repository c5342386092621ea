#pragma once

#include "platform/db/Bookmark.h"
#include "platform/ui/Form.h"
#include "reminders/EditedContact.h"

#include <optional>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace platform {
class Database;
class DataControl;
class DataGrid;
class Recordset;
} // namespace platform

// The reminder window: every reminder in a grid, the current one in boxes that are not bound
// to it (the window copies values both ways itself), and the commands that add, save, undo,
// delete and show the due list. From the main list it works on all reminders and links new
// ones to no contact; from the editor (`contact` given) it starts a reminder for the edited
// contact at once, prefilled as an anniversary of the editor's last valid date.
class Remind : public platform::Form {
    Q_OBJECT
  public:
    // Shows the window modally and returns once it is unloaded.
    static void open(platform::Database &db, const std::optional<EditedContact> &contact = std::nullopt);

    Remind(platform::Database &db, const std::optional<EditedContact> &contact);
    ~Remind() override;

    platform::DataControl *Data1;
    QTableView *DBGrid1 = nullptr;
    platform::DataGrid *DBGrid1Binding;
    QLabel *Label1;
    QCalendarWidget *Calendar1;
    QLabel *lblDescr;
    QLineEdit *txtDescr;
    QLabel *lblDate;
    QLineEdit *txtRemindDate;
    QLabel *lblWarnme;
    QLineEdit *txtWarningDays;
    QLabel *lblInAdvance;
    QLabel *lblStatus;
    QComboBox *cmbStatus;
    QLabel *lblFreqPeriod;
    QComboBox *cmbFreqPeriod;
    QLabel *lblFreqAmt;
    QLineEdit *txtFreqAmt;
    QLabel *lblNotes;
    QPlainTextEdit *txtNotes;
    QLineEdit *txtLinkedRecordID;
    QLabel *lblName;
    QLabel *lblOrganization;
    QLabel *lblTodaysDate;
    QCheckBox *cbDisplayRemind;
    QPushButton *cmdAdd;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QPushButton *cmdDelete;
    QPushButton *cmdViewCurrent;
    QPushButton *cmdExit;

    // True when the boxes hold a reminder that may be saved; otherwise the user has been
    // told what is wrong and the focus is on the box at fault.
    bool SaveEdits();
    bool HasPendingChanges();

    void cmdAdd_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdViewCurrent_Click();
    void cmdExit_Click();
    void cbDisplayRemind_Click();
    void cmbFreqPeriod_Click();
    void txtRemindDate_Change();
    void Calendar1_Click();
    void Calendar1_DblClick();
    void Data1_Reposition();
    void DBGrid1_RowColChange();
    // A button pressed on the grid, or a key that can move it, before it changes row; false
    // when the press is refused.
    bool DBGrid1_MouseDown();
    void Form_Click();

    // The key of the reminder this window saved last (the editor's own key is not touched).
    qint64 lastSavedReminderID() const { return mLastSavedReminderID; }

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool &cancel, int unloadMode) override;
    void Form_Unload(bool &cancel) override;
    void Form_KeyPress(int &keyAscii) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    platform::Recordset *rows() const;
    bool hasRows() const;
    bool saveIfPending();
    bool focusIs(const QWidget *widget) const;
    void setPeriod(const QString &period);
    void showAmountFor(const QString &period);
    void setCommandsEnabled(bool enabled);
    void fillBoxesFromRow();
    // On a file that cannot be written.
    void openForLooking();
    // Tells, once, that no reminder can be added; true when the window closed for want of
    // reminders to look at.
    bool refuseNewReminder();

    platform::Database &mDb;
    std::optional<EditedContact> mContact;
    bool mFromEditor = false;
    bool mFillingBoxes = false;
    bool mToldReadOnly = false;
    qint64 mLastSavedReminderID = 0;
    platform::Bookmark mRowBookmark; // the row last copied into the boxes
};
