#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform {

// The pages of an encrypted database file, each read on its own: the key a password gives
// opens every page that is whole, whatever became of the others, the first included.
namespace EncryptedPages {

// True when the file's first bytes (`head`) look like the noise encryption makes.
bool looksEncrypted(const QByteArray &head);

// What a password opened of a file.
struct Opened {
    qint64 pages = 0; // pages the key opened; none when the password is not the file's
    int pageSize = 0; // the size its pages were read in (0 when none opened)
    int reserve = 0;  // the bytes at the end of every page that hold no data
};

// How many of the file's pages `password` opens (at most one is looked for).
Opened probe(const QString &path, const QString &password);

// Writes the file's pages into `plain`, a file made beforehand, as a plain database file:
// each page the key opens as it reads, every other page as zeros; nothing when the key
// opens no page. A disk error when the copy cannot be written. `progress`, when given, is
// told the pages written of the file's pages as it goes.
Opened decrypt(const QString &path, const QString &password, const QString &plain,
               const std::function<void(qint64 done, qint64 total)> &progress = {});

} // namespace EncryptedPages

} // namespace platform
