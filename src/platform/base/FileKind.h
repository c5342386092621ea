#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace platform {

// What a path names, told from the file system without opening anything: opening a pipe
// or a device can wait for ever, or read and write something that is no file at all.
// A link counts as what it leads to.
enum class FileKind { Missing, Regular, Folder, Special };
FileKind fileKind(const QString &path);

// Whether the disk that holds `folder` ignores letter case in file names (FAT, exFAT, most
// network shares), told from `listed`, a name the folder holds: spelt in other letters it
// still leads somewhere the folder lists under no such name. False where it cannot be told.
bool folderIgnoresCase(const QString &folder, const QString &listed);
// The path as the folders list it: on a disk that ignores letter case, each name of `path`
// spelt in other letters, the folders' on the way as the file's, becomes the spelling its
// folder holds (an absolute path then). Some drivers give each spelling of one file a
// number of its own, and renaming, locking or reading through a spelling the folder does
// not hold goes astray there: the locks miss each other, and what the driver keeps of the
// other spelling is stale after a rename. Otherwise `path` as it is.
QString listedPath(const QString &path);
// The file `path` leads to, every link followed, spelt as the folders list it: what a lock
// on the file or a rename of it goes through. `path` listed where it leads to nothing.
QString listedFile(const QString &path);
// Tests give the rule for every folder; an empty function looks at the disk again.
void setFolderCaseRuleForTesting(std::function<bool(const QString &folder)> rule);

// Why no file can be made or replaced at a path; the reason is one sentence that does not
// name the file, so that each caller puts it in its own message.
struct WriteRefusal {
    enum Cause {
        FolderDenied,   // a folder on the way may not be entered
        NoFolder,       // the folder does not exist
        FolderInTheWay, // a folder has the file's name
        NotAFile,       // a device, pipe or socket has the file's name
        ReadOnly,       // the file may not be written, or bears the read-only mark
        FolderClosed,   // no file may be made in the folder
    };
    Cause cause;
    QString reason;
};
// How an existing file is to be replaced: always by a file made anew beside it, or, where
// the folder denies that but the file may be written, in place.
enum class Replacing { Anew, InPlaceToo };
// Nothing when a file can be written there as far as can be told before writing. A file
// without write permission for its owner is refused to every user: replacing it would
// drop the mark.
std::optional<WriteRefusal> writeRefusal(const QString &path, Replacing replacing = Replacing::Anew);

// The owner and group of a file about to be replaced, given back to the file that takes its
// place: a file made anew belongs to whoever made it, root included (QSaveFile carries
// the permissions over itself). Nothing happens where there was no file, or where the
// system does not let this process give a file away.
class KeptOwner {
  public:
    explicit KeptOwner(const QString &path);
    void restore() const;
    // Gives them to the open file `handle`, just made to take the file's place, before
    // anything is written to it. Nothing when it has them (or there was no file);
    // otherwise why it cannot, as one sentence: the file belongs to another user and this
    // process may not give a file away, or to a group this user is not in.
    std::optional<QString> giveTo(int handle) const;

  private:
    QString mPath;
    std::optional<std::pair<unsigned, unsigned>> mOwner;
};

} // namespace platform
