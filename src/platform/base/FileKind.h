#pragma once

#include <QString>
#include <optional>

namespace platform {

// What a path names, told from the file system without opening anything: opening a pipe
// or a device can wait for ever, or read and write something that is no file at all.
// A link counts as what it leads to.
enum class FileKind { Missing, Regular, Folder, Special };
FileKind fileKind(const QString &path);

// Why no file can be made or replaced at a path; the reason is one sentence that does not
// name the file, so that each caller puts it in its own message.
struct WriteRefusal {
    enum Cause {
        FolderDenied,   // a folder on the way may not be entered
        NoFolder,       // the folder does not exist
        FolderInTheWay, // a folder has the file's name
        NotAFile,       // a device, pipe or socket has the file's name
        ReadOnly,       // the file may not be written
    };
    Cause cause;
    QString reason;
};
// Nothing when a file can be written there as far as can be told before writing.
std::optional<WriteRefusal> writeRefusal(const QString &path);

} // namespace platform
