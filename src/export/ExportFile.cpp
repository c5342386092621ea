#include "export/ExportFile.h"

#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"

#include <QDir>
#include <QFileInfo>

namespace {
// Written to the device in pieces of this size.
constexpr qsizetype FlushSize = 1 << 16;

constexpr int PermissionDenied = 70;
constexpr int FileAccessError = 75;
} // namespace

ExportFile::ExportFile(const QString &path) : mPath(path), mFile(path)
{
    const QFileInfo target(path);
    if (!target.dir().exists())
        fail(platform::err::PathNotFound, QStringLiteral("The folder does not exist."));
    if (target.isDir())
        fail(PermissionDenied, QStringLiteral("A folder of that name is in the way."));
    // Replacing a file through a new one would get round its read-only mark.
    if (target.exists() && !target.isWritable())
        fail(PermissionDenied, target.permission(QFileDevice::WriteOwner)
                                   ? QStringLiteral("Permission denied.")
                                   : QStringLiteral("The file is read-only."));
    if (!mFile.open(QIODevice::WriteOnly))
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
        fail(FileAccessError, mFile.errorString());
    mBuffer.truncate(0); // keeps its room for the next piece
}

void ExportFile::commit()
{
    flush();
    if (!mFile.commit())
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
