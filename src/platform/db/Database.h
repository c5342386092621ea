#pragma once

#include "platform/db/FieldValue.h"
#include "platform/db/FileUseLock.h"
#include "platform/db/SqlConnection.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/TableDef.h"
#include "platform/db/jet/JetDialect.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class Recordset;

enum class RecordsetType {
    Default, // a table name gives a table-type record set, anything else a dynaset
    Table,
    Dynaset,
    Snapshot,
};

// An open database file. A file without a password is plain SQLite; a file with one is
// encrypted with it and held exclusively while open. Query texts, record sources and
// criteria are Jet SQL, translated once when they are opened.
class Database {
  public:
    // Opens an existing file; never creates one. `connect` is ";pwd=<password>" or empty.
    // 3024 missing file, 3031 wrong or missing password, 3049 damaged file, 3343 a file of
    // another program (never written to), 3045 file in use (an exclusive open while any
    // other connection of the program has it, any open while one has it exclusively, and
    // any open while another copy of the program has it, unless neither writes), 3051
    // no permission to read it. Copies left beside the file by a password change or a
    // repair that was cut short are removed (one that may be the only whole copy only once
    // the file has opened whole); a user's file named alike stays. A file that cannot be
    // written (see cannotBeWritten) opens read-only whatever `readOnly` says; every write
    // to it is then refused with 3027.
    static std::unique_ptr<Database> open(const QString &path, bool exclusive = false, bool readOnly = false,
                                          const QString &connect = QString());
    // Opens a damaged file read-only as it is, for a user who cannot have it repaired where
    // it is: neither its mark nor the check at the open refuses it. 3049 only where the
    // engine cannot read its list of tables; the other refusals are those of open.
    static std::unique_ptr<Database> openAsItIs(const QString &path, bool exclusive = false,
                                                const QString &connect = QString());
    // True when the file (the one a link leads to) or its folder may not be written by
    // this user, or is marked read-only for everyone.
    static bool cannotBeWritten(const QString &path);
    // Makes a new database file from a schema text; refuses (3204) when the file exists.
    static void create(const QString &path, const QString &schemaSql);
    // What a repair kept of one table: the rows the repaired file holds, and the rows the
    // damaged file was seen to hold (at least: a page that cannot be read hides its rows).
    // `whole` only when the repair can show that every row of the table was kept: the
    // table's own pages all read, or every key a whole index of it lists kept.
    struct RepairedTable {
        QString name;
        qint64 kept = 0;
        qint64 held = 0;
        bool whole = true;
    };
    struct RepairReport {
        QString backup; // the damaged original, kept beside the repaired file
        QList<RepairedTable> tables;
        // The damaged file ended part way through a page, or before the last page its
        // header counts: whatever the pages cut off held is gone.
        bool cutShort = false;
        // The whole pages the damaged file has, and the pages its header says it had
        // (0 when the header does not tell).
        qint64 pages = 0;
        qint64 claimedPages = 0;
        // Tables not of the program's own whose definitions could not be read, left out.
        QStringList leftOut;
        // The file's list of tables could not be read: its tables were looked for page by
        // page, and what pages lost with it held is not known.
        bool listLost = false;
        // The table of that name (any case); an empty one when the file has none.
        RepairedTable table(const QString &name) const;
        bool lostRows() const;
        // The repaired file, held against every other copy of the program (this copy's own
        // opens come in) until the last copy of the report is let go: it is read and the
        // file opened again with no other copy slipping in between.
        std::shared_ptr<FileUseLock> hold;
    };
    // Checks the file and copies every readable row into a fresh file that takes its place;
    // the original is kept beside it as a backup. An encrypted file is read page by page with
    // the key its password gives. Rows that the file's tables no longer reach are looked for
    // on its other pages, and a table of the program's own whose stored definition cannot be
    // read, or a file whose list of tables is lost, gets the program's definitions. 3031 only
    // when the password opens no page of the file.
    // The file a link leads to is repaired and keeps its permissions, owner and group; the
    // link stays. The file is held alone meanwhile: 3045 while another copy of the program
    // or another program has it, 3027 where the repaired file could not keep its owner or
    // group. Killed at any moment, the path holds the damaged file or the whole repaired one.
    // `progress`, when given, is called every little while with the step under way and how
    // far it has come (done of total; total 0 when that cannot be told).
    enum class RepairStep { Reading, Copying, Searching, Checking };
    using RepairProgress = std::function<void(RepairStep step, qint64 done, qint64 total)>;
    static RepairReport repair(const QString &path, const QString &password = QString(),
                               const RepairProgress &progress = {});

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void close();
    bool isOpen() const { return mConnection.isOpen(); }
    const QString &name() const { return mPath; }
    bool exclusive() const { return mExclusive; }
    bool readOnly() const { return mReadOnly; }
    bool hasPassword() const { return !mPassword.isEmpty(); }

    // Whether writing a file at `path` would write over this database: its file, or one
    // the engine or the program keeps beside it (journals, backups, the work copies of a
    // repair or a password change), whatever link or second name leads there. A file not
    // there yet is told by the name its path, or the link it is, resolves to.
    enum class FileOfDatabase { None, TheFile, KeptBeside };
    FileOfDatabase fileOfDatabase(const QString &path) const;

