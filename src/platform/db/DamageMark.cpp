#include "platform/db/DamageMark.h"

#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<qint64> openCheckLimit = 64 * 1024 * 1024;

// The files of the databases open in the program, by the engine's name of each: the paths
// each open of it was made by. A database may still close while the program's statics are
// destroyed (a library that calls exit() with a book open), so the table is never destroyed.
Q_CONSTINIT QBasicMutex openFilesMutex;

QHash<QString, QStringList> &openFiles()
{
    static auto *files = new QHash<QString, QStringList>;
    return *files;
}

// What a mark holds, so that a user's file of the same name is never taken for one.
const QByteArray MarkText("This database was found damaged while in use; it is to be repaired before "
                          "it is used again.\n");
const QLatin1String MarkSuffix(".damaged");

// The mark goes beside the file every link leads to, so that whichever path opens the file
// finds it. A case-blind disk finds it under any spelling, as it does the file; a second
// hard name of the file in another folder does not.
QString markOf(const QString &path)
{
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return (real.isEmpty() ? info.absoluteFilePath() : real) + MarkSuffix;
}

// Where a mark may be: beside the file, and beside the path as given, where marks were
// once written.
QStringList placesOf(const QString &path)
{
    QStringList places{markOf(path), QFileInfo(path).absoluteFilePath() + MarkSuffix};
    places.removeDuplicates();
    return places;
}

// Only a plain file holding the mark's text is the program's own: a link of its name (to
// whatever it leads), a user's file or anything else that is no file is not.
bool isOwnMark(const QString &mark)
{
    const int fd = ::open(QFile::encodeName(mark).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    QByteArray head(MarkText.size() + 1, '\0');
    const bool plainFile = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    const ssize_t got = plainFile ? ::read(fd, head.data(), head.size()) : -1;
    ::close(fd);
    return got == MarkText.size() && head.left(got) == MarkText;
}

// Made only where nothing of its name is, never through a link; a mark that could not be
// written whole is taken away again.
void writeMark(const QString &mark)
{
    const int fd = ::open(QFile::encodeName(mark).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    const bool whole = ::write(fd, MarkText.constData(), MarkText.size()) == MarkText.size();
    if (::close(fd) != 0 || !whole)
        ::unlink(QFile::encodeName(mark).constData());
}

} // namespace

void dbfile::noteOpenedBy(const QString &engineName, const QString &path)
{
    const QMutexLocker lock(&openFilesMutex);
    openFiles()[engineName].append(path);
}

void dbfile::noteClosedBy(const QString &engineName, const QString &path)
{
    const QMutexLocker lock(&openFilesMutex);
    QStringList &opened = openFiles()[engineName];
    opened.removeOne(path);
    if (opened.isEmpty())
        openFiles().remove(engineName);
}

qint64 dbfile::openCheckLimit()
{
    return platform::openCheckLimit;
}

void dbfile::removeDamageMark(const QString &path)
{
    for (const QString &mark : placesOf(path))
        if (isOwnMark(mark))
            QFile::remove(mark);
}

bool DamageMark::known(const QString &path)
{
    const QStringList places = placesOf(path);
    return std::any_of(places.begin(), places.end(), isOwnMark);
}

std::function<void(const QString &path)> &DamageMark::observer()
{
    static std::function<void(const QString &)> observer;
    return observer;
}

void DamageMark::note(const QString &path)
{
    QString opened;
    {
        const QMutexLocker lock(&openFilesMutex);
        opened = openFiles().value(path).value(0);
    }
    if (opened.isEmpty())
        return;
    // A file that cannot be repaired where it is gets no mark: it would only keep the file
    // from opening. The damage is still told.
    if (!known(opened) && !Database::cannotBeWritten(opened))
        writeMark(markOf(opened));
    if (observer())
        observer()(opened);
}

qint64 DamageMark::setOpenCheckLimit(qint64 bytes)
{
    return platform::openCheckLimit.exchange(bytes);
}

} // namespace platform
