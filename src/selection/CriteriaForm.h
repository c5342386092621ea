#pragma once

#include "platform/ui/Form.h"

#include <QPointer>
#include <QString>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// What the filter window keeps between its openings.
struct CriteriaState {
    // Criteria the filter window left in its box; put back when it opens again.
    QString gLastCriteria;
    // The main list's record source when the filter window opened; put back when a filter
    // finds nothing or fails.
    QString gSavedRecordSource;

    // Back to the values the program starts with.
    void reset();
};
extern CriteriaState gCriteria;

// The filter window: a condition typed in the database's own query language narrows the
// main list (and the category it shows); conditions are kept as named saved filters.
class CriteriaForm : public platform::Form {
    Q_OBJECT
  public:
    static CriteriaForm &instance();
    static void open();

    CriteriaForm();
    ~CriteriaForm() override;

    QLabel *lblCriteria;
    QPlainTextEdit *txtCriteria;
    QLabel *lblFieldNames;
    QListWidget *listFieldNames;
    QLabel *lblSavedFilters;
    QListWidget *listFilters;
    QPushButton *cmdApplyCriteria;
    QPushButton *cmdShowAll;
    QPushButton *cmdSaveFilter;
    QPushButton *cmdRenameFilter;
    QPushButton *cmdDeleteFilter;
    QPushButton *cmdExit;

    void cmdApplyCriteria_Click();
    void cmdShowAll_Click();
    void cmdSaveFilter_Click();
    void cmdRenameFilter_Click();
    void cmdDeleteFilter_Click();
    void cmdExit_Click();
    void listFilters_Click();
    void listFieldNames_DblClick();
    void listFieldNames_KeyPress(int &KeyAscii);
    void txtCriteria_KeyPress(int &KeyAscii);
    void txtCriteria_Change();

  protected:
    void Form_Load() override;
    void Form_Activate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // The filter name as stored: trimmed, at most 50 characters (told when cut), and
    // every apostrophe the character of code 180. Empty when nothing was typed.
    QString storedFilterName(const QString &answer);
    QString chosenFilter() const;

    bool mChangingList = false;
};
