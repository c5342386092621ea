#include "support/StartedProgram.h"

#include "helpers/RecordSource.h"
#include "mainwindow/NameList.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ApplicationTitle.h"
#include "start/modMain.h"

#include <QCoreApplication>
#include <QUuid>

StartedProgram::StartedProgram()
    : mKey(QStringLiteral("QuilternTest-") + QUuid::createUuid().toString(QUuid::Id128))
{
    setSingleInstanceKeyForTesting(mKey);
    setCommandLineForTesting(QStringLiteral(""));
    gDbPath.clear();
    gRecordSource.reset();
    gSelectedCount = 0;
    platform::setApplicationTitle(ApplicationTitleText);
}

StartedProgram::~StartedProgram()
{
    closeWindow();
    gContactsTable.reset();
    gDb.reset();
    gDbPath.clear();
    releaseSingleInstanceForTesting();
    setSingleInstanceKeyForTesting(QString());
    setCommandLineForTesting(QString());
    QCoreApplication::processEvents();
}

void StartedProgram::setCommandLine(const QString &commandLine)
{
    setCommandLineForTesting(commandLine);
}

bool StartedProgram::start()
{
    const bool shown = Main() == MainOutcome::MainWindowShown;
    QCoreApplication::processEvents();
    return shown;
}

NameList *StartedProgram::window()
{
    return NameList::loadedInstance();
}

void StartedProgram::closeWindow()
{
    if (NameList *w = NameList::loadedInstance())
        w->unload();
    QCoreApplication::processEvents();
}
