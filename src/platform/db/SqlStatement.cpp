#include "platform/db/SqlStatement.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/SqliteError.h"

#include <sqlcipher/sqlite3.h>

#include <utility>

namespace platform {

namespace {

bool onlyBlanksLeft(const char *tail)
{
    for (const char *p = tail; p && *p; ++p) {
        if (*p == ';' || *p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
            continue;
        return false;
    }
    return true;
}

} // namespace

QString quoteSqlName(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

SqlStatement::SqlStatement(sqlite3 *db, const QString &sql) : mDb(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()) + 1, &mStmt, &tail);
    if (rc != SQLITE_OK) {
        mStmt = nullptr;
        raiseSqliteError(db, rc, true);
    }
    if (!mStmt)
        throw RuntimeError(err::SyntaxError, QStringLiteral("The query text is empty."));
    if (!onlyBlanksLeft(tail)) {
        finalize();
        throw RuntimeError(err::CharactersAfterEnd,
                           QStringLiteral("Characters found after end of SQL statement."));
    }
}

SqlStatement::~SqlStatement()
{
    finalize();
}

SqlStatement::SqlStatement(SqlStatement &&other) noexcept
    : mDb(std::exchange(other.mDb, nullptr)), mStmt(std::exchange(other.mStmt, nullptr))
{
}

SqlStatement &SqlStatement::operator=(SqlStatement &&other) noexcept
{
    if (this != &other) {
        finalize();
        mDb = std::exchange(other.mDb, nullptr);
        mStmt = std::exchange(other.mStmt, nullptr);
    }
    return *this;
}

bool SqlStatement::readOnly() const
{
    return mStmt && sqlite3_stmt_readonly(mStmt);
}

bool SqlStatement::step()
{
    const int rc = sqlite3_step(mStmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(mStmt);
    raiseSqliteError(mDb, rc);
}

void SqlStatement::reset()
{
    if (mStmt)
        sqlite3_reset(mStmt);
}

void SqlStatement::finalize()
{
    if (mStmt)
        sqlite3_finalize(mStmt);
    mStmt = nullptr;
}

void SqlStatement::bind(int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(mStmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::Char:
        sqlite3_bind_int64(mStmt, index, value.toLongLong());
        return;
    case QMetaType::Bool:
        sqlite3_bind_int64(mStmt, index, value.toBool() ? -1 : 0);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(mStmt, index, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob(mStmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(mStmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

void SqlStatement::bindInt64(int index, qint64 value)
{
    sqlite3_bind_int64(mStmt, index, value);
}

void SqlStatement::bindNull(int index)
{
    sqlite3_bind_null(mStmt, index);
}

int SqlStatement::columnCount() const
{
    return sqlite3_column_count(mStmt);
}

bool SqlStatement::isNull(int column) const
{
    return sqlite3_column_type(mStmt, column) == SQLITE_NULL;
}

qint64 SqlStatement::int64(int column) const
{
    return sqlite3_column_int64(mStmt, column);
}

QString SqlStatement::text(int column) const
{
    const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(mStmt, column));
    return QString::fromUtf8(chars, sqlite3_column_bytes(mStmt, column));
}

QVariant SqlStatement::raw(int column) const
{
    switch (sqlite3_column_type(mStmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(mStmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(mStmt, column));
    case SQLITE_TEXT:
        return QVariant(text(column));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(mStmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(mStmt, column)));
    }
    default:
        return QVariant();
    }
}

} // namespace platform
