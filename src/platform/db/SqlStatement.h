#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// One compiled SQLite statement, finalized when it goes. Failures become run-time errors.
class SqlStatement {
  public:
    SqlStatement() = default;
    // Compiles exactly one statement; anything after it but blanks and semicolons is refused
    // (3142), so a second statement can never ride along.
    SqlStatement(sqlite3 *db, const QString &sql);
    ~SqlStatement();
    SqlStatement(SqlStatement &&other) noexcept;
    SqlStatement &operator=(SqlStatement &&other) noexcept;
    SqlStatement(const SqlStatement &) = delete;
    SqlStatement &operator=(const SqlStatement &) = delete;

    bool isValid() const { return mStmt != nullptr; }
    sqlite3_stmt *handle() const { return mStmt; }
    bool readOnly() const;

    // True while it delivers a row; false when done.
    bool step();
    void reset();
    void finalize();

    void bind(int index, const QVariant &value); // 1-based, as SQLite counts
    void bindInt64(int index, qint64 value);
    void bindNull(int index);

    int columnCount() const;
    bool isNull(int column) const;
    qint64 int64(int column) const;
    QString text(int column) const;
    // The value as stored: integer, real, text or blob; an invalid QVariant for Null.
    QVariant raw(int column) const;

  private:
    sqlite3 *mDb = nullptr;
    sqlite3_stmt *mStmt = nullptr;
};

// A table or column name quoted for SQLite.
QString quoteSqlName(const QString &name);

} // namespace platform
