#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace platform {

class KeptOwner;

// A database file about to be replaced by a copy made beside it (a repair, a password
// change). The work is done on the file a symbolic link leads to, so that the link, and
// whatever else knows that file, stay as they are. Every copy is its owner's alone from the
// moment it exists and belongs to the file's owner and group from the start; it gets the
// file's permissions only once it has taken the file's place.
class ReplacedFile {
  public:
    // Looks at the file `path` leads to; 3024 when there is none.
    explicit ReplacedFile(const QString &path);
    ~ReplacedFile();
    ReplacedFile(const ReplacedFile &) = delete;
    ReplacedFile &operator=(const ReplacedFile &) = delete;

    // The file a link leads to, or the path itself.
    const QString &real() const { return mReal; }

    // A new, empty work file of the kind `what` beside the file. Refused (3027, nothing
    // left behind) where it cannot be given the file's owner and group: nothing has changed
    // yet, whereas a replaced file that could not keep them would lock its owner out.
    QString makeWorkFile(const QString &what) const;

    struct Backup {
        QString path;
        bool made = false; // false: kept before, by a replacement cut short
    };
    // Keeps the file as it is now as "<file>.bak" (".bak2", ... when that name is taken): a
    // second name of the same file where the file system has them, else a copy.
    Backup keepBackup() const;

    // Puts `copy` in the file's place in one step, then gives it the file's permissions:
    // at every moment the path holds the old file or the whole new one.
    void takePlace(const QString &copy) const;

  private:
    // Made new, with no permission for anyone but its owner, and given the file's owner.
    void makeOwnersOnly(const QString &file) const;

    QString mPath;
    QString mReal;
    unsigned mMode = 0;
    std::unique_ptr<const KeptOwner> mOwner;
};

// Copies the bytes of `from` into the existing file `to`, which keeps its permissions and
// owner, on the disk before it returns when `durable`; a disk error when that fails.
void copyFileInto(const QString &from, const QString &to, bool durable = false);

// The steps of replacing a file, told to tests that look at the files at each of them or
// stop the work there as a crash would.
enum class ReplaceStep { WorkFileMade, BackupKept, CopyInPlace };
std::function<void(ReplaceStep step, const QString &file)> &replaceStepObserver();

} // namespace platform
