#pragma once

#include "platform/ui/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The window of InputDialog: a prompt, one line of input, OK and Cancel.
class InputForm : public platform::Form {
    Q_OBJECT
  public:
    InputForm();

    static InputForm &instance();
    static void unloadIfLoaded();

    QLabel *lblMessage;
    QLineEdit *txtInput;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();
    void txtInput_Click();

  protected:
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    static QPointer<InputForm> &slot();
};
