#include "support/StartedProgram.h"

#include "editor/GLOBAL.h"
#include "helpers/MainWindowFlags.h"
#include "helpers/RecordSource.h"
#include "mainwindow/NameList.h"
#include "pictures/PictureHandOver.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ApplicationTitle.h"
#include "printing/GLOBAL.h"
#include "selection/CriteriaForm.h"
#include "start/modMain.h"

#include <QCoreApplication>
#include <QUuid>

StartedProgram::StartedProgram()
    : mKey(QStringLiteral("QuilternTest-") + QUuid::createUuid().toString(QUuid::Id128))
{
    setSingleInstanceKeyForTesting(mKey);
    setCommandLineForTesting(QStringLiteral(""));
    gDatabase.reset();
    gRecordSource.reset();
    gMainWindow.reset();
    gEditor.reset();
    gPictureHandOver.reset();
    gPrinting.reset();
    gCriteria.reset();
    platform::setApplicationTitle(ApplicationTitleText);
}

StartedProgram::~StartedProgram()
{
    closeWindow();
    gDatabase.reset();
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
