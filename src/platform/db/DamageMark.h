#pragma once

#include <QString>

#include <functional>

namespace platform {

// Damage a read or write meets while a database is open marks its file as known damaged:
// from then on the file opens only as 3049, to be repaired, until a repair removes the
// mark. The mark is a small file beside the file every link leads to (the damaged file
// itself is never written for it), made only where nothing of its name is. A file that
// cannot be repaired where it is (it or its folder cannot be written) gets none.
namespace DamageMark {

// Whether the file `path` leads to, by whichever link, carries the program's own mark.
bool known(const QString &path);
// Told on the thread that met it, each time a read or write of an open database meets
// damage, with the full path the database was opened by; unset by default.
std::function<void(const QString &path)> &observer();
// Where the engine reports damage on a connection to `path` (the engine's name of the file,
// every link followed): damage met while a database is open on the file marks it, and is
// told to the observer with the path it was first opened by. Damage an open finds is not.
void note(const QString &path);
// Files larger than this are checked for damage by every read instead of at open, so
// that a very large list opens quickly; 64 MB unless set. Returns the limit it replaces.
qint64 setOpenCheckLimit(qint64 bytes);

} // namespace DamageMark

} // namespace platform
