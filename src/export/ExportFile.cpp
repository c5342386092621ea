#include "export/ExportFile.h"

#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {
// Written to the device in pieces of this size.
constexpr qsizetype FlushSize = 1 << 16;

constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int FileAccessError = 75;

// False when a folder on the way to the file may not be entered: whether the file and its
// folder are there cannot be known.
bool reachable(const QString &path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 || errno != EACCES;
}
} // namespace

ExportFile::ExportFile(const QString &path) : mPath(path), mFile(path)
{
    const QFileInfo target(path);
    if (!reachable(path))
        fail(PermissionDenied, QStringLiteral("The folder cannot be opened: permission denied."));
    if (!target.dir().exists())
        fail(platform::err::PathNotFound, QStringLiteral("The folder does not exist."));
    if (target.isDir())
        fail(PermissionDenied, QStringLiteral("A folder of that name is in the way."));
    // Replacing a file through a new one would get round its read-only mark.
    if (target.exists() && !target.isWritable())
        fail(PermissionDenied, target.permission(QFileDevice::WriteOwner)
                                   ? QStringLiteral("Permission denied.")
                                   : QStringLiteral("The file is read-only."));
    // A file the user may write in a folder the user may not is written where it is, as no
    // temporary file can be made beside it.
    mFile.setDirectWriteFallback(true);
    // Unbuffered: the lines are gathered here, and a failing write is then known at once,
    // with its cause.
    if (!mFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(PermissionDenied, mFile.errorString());
    mBuffer.reserve(FlushSize + 4096);
}

ExportFile::~ExportFile()
{
    if (mFile.isOpen())
        mFile.cancelWriting();
}

void ExportFile::writeLine(QStringView line)
{
    write(line);
    endLine();
}

void ExportFile::write(QStringView text)
{
    platform::appendAnsi(mBuffer, text);
}

void ExportFile::write(QByteArrayView ascii)
{
    mBuffer.append(ascii);
}

void ExportFile::endLine()
{
    mBuffer += "\r\n";
    if (mBuffer.size() >= FlushSize)
        flush();
}

void ExportFile::flush()
{
    if (mBuffer.isEmpty())
        return;
    if (mFile.write(mBuffer) != mBuffer.size())
        failWriting();
    mBuffer.truncate(0); // keeps its room for the next piece
}

void ExportFile::commit()
{
    flush();
    if (!mFile.commit())
        failWriting();
}

void ExportFile::failWriting() const
{
    const int cause = errno; // before anything else can change it
    if (cause == ENOSPC || cause == EDQUOT)
        fail(DiskFull, QStringLiteral("The disk is full."));
    fail(FileAccessError, mFile.errorString());
}

void ExportFile::fail(int number, const QString &reason) const
{
    QString text = reason.trimmed();
    if (!text.endsWith(u'.'))
        text += u'.';
    throw platform::RuntimeError(
        number,
        QStringLiteral("The file %1 could not be written. %2").arg(QDir::toNativeSeparators(mPath), text));
}
