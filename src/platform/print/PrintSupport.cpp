#include "platform/print/PrintSupport.h"

#include "platform/RuntimeError.h"
#include "platform/print/PrintOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace platform {

namespace {
const PrintSupportApi *&loaded()
{
    static const PrintSupportApi *api = nullptr;
    return api;
}

QStringList &foldersForTesting()
{
    static QStringList folders;
    return folders;
}

QString libraryFileName()
{
    return QStringLiteral(QUILTERN_PRINTSUPPORT_FILE);
}

[[noreturn]] void unavailable(const QString &why)
{
    throw RuntimeError(PrintOutput::PrinterError,
                       QStringLiteral("Printing is not available: %1").arg(why));
}
} // namespace

const PrintSupportApi &loadPrintSupport(const QStringList &folders)
{
    QString path;
    for (const QString &folder : folders) {
        const QFileInfo candidate(QDir(folder), libraryFileName());
        if (!folder.isEmpty() && candidate.isFile()) {
            path = candidate.absoluteFilePath();
            break;
        }
    }
    if (path.isEmpty())
        unavailable(QStringLiteral("\"%1\" was not found beside the program.").arg(libraryFileName()));

    // Never unloaded: printers made by the library live as long as the program.
    QLibrary library(path);
    if (!library.load())
        unavailable(QStringLiteral("\"%1\" could not be loaded (%2).")
                        .arg(QDir::toNativeSeparators(path), library.errorString()));
    using EntryPoint = const PrintSupportApi *(*)();
    const auto entry = reinterpret_cast<EntryPoint>(library.resolve(PrintSupportEntryPoint));
    const PrintSupportApi *api = entry ? entry() : nullptr;
    if (!api || api->version != PrintSupportApi::CurrentVersion)
        unavailable(QStringLiteral("\"%1\" does not belong to this version of the program.")
                        .arg(QDir::toNativeSeparators(path)));
    return *api;
}

QStringList printSupportFolders()
{
    if (!foldersForTesting().isEmpty())
        return foldersForTesting();
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    // Test programs and benchmarks run from folders of their own in the build tree.
    folders << QStringLiteral(QUILTERN_PRINTSUPPORT_BUILD_DIR);
    return folders;
}

const PrintSupportApi &printSupport()
{
    if (!loaded())
        loaded() = &loadPrintSupport(printSupportFolders());
    return *loaded();
}

void setPrintSupportFoldersForTesting(const QStringList &folders)
{
    foldersForTesting() = folders;
    loaded() = nullptr;
}

bool printSupportLoaded()
{
    return loaded() != nullptr;
}

} // namespace platform
