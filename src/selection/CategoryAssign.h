#pragma once

#include "platform/ui/Form.h"

#include <QPointer>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace platform {
class DataControl;
class DataGrid;
class Recordset;
} // namespace platform

// Opens the categories of the main list's current contact, or tells that no contact is
// displayed. The main window's Assign command and the editor's Categories button call it.
void ShowCategoryAssign();

// The categories of one contact: every category on the left, the contact's own on the
// right; an arrow or a double-click adds or removes the link.
class CategoryAssign : public platform::Form {
    Q_OBJECT
  public:
    static CategoryAssign &instance();

    CategoryAssign();
    ~CategoryAssign() override;

    platform::DataControl *CatgData;
    QTableView *CatgGrid;
    platform::DataGrid *CatgGridBinding;
    platform::DataControl *CatgIdData;
    QTableView *CatgIdGrid;
    platform::DataGrid *CatgIdGridBinding;
    QLabel *lblName;
    QLabel *lblOrganization;
    QPushButton *cmdRtArrow;
    QPushButton *cmdLfArrow;
    QPushButton *cmdAdd;
    QPushButton *cmdChange;
    QPushButton *cmdExit;
    QCheckBox *cbAssignCatgOnAdd;

    void CatgGrid_DblClick();
    void cmdRtArrow_Click();
    void CatgIdGrid_DblClick();
    void cmdLfArrow_Click();
    void cmdAdd_Click();
    void cmdChange_Click();
    void cbAssignCatgOnAdd_Click();
    void cmdExit_Click();

  protected:
    void Form_Load() override;

  private:
    void fitListsToColumns();
    void reportLinkError(int number, const QString &description);

    qint64 mContactID = 0;
};
