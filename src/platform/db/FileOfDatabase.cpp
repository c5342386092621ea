#include "platform/db/Database.h"

#include "platform/base/FileKind.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

namespace platform {

namespace {

// What follows the database's own name in the names of the files kept beside it: the
// journals of the engine, the backups a repair keeps (".bak", ".bak2", ...), the mark of a file
// found damaged, and the work copies of a repair, a backup or a password change, each perhaps
// with a journal of its own.
bool keptBesideName(QStringView name, QStringView base, Qt::CaseSensitivity letters = Qt::CaseSensitive)
{
    static const QString pattern = QStringLiteral("^(?:\\.damaged|(?:\\.bak[0-9]*|\\.(?:rekey|repair|scratch|"
                                                  "backup)-[0-9a-f]{16})?(?:-journal|-wal|-shm)?)$");
    static const QRegularExpression tail(pattern);
    static const QRegularExpression anyCaseTail(pattern, QRegularExpression::CaseInsensitiveOption);
    return name.size() > base.size() && name.startsWith(base, letters) &&
           (letters == Qt::CaseSensitive ? tail : anyCaseTail).match(name.mid(base.size())).hasMatch();
}

// The path a file written at `path` would have: a link followed to its end even where
// nothing is there yet, a folder on the way to its real place.
QString landingPath(const QString &path)
{
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info = QFileInfo(QDir::cleanPath(info.absoluteDir().absoluteFilePath(info.symLinkTarget())));
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId &) const = default;
};

std::optional<FileId> idOf(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

// Two spellings of one folder: where the disk ignores letter case its driver may number each
// spelling apart, so a name in other letters on the same disk counts too.
bool oneFolder(const QString &a, const QString &b)
{
    struct stat first, second;
    if (a == b)
        return true;
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 ||
        ::stat(QFile::encodeName(b).constData(), &second) != 0 || first.st_dev != second.st_dev)
        return false;
    return first.st_ino == second.st_ino || a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

Database::FileOfDatabase Database::fileOfDatabase(const QString &path) const
{
    if (mPath.isEmpty() || path.trimmed().isEmpty())
        return FileOfDatabase::None;
    // The journals sit beside the path the file was opened by, the work of a repair or a
    // password change beside the file a link leads to.
    QStringList bases{landingPath(mPath)};
    const QFileInfo opened(mPath);
    const QString openedFolder = QFileInfo(opened.absolutePath()).canonicalFilePath();
    if (!openedFolder.isEmpty() && QDir(openedFolder).filePath(opened.fileName()) != bases[0])
        bases.append(QDir(openedFolder).filePath(opened.fileName()));

    const QString landing = landingPath(path);
    const QFileInfo landed(landing);
    for (const QString &base : std::as_const(bases)) {
        if (landing == base)
            return FileOfDatabase::TheFile;
        if (keptBesideName(landing, base))
            return FileOfDatabase::KeptBeside;
        // Another spelling of the name, in the folder, where the folder's disk ignores case.
        const QFileInfo file(base);
        if (landed.fileName().startsWith(file.fileName(), Qt::CaseInsensitive) &&
            oneFolder(landed.absolutePath(), file.absolutePath()) &&
            folderIgnoresCase(file.absolutePath(), file.fileName())) {
            if (landed.fileName().compare(file.fileName(), Qt::CaseInsensitive) == 0)
                return FileOfDatabase::TheFile;
            if (keptBesideName(landed.fileName(), file.fileName(), Qt::CaseInsensitive))
                return FileOfDatabase::KeptBeside;
        }
    }

    // A second name of one of them, anywhere.
    const std::optional<FileId> id = idOf(landing);
    if (!id)
        return FileOfDatabase::None;
    if (idOf(bases[0]) == id)
        return FileOfDatabase::TheFile;
    for (const QString &base : std::as_const(bases)) {
        const QFileInfo file(base);
        const QDir folder = file.absoluteDir();
        const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            const QString kept = folder.filePath(name);
            if (keptBesideName(kept, base) && idOf(kept) == id)
                return FileOfDatabase::KeptBeside;
        }
    }
    return FileOfDatabase::None;
}

} // namespace platform
