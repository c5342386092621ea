#pragma once

#include "support/FileBytes.h"

#include "platform/db/Database.h"
#include "platform/db/SqlStatement.h"

#include <QString>

// Fills the contacts over several pages, then garbles a page in the middle; returns the
// damaged file's bytes.
inline QByteArray damageDatabase(const QString &path)
{
    {
        auto db = platform::Database::open(path);
        for (int i = 0; i < 300; ++i)
            db->execute(QStringLiteral("INSERT INTO tblContacts (LastName, Notes) VALUES ('Row%1', '%2')")
                            .arg(i)
                            .arg(QString(200, QLatin1Char('n'))));
    }
    QByteArray bytes = readFileBytes(path);
    const int at = (int(bytes.size()) / 1024 / 2) * 1024;
    for (int i = 0; i < 1024; ++i)
        bytes[at + i] = char((i * 37 + 11) & 0xff);
    writeFileBytes(path, bytes);
    return bytes;
}

// Garbles the first page behind the file's header, where the list of tables is: no table
// can be found, so nothing can be copied. Returns the damaged file's bytes.
inline QByteArray damageBeyondRepair(const QString &path)
{
    QByteArray bytes = readFileBytes(path);
    for (int i = 100; i < 4096 && i < bytes.size(); ++i)
        bytes[i] = char((i * 37 + 11) & 0xff);
    writeFileBytes(path, bytes);
    return bytes;
}

// The damages a repair is tried on, in a file of pages of `PageSize` bytes.
namespace damage {

constexpr int PageSize = 4096;

// Overwrites page `page` (counted from 1) with bytes that hold no b-tree page.
inline void garblePage(QByteArray &bytes, qint64 page, quint32 seed = 11)
{
    const qint64 at = (page - 1) * PageSize;
    for (qint64 i = 0; i < PageSize && at + i < bytes.size(); ++i)
        bytes[at + i] = char(((i + seed) * 37 + seed) & 0xff);
}

// The first page of a table, as the file's list of tables gives it.
inline qint64 firstPageOf(const QString &path, const QString &table)
{
    auto db = platform::Database::open(path);
    platform::SqlStatement root(db->handle(), QStringLiteral("SELECT rootpage FROM sqlite_master WHERE "
                                                             "type = 'table' AND name = ?"));
    root.bind(1, table);
    return root.step() ? root.int64(0) : 0;
}

// The page the first pointer of an interior page leads to: a page of rows under it.
inline qint64 firstChildOf(const QByteArray &bytes, qint64 page)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData()) + (page - 1) * PageSize;
    const int cell = (data[12] << 8) | data[13];
    return (qint64(data[cell]) << 24) | (data[cell + 1] << 16) | (data[cell + 2] << 8) | data[cell + 3];
}

} // namespace damage
