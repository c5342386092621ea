#pragma once

#include <QString>

namespace platform {

// The program's own mark on a database file it has open, apart from SQLite's locks, which
// an idle connection does not hold: shared for a shared open, alone for an exclusive one.
// A copy of the program that replaces the file (a password change) must hold it alone, so
// it never renames a file under another copy that still has it open. The mark is on the
// file the path leads to (a symbolic link is followed) and goes with the process: a copy
// that dies leaves none behind.
class FileUseLock {
  public:
    enum class Result {
        Held,
        InUse,      // another open of the file stands in the way
        Unavailable // the file cannot be opened (the caller's own open tells why), or lies
                    // on a network share, where it goes unmarked
    };

    FileUseLock() = default;
    ~FileUseLock();
    FileUseLock(FileUseLock &&other) noexcept;
    FileUseLock &operator=(FileUseLock &&other) noexcept;
    FileUseLock(const FileUseLock &) = delete;
    FileUseLock &operator=(const FileUseLock &) = delete;

    // Marks the file without waiting; any mark held before is given up first.
    Result take(const QString &path, bool alone);
    void release();
    bool isHeld() const { return mHandle >= 0; }

  private:
    int mHandle = -1;
};

// Another process of this user (or any, for the administrator) that has the file open,
// named as "its name, process N"; empty when none is seen or the system cannot tell.
// Catches the programs that take no lock while they only have the file open.
QString otherProgramUsing(const QString &path);

} // namespace platform
