#pragma once

#include "platform/ui/Form.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Modem Communications Settings": the serial port of the modem and the dialling prefix,
// kept in the COMMSETTINGS settings row.
class CommSettingsForm : public platform::Form {
    Q_OBJECT
  public:
    CommSettingsForm();

    // Opens the window modally and returns once it is closed.
    static void open();

    void cmdSave_Click();
    void cmdCancel_Click();

  protected:
    void Form_Load() override;

  private:
    QLabel *lblCommPort;
    QListWidget *lbCommPort;
    QLabel *Label1;
    QLineEdit *txtDialingPrefix;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
};
