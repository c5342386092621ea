#include "export/ExportFile.h"

#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"
#include "platform/base/DateText.h"
#include "platform/base/FileKind.h"

#include <QDir>

#include <algorithm>

#include <cerrno>

namespace {
// Written to the device in pieces of this size.
constexpr qsizetype FlushSize = 1 << 16;

constexpr int DiskFull = 61;
constexpr int PermissionDenied = 70;
constexpr int FileAccessError = 75;
} // namespace

ExportFile::ExportFile(const QString &path) : mPath(path), mFile(path), mOwner(path)
{
    if (const std::optional<platform::WriteRefusal> refusal =
            platform::writeRefusal(path, platform::Replacing::InPlaceToo))
        fail(refusal->cause == platform::WriteRefusal::NoFolder ? platform::err::PathNotFound : PermissionDenied,
             refusal->reason);
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
    mUnwritten += platform::appendComposedAnsi(mBuffer, text);
}

void ExportFile::writeDate(QStringView text)
{
    // Most dates are plain digits and separators already: written as they are.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (const QChar c : text)
            mBuffer.append(char(c.unicode()));
        return;
    }
    const QString date = platform::plainDigitsText(text);
    if (platform::appendComposedAnsi(mBuffer, date) == 0)
        return;
    for (const QString &c : platform::ansiLacking(date)) {
        if (!mDateLacking.contains(c))
            mDateLacking.append(c);
    }
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
    mOwner.restore();
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
