#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct stat;

namespace platform {

// The program's own mark on a database file it has open, apart from SQLite's locks, which
// an idle connection does not hold: shared for a shared open, alone for an exclusive one.
// A copy of the program that replaces the file (a password change) must hold it alone, so
// it never renames a file under another copy that still has it open. The mark is on the
// file the path leads to (a symbolic link is followed) and goes with the process: a copy
// that dies leaves none behind.
// Apart from that mark, a copy holds the file against every other copy of the program
// (another login's, another user's, on this machine or across a network share) for as long
// as any open of its own has it: one copy writes a file at a time. Opens within one copy
// share that hold; a copy that only reads holds the file against copies that write.
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

    // Marks the file without waiting; any mark held before is given up first. InUse also
    // when another copy of the program holds the file and either of them writes.
    Result take(const QString &path, bool alone, bool writing = true);
    void release();
    // Gives up the mark but keeps the copy's hold: this copy's own opens of the file, an
    // exclusive one too, come in, while every other copy stays out.
    void keepCopyHoldOnly();
    bool isHeld() const { return mHandle >= 0; }

  private:
    bool holdCopy(const QByteArray &name, const struct stat &file, bool writing);
    void releaseCopy();

    int mHandle = -1;
    // The file the copy's hold is on, when this mark counts in it.
    struct Held {
        quint64 device = 0, inode = 0;
        bool writing = false;
    };
    std::optional<Held> mHeld;
};

// Another process of this user (or any, for the administrator) that has the file open,
// named as "its name, process N"; empty when none is seen or the system cannot tell.
// Catches the programs that take no lock while they only have the file open.
QString otherProgramUsing(const QString &path);

} // namespace platform
