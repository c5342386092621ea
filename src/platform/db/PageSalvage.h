#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct sqlite3;

namespace platform {

// The rows of a damaged plain file that none of its readable tables reaches any more: a
// table whose first page is garbled, or whose stored definition cannot be read, or a file
// whose list of tables is lost, still has its other pages whole. The engine reads each such
// page as a table of its own, and its rows go to the table being filled that has as many
// columns as they have fields, each field of a kind its column holds.
namespace PageSalvage {

// `db` holds the repaired file as main, with nothing attached; `scratch` is a copy of the
// damaged file, with a readable header, that this may change; `readRoots` are the first
// pages of the tables whose rows were already copied through their own pages; `tables`
// are the tables of the repaired file that rows may still be missing from. Returns the
// rows found and not yet in each of those tables, which have been added to it.
// `progress`, when given, is told the pages read of the pages to read as it goes.
using Progress = std::function<void(qint64 done, qint64 total)>;
QHash<QString, qint64> run(sqlite3 *db, const QString &scratch, const QSet<quint32> &readRoots,
                           const QStringList &tables, const Progress &progress = {});

// An entry of a file's list of tables.
struct ListEntry {
    QString type, name, tableName;
    qint64 rootPage = 0;
    QString sql;
};

// The entries of the list of tables found on the pages of `scratch` (as run() takes it)
// other than its first, for a file whose list of tables cannot be read from its first page:
// the rest of the list may stand on pages of its own.
QList<ListEntry> listEntries(sqlite3 *db, const QString &scratch, const Progress &progress = {});

// Whether the pages of the index whose first page is `root`, in `scratch`, hold together:
// each an index page, each entry and each page it leads to within the file, none reached
// twice. The engine may read past a page whose entries do not.
bool indexHoldsTogether(const QString &scratch, quint32 root);

// The rows on the pages of the table whose first page is `root`, in `scratch`; nothing when a
// page or a row of them does not hold together: each a table page, each row's key rising
// within the bounds the pages above it set, its fields told on its page, no more of them
// than `columns`, and adding up to its length, each page it leads to within the file and
// none reached twice.
std::optional<qint64> tableRows(const QString &scratch, quint32 root, int columns);

} // namespace PageSalvage

} // namespace platform
