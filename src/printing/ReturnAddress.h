#pragma once

#include "platform/ui/Form.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Return Address": the two return addresses the envelopes can print and the choice
// between them (or none), kept in the RETURNADDRESS1, RETURNADDRESS2 and
// RETURNADDRESSCHOICE settings rows and saved together.
class ReturnAddress : public platform::Form {
    Q_OBJECT
  public:
    ReturnAddress();

    // From the Options menu: modal, returns once the window is closed.
    static void showFromMenu();
    // From the envelope window: modeless; the envelope window waits, disabled, until this
    // one closes.
    static ReturnAddress *showFromEnvelope(QWidget *envelopeWindow);

    // The choice stored as text: "1" or "2" after trimming picks that address, anything
    // else none.
    static int choiceFrom(const QString &stored);

    void cmdSave_Click();
    void cmdCancel_Click();

  protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

  private:
    QLineEdit *addBox(const QString &name, int left, int top, int width, int height);
    void fillGroup(const QString &group, int row);
    void saveGroup(const QString &group, int row);

    QGroupBox *Frame1;
    QRadioButton *rbFirst;
    QRadioButton *rbSecond;
    QRadioButton *rbNone;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QPointer<QWidget> mEnvelopeWindow;
};