    // Runs one action query (Jet SQL) and returns the number of rows it changed, which
    // recordsAffected() also gives afterwards.
    qint64 execute(const QString &jetSql);
    qint64 recordsAffected() const { return mRecordsAffected; }

    // Writes of many rows of one table, for commands that change a whole list at once: one
    // statement, compiled once and run for each value, the field `field` holding that value
    // and each field of `fixed` its own value in every row. The caller holds the
    // transaction, and rolls it back when one of them fails.
    using FieldValues = QList<QPair<QString, QVariant>>;
    // Adds a row for each value and returns the number added; a row the table's unique
    // index already holds is not added, and is counted in `duplicates`.
    qint64 addRows(const QString &table, const QString &field, const QVariantList &values,
                   const FieldValues &fixed, qint64 *duplicates = nullptr);
    // Deletes the rows that hold each value and the fixed values; returns the number deleted.
    qint64 deleteRows(const QString &table, const QString &field, const QVariantList &values,
                      const FieldValues &fixed);

    // A table name, a stored query name or a query text.
    std::unique_ptr<Recordset> openRecordset(const QString &source,
                                             RecordsetType type = RecordsetType::Default);
    // Told the source of every record set any database goes to open, for tests that count
    // what a command opens; unset by default.
    static std::function<void(const QString &source)> &openingObserver();

    QList<TableDef> tableDefs();
    TableDef tableDef(const QString &table); // 3265 when there is no such table

    // Sets (old ""), changes or removes (new "") the password of a database opened
    // exclusively. The file the path leads to (a symbolic link stays as it is) is rewritten
    // into an owner-only copy beside it, which replaces it with its permissions and owner
    // only once it opens with the new password; open record sets are closed. Refused (3045)
    // while another program has the file open, and (3027) before anything changes where the
    // copy could not keep the file's owner or group.
    void newPassword(const QString &oldPassword, const QString &newPassword);

    void beginTrans();
    void commitTrans();
    void rollback();

    // The columns of a table or view (any case), nullptr when there is none; what the
    // query translator looks names up in.
    const QList<JetColumn> *columnsOf(const QString &tableOrView);
    // The column lists of a table's indexes, each in index order (empty for a view or an
    // unknown name); remembered like the columns.
    const QList<QStringList> &indexColumnsOf(const QString &table);
    JetCatalog catalog();
    // The field descriptions of a compiled query, kept per query text: describing seventy
    // columns costs more than reading fifty rows.
    QList<FieldInfo> fieldsOf(const QString &sql, sqlite3_stmt *statement);
    bool isTable(const QString &name);
    bool hasTriggers(const QString &table);
    bool isView(const QString &name);
    QString canonicalName(const QString &tableOrView); // as the schema spells it

    // For record sets: the connection, and the bookkeeping that keeps open record sets
    // consistent with writes made through any of them.
    sqlite3 *handle() const;
    void attach(Recordset *recordset);
    void detach(Recordset *recordset);
    // With `table`, only the record sets that may read that table are settled: the caller
    // writes that one table and nothing else (no trigger of its own writes elsewhere).
    void prepareForWrite(Recordset *writer = nullptr, const QString &table = QString());
    void noteWrite();
    quint64 dataVersion() const { return mDataVersion; }

    // A count of rows read ahead of need (the start counts the contacts on the thread that
    // opens the file while the main window is built). The first list that counts with the
    // same text takes it; any write, here or by another connection, makes it void.
    void countAhead(const QString &countingSql);
    std::optional<qint64> takeCountAhead(const QString &countingSql);

  private:
    Database() = default;
    static std::unique_ptr<Database> openFile(const QString &path, bool exclusive, bool readOnly,
                                              const QString &connect, bool asItIs);
    void openConnection();
    void forgetCatalog();
    void closeRecordsets();
    // The statement of addRows and deleteRows, its parameters the value, then the fixed
    // values; lists that may read the table have settled.
    SqlStatement rowsStatement(const QString &table, const QString &field, const FieldValues &fixed,
                               bool adding);

    SqlConnection mConnection;
    FileUseLock mUseLock;
    QString mPath;
    // The name the engine has the file by (every link followed), which it names the file by
    // when it reports damage; empty once closed.
    QString mEngineName;
    QString mPassword;
    bool mExclusive = false;
    bool mReadOnly = false;
    bool mAsItIs = false;
    qint64 mRecordsAffected = 0;
    quint64 mDataVersion = 0;
    QSet<Recordset *> mRecordsets;
    QHash<QString, std::optional<QList<JetColumn>>> mCatalog;
    QHash<QString, QList<QStringList>> mIndexColumns;
    QHash<QString, QString> mObjectTypes; // lower-case name -> "table" / "view"
    QHash<QString, QString> mObjectNames; // lower-case name -> name as spelt
    QHash<QString, QList<FieldInfo>> mQueryFields;
    QHash<QString, TableDef> mTableDefs; // lower-case name -> its definition
    struct CountAhead {
        QString sql;
        qint64 rows = 0;
        qint64 changesMade = 0; // by this connection when counted
        qint64 fileVersion = 0; // moves with every commit of another connection
    };
    std::optional<CountAhead> mCountAhead;
};

} // namespace platform
