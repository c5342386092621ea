#pragma once

#include <QObject>

class MainControls;
class NameList;

// Commands about the program rather than the contacts: the About box, the help page, and
// opening another database (which restarts the window on it).
class ProgramCommands : public QObject {
    Q_OBJECT
  public:
    explicit ProgramCommands(NameList &window);

    void AboutBox_Click();
    void OpenDatabase_Click();
    void HelpSystem_Click();

  private:
    NameList &mWindow;
    MainControls &mUi;
};
