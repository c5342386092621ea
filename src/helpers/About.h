#pragma once

#include "platform/ui/Form.h"

class QLabel;
class QPushButton;

// Tells the program's version and maker; shown modally from the main window's menu.
class About : public platform::Form {
    Q_OBJECT
  public:
    About();

    static About &instance();

    QLabel *Image1;
    QLabel *Label1;
    QLabel *lblAuthorInfo;
    QPushButton *Command1;

    void Command1_Click();

  protected:
    void Form_Load() override;
};
