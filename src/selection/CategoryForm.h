#pragma once

#include "helpers/MouseWheelWindow.h"
#include "platform/ui/Form.h"

#include <QPointer>

class QCheckBox;
class QPushButton;
class QTableView;

namespace platform {
class DataControl;
class DataGrid;
class Recordset;
} // namespace platform

// The list of categories: keeps it (add, change, delete) and decides whether the main
// list shows one category or all contacts. Opened modally from the main window.
class CategoryForm : public platform::Form, public MouseWheelWindow {
    Q_OBJECT
  public:
    static CategoryForm &instance();
    // Loads a fresh window, shows it modally and returns when it has closed.
    static void open();

    CategoryForm();
    ~CategoryForm() override;

    platform::DataControl *CatgData;
    QTableView *CatgGrid;
    platform::DataGrid *CatgGridBinding;
    QPushButton *cmdAdd;
    QPushButton *cmdChange;
    QPushButton *cmdDelete;
    QPushButton *cmdSelected;
    QPushButton *cmdShowAll;
    QPushButton *cmdExit;
    QCheckBox *cbDefaultCatg;

    void cmdAdd_Click();
    void cmdChange_Click();
    void cmdDelete_Click();
    void cmdSelected_Click();
    void cmdShowAll_Click();
    void cmdExit_Click();
    void cbDefaultCatg_Click();
    void CatgGrid_DblClick();
    void CatgGrid_KeyPress(int &KeyAscii);
    void CatgGrid_KeyUp(int KeyCode);

    void MouseWheel(int MouseKeys, int Rotation, int Xpos, int Ypos) override;

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    platform::Recordset *list() const;
    // Lines the list up with the category the main window shows, or shows all contacts
    // when there is none of that description.
    void lineUpWithMainList();

    bool mWheelHooked = false;
    bool mActivated = false;
};
