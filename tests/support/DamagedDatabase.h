#pragma once

#include "support/FileBytes.h"

#include "platform/db/Database.h"
#include "platform/db/SqlStatement.h"

#include <QList>
#include <QString>
#include <QtEndian>

#include <algorithm>

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

// Garbles every page behind the file's header: neither its list of tables nor any row can
// be read, so nothing can be copied. Returns the damaged file's bytes.
inline QByteArray damageBeyondRepair(const QString &path)
{
    QByteArray bytes = readFileBytes(path);
    for (int i = 100; i < bytes.size(); ++i)
        bytes[i] = char((i * 37 + 11) & 0xff);
    writeFileBytes(path, bytes);
    return bytes;
}

// The damages a repair is tried on, in a file of pages of `PageSize` bytes.
namespace damage {

constexpr int PageSize = 4096;
// The first page begins with the file's header.
constexpr int HeaderSize = 100;
// An encrypted file's pages, and the bytes it begins with that are not encrypted.
constexpr int EncryptedPageSize = 1024;
constexpr int EncryptedSaltSize = 16;

// Overwrites page `page` (counted from 1) with bytes that hold no b-tree page, from `from`.
inline void garblePage(QByteArray &bytes, qint64 page, quint32 seed = 11, int pageSize = PageSize,
                       int from = 0)
{
    const qint64 at = (page - 1) * pageSize;
    for (qint64 i = from; i < pageSize && at + i < bytes.size(); ++i)
        bytes[at + i] = char(((i + seed) * 37 + seed) & 0xff);
}

// The first page of a table or an index, as the file's list of tables gives it.
inline qint64 firstPageOf(const QString &path, const QString &table, const QString &password = QString())
{
    auto db = password.isEmpty()
                  ? platform::Database::open(path)
                  : platform::Database::open(path, true, false, QStringLiteral(";pwd=") + password);
    platform::SqlStatement root(db->handle(), QStringLiteral("SELECT rootpage FROM sqlite_master WHERE "
                                                             "type IN ('table', 'index') AND name = ?"));
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

// The pages of rows of a table, or of entries of an index, under its first page `root`.
inline QList<qint64> leavesOf(const QByteArray &bytes, qint64 root)
{
    QList<qint64> leaves, todo{root};
    while (!todo.isEmpty()) {
        const qint64 page = todo.takeLast();
        const auto *data = reinterpret_cast<const uchar *>(bytes.constData()) + (page - 1) * PageSize;
        if (data[0] != 0x05 && data[0] != 0x02) {
            leaves.append(page);
            continue;
        }
        todo.append(qFromBigEndian<quint32>(data + 8));
        for (int cell = 0; cell < qFromBigEndian<quint16>(data + 3); ++cell)
            todo.append(qFromBigEndian<quint32>(data + qFromBigEndian<quint16>(data + 12 + 2 * cell)));
    }
    return leaves;
}

// On the page of the table's rows that holds the most, the middle row's key misread: the
// last byte of its key gets the high bit, so that the key runs on into the row's fields.
inline void misreadKey(QByteArray &bytes, qint64 root)
{
    const QList<qint64> leaves = leavesOf(bytes, root);
    const auto rows = [&](qint64 page) {
        return qFromBigEndian<quint16>(bytes.constData() + (page - 1) * PageSize + 3);
    };
    const qint64 fullest = *std::max_element(leaves.begin(), leaves.end(),
                                             [&](qint64 a, qint64 b) { return rows(a) < rows(b); });
    auto *page = reinterpret_cast<uchar *>(bytes.data()) + (fullest - 1) * PageSize;
    int at = qFromBigEndian<quint16>(page + 8 + 2 * (rows(fullest) / 2));
    while (page[at] & 0x80) // the row's length
        ++at;
    for (++at; page[at] & 0x80;) // its key
        ++at;
    page[at] |= 0x80;
}

// Garbles the header of the first page of entries of each index of `table`.
inline void garbleIndexesOf(QByteArray &bytes, const QString &path, const QString &table)
{
    auto db = platform::Database::open(path);
    platform::SqlStatement roots(db->handle(),
                                 QStringLiteral("SELECT rootpage FROM sqlite_master WHERE "
                                                "type = 'index' AND tbl_name = ? AND rootpage > 0"));
    roots.bind(1, table);
    while (roots.step()) {
        const qint64 at = (leavesOf(bytes, roots.int64(0)).constLast() - 1) * PageSize;
        for (int i = 0; i < 8; ++i)
            bytes[at + i] = char((i * 37 + 11) & 0xff);
    }
}

// The first page and the pages it leads to: the list of tables of a file of a few dozen tables.
inline QList<qint64> listOfTablesPages(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData()) + HeaderSize;
    const auto at = [&](int offset) { return qFromBigEndian<quint32>(data + offset); };
    QList<qint64> pages{1};
    if (data[0] == 0x05) {
        pages.append(at(8));
        for (int cell = 0; cell < qFromBigEndian<quint16>(data + 3); ++cell)
            pages.append(at(qFromBigEndian<quint16>(data + 12 + 2 * cell) - HeaderSize));
    }
    return pages;
}

} // namespace damage
