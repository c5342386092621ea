#pragma once

#include <QString>

// Where the pictures of the contacts live and how their files are found. A picture name
// is a bare file name in the Pictures folder under the program folder. Names written on
// other systems may differ from the files in letter case only, so a name finds its file
// whatever the case; an exact spelling wins when both exist.
namespace pictures {

// The program folder's "Pictures" and "Deleted Pictures" folders, each ending in "/".
QString picturesFolder();
QString deletedPicturesFolder();
// The Pictures folder followed by name, exactly as given (name is not trimmed).
QString picturePath(const QString &name);

// The path of the file that path names, with its file name spelt as the folder lists it;
// path itself when there is no such file.
QString resolvedPath(const QString &path);

// A normal file: found, not hidden, not a folder, device or pipe (read-only files count).
bool normalFileExists(const QString &path);
// Any file, hidden ones included; never a folder.
bool filePresent(const QString &path);
// The file name without its folder as the folder lists it, for a normal file; empty when
// there is none (a relative path names no file).
QString listedName(const QString &path);

// A slot's name counts when, trimmed, it is greater than a single blank.
bool nameGiven(const QString &name);
// The slot's name is given and its file is a normal file in the Pictures folder.
bool slotFileExists(const QString &name);

// Same file name as far as the picture folder goes: letter case does not count.
bool sameName(const QString &a, const QString &b);

} // namespace pictures
