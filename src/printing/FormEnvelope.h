#pragma once

#include "platform/ui/Form.h"

#include <QPointer>
#include <QtGlobal>
#include <memory>

class DisplayedRecords;
class QLabel;
class QPushButton;
class ReturnAddress;

// Draws one envelope per page: Which 1 for the current record, 2 for every displayed
// record; anything else draws nothing. Each envelope has the chosen return address at
// its REPORT position and font, and the contact's mailing address at its own.
void PrintEnvelopes(DisplayedRecords &Records, int Which);

// "Envelope Printing Confirmation": the current record or all displayed records, and
// the way to the return addresses. Shown modeless while the main window waits, disabled.
class FormEnvelope : public platform::Form {
    Q_OBJECT
  public:
    // records: the main window's displayed records, kept for the window's life.
    FormEnvelope(std::unique_ptr<DisplayedRecords> records, QWidget *mainWindow);
    ~FormEnvelope() override;

    // Disables the main window and shows the window without waiting.
    static FormEnvelope *open(std::unique_ptr<DisplayedRecords> records, QWidget *mainWindow);

    void cmdCurrent_Click();
    void cmdAll_Click();
    void cmdReturnAddress_Click();
    void cmdCancel_Click();

  protected:
    void Form_Load() override;
    void Form_QueryUnload(bool &cancel, int unloadMode) override;
    void Form_Unload(bool &cancel) override;

  private:
    void print(int which);

    std::unique_ptr<DisplayedRecords> mRecords;
    QPointer<QWidget> mMainWindow;
    QPointer<ReturnAddress> mReturnAddress; // the return address window it opened
    QLabel *lblEnvQuestion;
    QPushButton *cmdCurrent;
    QPushButton *cmdAll;
    QPushButton *cmdReturnAddress;
    QPushButton *cmdCancel;
};
