#include "helpers/mCommonDialog.h"

#include "platform/RuntimeError.h"
#include "platform/ui/DialogSeam.h"

#include <QFileInfo>

namespace {
constexpr int ofnReadOnly = 0x1;
constexpr int ofnHideReadOnly = 0x4;
constexpr int ofnAllowMultiSelect = 0x200;
constexpr int ofnFileMustExist = 0x1000;
// Hook and template flags would need a dialog procedure we do not have.
constexpr int ofnNeverPassed = 0x20 | 0x40;
constexpr int maxPath = 260;
constexpr int invalidArgument = 5;
} // namespace

QString GetNullField(const QString &nulFilter, int n)
{
    if (n < 1)
        return QString();
    const QStringList parts = nulFilter.split(QChar(0));
    const qsizetype description = qsizetype(n) * 2 - 2;
    if (description + 1 >= parts.size() || parts[description].isEmpty())
        return QString();
    return parts[description] + QChar(0) + parts[description + 1];
}

bool ShowOpenFileDialog(QString &fileName, QString &fileTitle, bool fileMustExist, bool multipleSelection,
                        bool &readOnly, bool hideReadOnly, QString &filter, int &filterIndex,
                        const QString &initialFolder, const QString &dialogTitle,
                        const QString &defaultExtension, QWidget *owner, int &extraFlags)
{
    if (fileName.size() > maxPath || fileTitle.size() > maxPath)
        throw platform::RuntimeError(invalidArgument, QStringLiteral("Invalid procedure call or argument"));

    int flags = extraFlags & ~ofnNeverPassed;
    if (fileMustExist)
        flags |= ofnFileMustExist;
    if (multipleSelection)
        flags |= ofnAllowMultiSelect;
    if (hideReadOnly)
        flags |= ofnHideReadOnly;
    if (readOnly)
        flags |= ofnReadOnly;

    // Descriptions and patterns end at every "|" and, as the classic dialog record has
    // it, at every ":" too.
    QString nulFilter = filter;
    nulFilter.replace(QLatin1Char('|'), QChar(0));
    nulFilter.replace(QLatin1Char(':'), QChar(0));

    platform::DialogRequest request;
    request.kind = platform::DialogKind::OpenFile;
    request.title = dialogTitle.isEmpty() ? QStringLiteral("Open") : dialogTitle;
    request.fileName = fileName;
    request.filter = QString(nulFilter).replace(QChar(0), QLatin1Char('|'));
    request.filterIndex = filterIndex;
    request.initialDir = initialFolder;
    request.defaultExt = defaultExtension;
    request.flags = flags;
    request.form = owner;
    nulFilter += QChar(0);
    nulFilter += QChar(0);

    const platform::DialogAnswer answer = platform::runDialog(request);
    if (!answer.accepted || answer.fileName.isEmpty()) {
        fileName.clear();
        fileTitle.clear();
        filter.clear();
        filterIndex = -1;
        extraFlags = 0;
        return false;
    }
    fileName = answer.fileName;
    fileTitle = QFileInfo(answer.fileName).fileName();
    extraFlags = answer.flags;
    if (answer.filterIndex > 0)
        filterIndex = answer.filterIndex;
    filter = GetNullField(nulFilter, filterIndex);
    if (answer.flags & ofnReadOnly)
        readOnly = true;
    return true;
}
