#pragma once

#include "platform/ui/Form.h"

#include <QPointer>

class QPushButton;
class QTableView;

namespace platform {
class DataControl;
class DataGrid;
} // namespace platform

// Files every contact the main list displays into one category, or takes them all out
// of it, and counts what was done.
class CatgAssignAll : public platform::Form {
    Q_OBJECT
  public:
    static CatgAssignAll &instance();
    // Shows the window modally; with no contact displayed it says so and opens nothing.
    static void open();

    CatgAssignAll();
    ~CatgAssignAll() override;

    platform::DataControl *CatgData;
    QTableView *CatgGrid;
    platform::DataGrid *CatgGridBinding;
    QPushButton *cmdAssign;
    QPushButton *cmdDelete;
    QPushButton *cmdExit;

    void cmdAssign_Click();
    void cmdDelete_Click();
    void cmdExit_Click();

  protected:
    void Form_Load() override;

  private:
    bool confirm(bool assign);
    // Adds or removes the chosen category's link for every displayed contact: all of them,
    // or none when one fails.
    void walk(bool assign);
};
