#pragma once

#include "platform/ui/Form.h"

class QLabel;
class QPushButton;

// A heading and a body text that the caller fills before showing the window modally.
class frmHelp : public platform::Form {
    Q_OBJECT
  public:
    frmHelp();

    static frmHelp &instance();

    QLabel *lblHeading1;
    QLabel *lblBody1;
    QPushButton *OKButton;

    void OKButton_Click();

  protected:
    void Form_Load() override;
};
