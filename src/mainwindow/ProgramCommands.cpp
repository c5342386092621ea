#include "mainwindow/ProgramCommands.h"

#include "helpers/About.h"
#include "helpers/DatabaseOpenDialog.h"
#include "helpers/DatabaseState.h"
#include "helpers/StartRoutine.h"
#include "mainwindow/ListViewCommands.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Shell.h"

#include <QDir>
#include <QFileInfo>

using platform::RuntimeError;

namespace {

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

ProgramCommands::ProgramCommands(NameList &window) : mWindow(window), mUi(*window.mUi) {}

void ProgramCommands::AboutBox_Click()
{
    About::instance().showModal();
}

void ProgramCommands::OpenDatabase_Click()
{
    try {
        QString fileName;
        if (!ShowDatabaseOpenDialog(fileName))
            return;
        // The chosen file must open before the one that works is let go; the open one
        // itself is known to open, and a password-protected one holds its file, so it is
        // simply opened again.
        std::unique_ptr<platform::Database> chosen;
        if (!sameFile(fileName, gDbPath)) {
            if (StartRoutine::checkDatabaseFile)
                chosen = StartRoutine::checkDatabaseFile(fileName);
            if (!chosen)
                return;
        }
        // The old database is left as the next start on it expects: all contacts, no
        // category, no marks.
        mWindow.listViews().ShowAllMenu_Click();
        gDbPath = fileName;
        mWindow.unload();
        mUi.Data1->clear();
        gContactsTable.reset();
        gDb.reset();
        restartThroughMain(std::move(chosen));
    } catch (const RuntimeError &) {
        // The command ends quietly; a file that will not open is the start routine's to report.
    }
}

void ProgramCommands::HelpSystem_Click()
{
    // Looked for beside the program, which it is installed with; the current folder is
    // wherever the program happened to be started from.
    const QString page = QDir(platform::programFolder()).filePath(gAppName + QStringLiteral(".htm"));
    if (!QFileInfo(page).isFile()) {
        platform::MsgBox(QStringLiteral("The help file ") + page + QStringLiteral(" cannot be found."),
                         platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Help"));
        return;
    }
    if (!platform::openDocument(page))
        platform::MsgBox(QStringLiteral("The help file ") + page +
                             QStringLiteral(" cannot be shown: no program that opens web pages is set up on "
                                            "this computer."),
                         platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Help"));
}
