#pragma once

#include "platform/ui/Form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Where each printed layout starts and in which font, edited one report per opening:
// the user picks a report from the list, changes its values, and saves them (or puts
// the standard values in the boxes first). Modal; both exit buttons unload it.
class ReportOptionsForm : public platform::Form {
    Q_OBJECT
  public:
    ReportOptionsForm();

    static ReportOptionsForm &instance();

    QLabel *lblReports;
    QListWidget *lbReports;
    QLabel *lblInstructions;
    QLabel *lblXStart;
    QLineEdit *txtXStart;
    QLabel *lblYStart;
    QLineEdit *txtYStart;
    QLabel *lblFonts;
    QComboBox *cmbFonts;
    QLabel *lblFontSize;
    QLineEdit *txtFontSize;
    QLabel *lblTwipsPerInch;
    QCheckBox *cbAlternatePrint;
    QCheckBox *cbPrintLastNameFirst;
    QLabel *lblOrientation;
    QGroupBox *Frame1;
    QRadioButton *OptionPortrait;
    QRadioButton *OptionLandscape;
    QPushButton *cmdReset;
    QPushButton *cmdSave;
    QPushButton *cmdExit;

    // The report chosen from the list; empty until one is.
    QString chosenReport() const { return mChosen; }

    void lbReports_Click();
    void cmdReset_Click();
    void cmdSave_Click();
    void cmdExit_Click();

  protected:
    void Form_Load() override;

  private:
    void showChosen();
    // False, with a message and the focus on the box, when a typed value would not do.
    bool valuesAreValid();
    void store();

    QString mChosen;
};
