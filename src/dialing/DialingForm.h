#pragma once

#include "dialing/PhoneSource.h"
#include "platform/ui/Form.h"

class QListWidget;
class QPushButton;

namespace platform {
class Comm;
}

// "Dial the Phone": the six phones of one contact, and the chosen one sent to the modem
// with the user's dialling prefix; the modem hangs up once the user has the handset.
class DialingForm : public platform::Form {
    Q_OBJECT
  public:
    explicit DialingForm(PhoneSource source);
    ~DialingForm() override;

    // Opens the window modally over the given phones and returns once it is closed.
    static void open(const PhoneSource &source);
    // Lets the editor's phone image open this window over the editor's boxes.
    static void installEditorHook();

    // One line of the list: the trimmed description padded with blanks to 21 characters
    // (never cut), then the trimmed number.
    static QString phoneLine(const QVariant &description, const QVariant &number);

    void cmdDial_Click();
    void lbPhoneChoice_DblClick() { cmdDial_Click(); }
    void cmdExit_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

  private:
    void setControlsEnabled(bool enabled);
    // Gives the message loop a turn per pass until a second has gone by.
    static void waitOneSecond();

    PhoneSource mSource;
    QListWidget *lbPhoneChoice;
    QPushButton *cmdDial;
    QPushButton *cmdExit;
    platform::Comm *Comm1;
    bool mHangingUp = false;
};
