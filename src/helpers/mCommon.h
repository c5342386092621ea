#pragma once

#include <QString>

// File and folder helpers. Paths use Qt's "/" between folders on every system.

// True when path names an existing file (hidden files included); false for a folder, a
// missing path or an empty path. Never raises.
bool FileExists(const QString &path);

// True when path names an existing folder, given with or without the final separator; false
// for an empty path, a file or a missing path. Never raises.
bool DirExists(QString path);

// Appends the folder separator "/" unless path already ends with one; an empty path stays empty.
void AddBackslash(QString &path);

// Deletes the file whatever its permissions; a missing file is no error. Raises
// platform::RuntimeError when the file exists but cannot be deleted.
void KillFile(const QString &path);

// True when name, without its leading and trailing blanks, is not empty, does not start with
// a control character, and holds none of * \ / : ? | < > and the double quote.
bool CheckFileNameChars(QString name);
