#pragma once

#include "platform/ui/Form.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace platform {
class Database;
class DataControl;
class DataGrid;
} // namespace platform

// The reminders that are due, as the last rebuild of the due list collected them. Removing
// one tells the program the user has been reminded: a one-time reminder is deleted, a
// recurring one moves on by one period, and its row leaves the list.
class CurrentReminders : public platform::Form {
    Q_OBJECT
  public:
    // Shows the window modally and returns once it is unloaded.
    static void open(platform::Database &db);

    explicit CurrentReminders(platform::Database &db);
    ~CurrentReminders() override;

    platform::DataControl *Data1;
    QTableView *DBGrid1 = nullptr;
    platform::DataGrid *DBGrid1Binding;
    QPlainTextEdit *txtNotes;
    QLabel *lblName;
    QLabel *lblOrganization;
    QPushButton *cmdDelete;
    QPushButton *cmdExit;

    void Data1_Reposition();
    void cmdDelete_Click();
    void cmdExit_Click();
    // The grid's own row delete: the due row goes, its reminder stays as it is.
    void deleteGridRow();

  protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    platform::Database &mDb;
};
