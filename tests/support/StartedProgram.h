#pragma once

#include "support/TemporaryProgramFolder.h"

#include <QString>

class NameList;

// Runs the start routine the way a test needs it: a program folder of its own, a
// command line of the test's choosing, a single-instance key nobody else uses, and on
// destruction everything the program holds let go (main window, database, lock).
class StartedProgram {
  public:
    StartedProgram();
    ~StartedProgram();
    StartedProgram(const StartedProgram &) = delete;
    StartedProgram &operator=(const StartedProgram &) = delete;

    const TemporaryProgramFolder &folder() const { return mFolder; }
    QString singleInstanceKey() const { return mKey; }

    void setCommandLine(const QString &commandLine);
    // Main as the platform calls it at start; true when the main window was shown.
    bool start();
    // The main window Main showed, or nullptr.
    static NameList *window();
    // Closes the main window as the Exit button does, running its unload.
    static void closeWindow();

  private:
    TemporaryProgramFolder mFolder;
    QString mKey;
};
