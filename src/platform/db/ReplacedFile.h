#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

namespace platform {

class KeptOwner;

// A database file about to be replaced by a copy made beside it (a repair, a password
// change). The work is done on the file a symbolic link leads to, so that the link, and
// whatever else knows that file, stay as they are. Every copy is its owner's alone from the
// moment it exists and belongs to the file's owner and group from the start; it gets the
// file's permissions, its access control list and its other extended attributes only once
// it has taken the file's place.
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
    // yet, whereas a replaced file that could not keep them would lock its owner out. A
    // file of the user's own whose group may not use it (what an administrator's chown
    // leaves) has nothing to keep from that group: its copy takes the user's group instead.
    QString makeWorkFile(const QString &what) const;

    struct Backup {
        QString path;
        bool made = false; // false: kept before, by a replacement cut short
    };
    // Keeps the file as it is now as "<file>.bak" (".bak2", ... when that name is taken): a
    // second name of the same file where the file system has them, else a copy, made under
    // a work name and given the backup's name only once it is whole and on the disk.
    Backup keepBackup() const;

    // Puts `copy` in the file's place in one step, then gives it the file's permissions:
    // at every moment the path holds the old file or the whole new one.
    void takePlace(const QString &copy) const;

  private:
    // Made new, with no permission for anyone but its owner, and given the file's owner.
    void makeOwnersOnly(const QString &file) const;
    // Whether the file's group may do anything with it, by its mode or its access list.
    bool groupMayUse() const;
    // Gives `file`, now in its place, the file's permissions and extended attributes.
    void givePermissions(const QString &file) const;

    QString mPath;
    QString mReal;
    unsigned mMode = 0;
    unsigned mUser = 0, mGroup = 0;
    // The file's extended attributes by name, its access control list among them.
    QList<std::pair<QByteArray, QByteArray>> mAttributes;
    std::unique_ptr<const KeptOwner> mOwner;
};

// Copies the bytes of `from` into the existing file `to`, which keeps its permissions and
// owner, on the disk before it returns when `durable`; a disk error when that fails, 3026
// when the disk is full or the file would grow past what it allows.
void copyFileInto(const QString &from, const QString &to, bool durable = false);

// Where true, backups are made as on a disk without second names of a file (a FAT stick,
// some network shares): for tests, which have no such disk to hand.
bool &secondNamesRefused();

// The steps of replacing a file, told to tests that look at the files at each of them or
// stop the work there as a crash would.
enum class ReplaceStep { WorkFileMade, BackupKept, CopyInPlace };
std::function<void(ReplaceStep step, const QString &file)> &replaceStepObserver();

} // namespace platform
