#pragma once

#include <QObject>
#include <QString>

class MainControls;
class NameList;

// Commands that choose which contacts the list shows and in what order: all of them, the
// marked ones or the others, a category, a filter or a find, and the sort box.
class ListViewCommands : public QObject {
    Q_OBJECT
  public:
    explicit ListViewCommands(NameList &window);

    void ShowAllMenu_Click();
    // Every contact in the list, as Show All shows them, leaving the CATEGORY row alone.
    void showAllContacts();
    void ShowSelectedOnlyMenu_Click();
    void HideSelectedMenu_Click();
    void RemoveSelectionsMenu_Click();
    void DisplayRecCntMenu_Click();
    void cmdShowAll_Click();
    void cmdShowSelected_Click();
    void cmbSort_Click();
    // The sort box's choice stored and put in force as cmbSort_Click does, leaving the list
    // closed: at start-up the list first opens once the view it shows is known.
    void restoreSortChoice();
    void Category_Click();
    void SelectionCriteria_Click();
    void FindEditMenu_Click();
    void AssignCatgMenu_Click();
    void AssignAllToCatg_Click();

  private:
    void storeSortChoice(const QString &choice);
    void sortByChoice(bool reopenList);

    NameList &mWindow;
    MainControls &mUi;
    QString mChoiceInForce; // the sort box entry the list is sorted by
};
