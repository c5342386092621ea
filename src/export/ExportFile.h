#pragma once

#include "platform/base/FileKind.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QStringView>

// The text file an export writes: lines in the ANSI code page, each ended by a carriage
// return and a line feed. Text is written in its composed form, and a character the code
// page lacks as '?'. The lines go to a temporary file beside the target, which takes the
// target's place only when commit() succeeds: an export that fails half-way (a full disk,
// a record that cannot be read) leaves no partial file, and a file chosen for replacing
// stays as it was. A file replaced keeps its owner and permissions. The one exception is
// a file the user may write in a folder the user may not: it is written in place, and
// keeps what was written before a failure.
class ExportFile {
  public:
    // Raises a RuntimeError that names the file and the reason when it cannot be written
    // there (no such folder, a folder that may not be entered or written, no permission, a
    // read-only file, even to root, a folder of that name, a device or pipe, which is never
    // opened).
    explicit ExportFile(const QString &path);
    // Without a commit the temporary file goes and the target is untouched.
    ~ExportFile();
    ExportFile(const ExportFile &) = delete;
    ExportFile &operator=(const ExportFile &) = delete;

    void writeLine(QStringView line);
    // A line written in pieces: its text, then its end.
    void write(QStringView text);
    void write(QByteArrayView ascii);
    void endLine();
    // A date or time in the system's form, its digits written as 0-9: the code page holds
    // no other digits. What it still lacks (an AM/PM text in another script) is kept apart
    // from the other text's losses.
    void writeDate(QStringView text);
    // How many characters of the text written so far the code page lacks, dates aside.
    qsizetype unwritten() const { return mUnwritten; }
    // The characters of the dates written so far that the code page lacks, each once.
    const QStringList &dateLacking() const { return mDateLacking; }
    // Puts the file in the target's place; raises a RuntimeError with the reason (a full
    // disk told as such) when the lines could not all be written.
    void commit();

  private:
    void flush();
    [[noreturn]] void failWriting() const;
    [[noreturn]] void fail(int number, const QString &reason) const;

    QString mPath;
    QSaveFile mFile;
    QByteArray mBuffer;
    platform::KeptOwner mOwner;
    qsizetype mUnwritten = 0;
    QStringList mDateLacking;
};
