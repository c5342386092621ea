#pragma once

#include "editor/DataControlLink.h"

#include <QObject>

class MainControls;
class NameList;

// Commands on the contacts of the list: add, view and edit, delete, the notes, dialling
// the current contact and the port the modem is on, and the reminder windows.
class RecordCommands : public QObject {
    Q_OBJECT
  public:
    explicit RecordCommands(NameList &window);

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdNotes_Click();
    void cmdDial_Click();
    void ModemPortMenu_Click();
    void cmdRemind_Click();
    void CurrentReminders_Show();

  private:
    void setRecordButtonsEnabled(bool enabled);
    DataControlLink::View editorView();

    NameList &mWindow;
    MainControls &mUi;
};
