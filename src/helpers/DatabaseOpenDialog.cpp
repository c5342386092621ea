#include "helpers/DatabaseOpenDialog.h"

#include "helpers/DatabaseState.h"
#include "helpers/StartRoutine.h"
#include "helpers/mCommonDialog.h"
#include "platform/ui/ProgramFolder.h"

bool ShowDatabaseOpenDialog(QString &path)
{
    QString fileName;
    QString fileTitle;
    bool readOnly = false;
    QString filter = DatabaseFileFilter;
    int filterIndex = 1;
    int flags = 0;
    if (!ShowOpenFileDialog(fileName, fileTitle, true, false, readOnly, true, filter, filterIndex,
                            platform::programFolder() + QStringLiteral("/"),
                            QStringLiteral("Open database file"), QString(), nullptr, flags))
        return false;
    path = fileName;
    return true;
}
