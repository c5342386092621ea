#include "platform/db/QueryRecordset.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

#include <sqlcipher/sqlite3.h>

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <unordered_map>

namespace platform {

namespace {

constexpr int FetchBlock = 64;

// Where the word `word` stands in the outermost SELECT, skipping quoted texts, names and
// parentheses; -1 when it does not.
int outermostWord(const QString &sql, QLatin1String word)
{
    const int n = int(word.size());
    int depth = 0;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            for (++i; i < sql.size(); ++i) {
                if (sql[i] == close) {
                    if (close != u']' && i + 1 < sql.size() && sql[i + 1] == close)
                        ++i;
                    else
                        break;
                }
            }
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && sql.mid(i, n).compare(word, Qt::CaseInsensitive) == 0) {
            const bool startsWord = i == 0 || !(sql[i - 1].isLetterOrNumber() || sql[i - 1] == u'_');
            const bool endsWord =
                i + n >= sql.size() || !(sql[i + n].isLetterOrNumber() || sql[i + n] == u'_');
            if (startsWord && endsWord)
                return i;
        }
    }
    return -1;
}

// Puts `text` just before the FROM of the outermost SELECT; an empty result when there is
// no such FROM.
QString insertBeforeFrom(const QString &sql, const QString &text)
{
    const int from = outermostWord(sql, QLatin1String("from"));
    return from < 0 ? QString() : sql.left(from) + text + QLatin1Char(' ') + sql.mid(from);
}

// Replaces every quoted text of an SQL condition by a numbered parameter, collecting the
// texts in `values`, so conditions that differ only in their texts share one statement.
QString textsAsParameters(const QString &condition, QStringList *values)
{
    QString shape;
    shape.reserve(condition.size());
    for (int i = 0; i < condition.size(); ++i) {
        const QChar c = condition[i];
        if (c == u'"' || c == u'[' || c == u'`') {
            // A quoted name stays as it is.
            const QChar close = c == u'[' ? QChar(u']') : c;
            const int start = i;
            for (++i; i < condition.size(); ++i) {
                if (condition[i] != close)
                    continue;
                if (close != u']' && i + 1 < condition.size() && condition[i + 1] == close)
                    ++i;
                else
                    break;
            }
            shape += QStringView(condition).mid(start, i - start + 1);
        } else if (c == u'\'') {
            QString text;
            for (++i; i < condition.size(); ++i) {
                if (condition[i] == u'\'') {
                    if (i + 1 < condition.size() && condition[i + 1] == u'\'') {
                        text += u'\'';
                        ++i;
                    } else {
                        break;
                    }
                } else {
                    text += condition[i];
                }
            }
            values->append(text);
            shape += QStringLiteral("?%1").arg(values->size());
        } else {
            shape += c;
        }
    }
    return shape;
}

// Completes the outermost ORDER BY of a one-table list with the rest of the columns of the
// index that answers it and then the rowid, all in the direction of the sort, so that no two
// rows tie whatever plan runs the text, and SQLite still reads that index instead of
// sorting. An empty result when the order is not plain columns one index answers.
QString withIndexOrderCompleted(const QString &sql, const QList<QStringList> &indexes)
{
    const int order = outermostWord(sql, QLatin1String("order"));
    if (order < 0)
        return {};
    const int limit = outermostWord(sql, QLatin1String("limit"));
    const int end = limit < 0 ? int(sql.size()) : limit;
    static const QRegularExpression orderBy(QStringLiteral("^order\\s+by\\s+"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString clause = sql.mid(order, end - order).trimmed();
    const auto head = orderBy.match(clause);
    if (!head.hasMatch())
        return {};
    static const QRegularExpression term(
        QStringLiteral(R"re(^(?:(?:"[^"]+"|\w+)\.)?(?:"([^"]+)"|(\w+))(\s+DESC)?$)re"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    int descending = -1;
    for (const QString &item : clause.mid(head.capturedLength()).split(u',')) {
        const auto m = term.match(item.trimmed());
        if (!m.hasMatch())
            return {};
        const int desc = m.captured(3).isEmpty() ? 0 : 1;
        if (descending >= 0 && desc != descending)
            return {};
        descending = desc;
        names.append(m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
    }
    const QString direction = descending == 1 ? QStringLiteral(" DESC") : QString();
    for (const QStringList &index : indexes) {
        if (index.size() < names.size())
            continue;
        bool leads = true;
        for (int i = 0; i < names.size() && leads; ++i)
            leads = index[i].compare(names[i], Qt::CaseInsensitive) == 0;
        if (!leads)
            continue;
        QString completed = sql.left(end);
        while (!completed.isEmpty() && completed.back().isSpace())
            completed.chop(1);
        for (int i = int(names.size()); i < index.size(); ++i)
            completed += QStringLiteral(", ") + quoteSqlName(index[i]) + direction;
        completed += QStringLiteral(", rowid") + direction;
        return completed + QLatin1Char(' ') + sql.mid(end);
    }
    return {};
}

} // namespace

QueryRecordset::QueryRecordset(Database *database, const QString &jetSql, bool snapshot)
    : Recordset(database, snapshot ? RecordsetType::Snapshot : RecordsetType::Dynaset, jetSql),
      mLetGo(this), mCache(16 * FetchBlock)
{
    mLetGo.setInterval(0);
    connect(&mLetGo, &QTimer::timeout, this, &QueryRecordset::letGoSome);
    sqlite3 *db = mDatabase->handle();
    const JetTranslation translation =
        translateJetSql(jetSql, JetTextKind::ReadOnlyQuery, mDatabase->catalog());
    mSql = translation.sql;
    mTables = translation.tables;
    static const QRegularExpression distinct(QStringLiteral("^\\s*SELECT\\s+DISTINCT\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    // A list of one table is ordered by its rowid last, so no two rows tie and a find can
    // trust the order its matches come in. Tried first, so the text is compiled once; a
    // table without a rowid, or a view, keeps the order it has.
    SqlStatement probe;
    bool rowidLast = false;
    if (translation.tables.size() == 1 && !distinct.match(mSql).hasMatch() &&
        outermostWord(mSql, QLatin1String("group")) < 0) {
        const QString total =
            withIndexOrderCompleted(mSql, mDatabase->indexColumnsOf(translation.tables.front()));
        if (!total.isEmpty()) {
            try {
                probe = SqlStatement(db, total);
                mSql = total;
                rowidLast = true;
            } catch (const RuntimeError &) {
                // A stored query has no rowid: its list keeps the order it has.
            }
        }
    }
    if (!probe.isValid())
        probe = SqlStatement(db, mSql);
    // A record source only ever reads: a text that would write is refused before it runs.
    if (!probe.readOnly())
        throw RuntimeError(
            err::InvalidOperation,
            QStringLiteral("A record source must be a query that only reads; this one would change "
                           "data and was not run."));
    mFields = mDatabase->fieldsOf(mSql, probe.handle());

    for (const FieldInfo &field : std::as_const(mFields))
        if (!field.baseTable.isEmpty()) {
            mPrimaryTable = field.baseTable;
            break;
        }
    int keyField = -1;
    for (int i = 0; i < mFields.size() && !mPrimaryTable.isEmpty(); ++i) {
        if (mFields[i].rowidAlias && mFields[i].baseTable.compare(mPrimaryTable, Qt::CaseInsensitive) == 0) {
            int sameName = 0;
            for (const FieldInfo &other : std::as_const(mFields))
                sameName += other.name.compare(mFields[i].name, Qt::CaseInsensitive) == 0;
            if (sameName == 1)
                keyField = i;
            break;
        }
    }
    mMaterialized = true;
    if (!mPrimaryTable.isEmpty() && keyField >= 0) {
        mKeyedSql = mSql;
        mStreamKeyColumn = keyField;
        mKeyName = mFields[keyField].name;
        mStream = std::move(probe);
        mMaterialized = false;
        mTotalOrder = rowidLast;
    } else if (!mPrimaryTable.isEmpty() && !distinct.match(mSql).hasMatch()) {
        const QString keyed = insertBeforeFrom(
            mSql, QStringLiteral(", %1.rowid AS \"__qkey\"").arg(quoteSqlName(mPrimaryTable)));
        if (!keyed.isEmpty()) {
            try {
                mStream = SqlStatement(db, keyed);
                mKeyedSql = keyed;
                mStreamKeyColumn = int(mFields.size());
                mKeyName = QStringLiteral("__qkey");
                mMaterialized = false;
                mTotalOrder = rowidLast;
            } catch (const RuntimeError &) {
                // The table is not named in the text (a stored query hides it): read it whole.
            }
        }
    }
    if (mMaterialized) {
        mStream = std::move(probe);
        mStream.finalize();
    }
    mSimple = !mMaterialized;
    for (const FieldInfo &field : std::as_const(mFields))
        mSimple = mSimple && field.baseTable.compare(mPrimaryTable, Qt::CaseInsensitive) == 0;
    mUpdatable = !snapshot && !mMaterialized;
    start();
}

void QueryRecordset::start()
{
    stopReadingAhead();
    mAheadRefused = false;
    mKeys.clear();
    mCountedRows = -1;
    mDeleted.clear();
    mKeyIndex.clear();
    mPositionOfKey.clear();
    mKeyIndexValid = false;
    mCache.clear();
    mPosition = -1;
    if (mMaterialized) {
        mRows.clear();
        SqlStatement all(mDatabase->handle(), mSql);
        while (all.step()) {
            QVector<QVariant> row(mFields.size());
            for (int i = 0; i < mFields.size(); ++i)
                row[i] = readColumn(all.handle(), i, mFields[i]);
            mRows.push_back(std::move(row));
            mKeys.push_back(qint64(mKeys.size()));
        }
        mKeysComplete = true;
        mStreamDone = true;
        mStreamLive = false;
    } else {
        mStream.reset();
        mKeysComplete = false;
        mStreamDone = false;
        mStreamLive = false;
        mStreamPosition = -1;
    }
    collectUpTo(0);
    mEmptyAtStart = keyCount() == 0;
    if (!mEmptyAtStart)
        mPosition = 0;
}

void QueryRecordset::closing()
{
    mLetGo.stop();
    stopReadingAhead();
    mStream.finalize();
    mFetch.finalize();
    mFallback.finalize();
    mFinds.clear();
    mCache.clear();
    mKeys.clear();
    mRows.clear();
    mKeysComplete = true;
    mStreamLive = false;
    mStreamDone = true;
    mPosition = -1;
}

bool QueryRecordset::stepStream()
{
    if (mReadingAhead)
        return stepAhead();
    if (mStreamDone || mKeysComplete)
        return false;
    if (mStream.step()) {
        mKeys.push_back(sqlite3_column_int64(mStream.handle(), mStreamKeyColumn));
        mStreamPosition = keyCount() - 1;
        mStreamLive = true;
        letGoWhenIdle();
        return true;
    }
    mStream.reset();
    mStreamDone = true;
    mStreamLive = false;
    mKeysComplete = true;
    return false;
}

void QueryRecordset::letGoWhenIdle()
{
    // A thread without an event loop never waits for the user: its lists let go when they
    // are read through or closed.
    if (!mWalking && !mLetGo.isActive() && QAbstractEventDispatcher::instance())
        mLetGo.start();
}

void QueryRecordset::setWalking(bool walking)
{
    mWalking = walking;
    if (!walking && mDatabase)
        letGoWhenIdle();
}

void QueryRecordset::letGoSome()
{
    // A walk asks for the rows itself, in order; it lets go once it ends.
    if (mWalking) {
        mLetGo.stop();
        return;
    }
    // A few milliseconds a step: typing and scrolling go on between the steps.
    constexpr int RowsPerTry = 1024;
    constexpr qint64 StepMilliseconds = 4;
    QElapsedTimer step;
    step.start();
    try {
        while (collectMoreRows(RowsPerTry))
            if (step.elapsed() >= StepMilliseconds)
                return;
        settleBeforeWrite();
    } catch (const RuntimeError &) {
        // What could not be read now is read when it is needed, and fails there; the query
        // lets go all the same.
        stopReadingAhead();
        mStream.reset();
        mStreamLive = false;
        mStreamDone = true;
    }
    mLetGo.stop();
}

void QueryRecordset::collectUpTo(qint64 position)
{
    while (!mKeysComplete && keyCount() <= position)
        stepStream();
}

void QueryRecordset::collectAll()
{
    if (mKeysComplete)
        return;
    // Stepping the query itself decodes every column of every row; the rest of the keys come
    // quicker from the query asked for its key alone, when it can be trusted.
    if (!mReadingAhead)
        startReadingAhead(false);
    while (stepStream()) {
    }
}

bool QueryRecordset::streamHasWorked() const
{
    // A query that sorted its rows, or scanned far to reach the keys it has, has done most of
    // its work already: asking again for the keys alone would filter (and sort) it all anew.
    return mStreamLive && (sqlite3_stmt_status(mStream.handle(), SQLITE_STMTSTATUS_SORT, 0) > 0 ||
                           sqlite3_stmt_status(mStream.handle(), SQLITE_STMTSTATUS_FULLSCAN_STEP, 0) > 1000);
}

void QueryRecordset::settleBeforeWrite()
{
    if (!mDatabase)
        return;
    collectAll();
    if (mStreamLive || !mStreamDone) {
        mStream.reset();
        mStreamLive = false;
        mStreamDone = true;
    }
}

bool QueryRecordset::mayRead(const QString &table) const
{
    if (!mDatabase)
        return false;
    // Every name the query text holds, subqueries included: the table itself, or any view
    // (whose tables are not looked into), may be read.
    static const QRegularExpression identifier(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    for (auto it = identifier.globalMatch(mSql); it.hasNext();) {
        const QString name = it.next().captured();
        if (name.compare(table, Qt::CaseInsensitive) == 0 || mDatabase->isView(name))
            return true;
    }
    return false;
}

bool QueryRecordset::isDeleted(qint64 position) const
{
    return std::binary_search(mDeleted.begin(), mDeleted.end(), position);
}

qint64 QueryRecordset::deletedBefore(qint64 position) const
{
    return qint64(std::lower_bound(mDeleted.begin(), mDeleted.end(), position) - mDeleted.begin());
}

qint64 QueryRecordset::nextLive(qint64 from)
{
    for (qint64 p = from;; ++p) {
        collectUpTo(p);
        if (p >= keyCount())
            return keyCount();
        if (!isDeleted(p))
            return p;
    }
}

qint64 QueryRecordset::previousLive(qint64 from)
{
    qint64 p = std::min(from, keyCount() - 1);
    while (p >= 0 && isDeleted(p))
        --p;
    return p;
}

bool QueryRecordset::bof() const
{
    if (!mDatabase)
        return true;
    const bool empty = mKeysComplete && mKeys.size() == mDeleted.size();
    return empty || mPosition < 0;
}

bool QueryRecordset::eof() const
{
    if (!mDatabase)
        return true;
    const bool empty = mKeysComplete && mKeys.size() == mDeleted.size();
    return empty || (mKeysComplete && mPosition >= keyCount());
}

bool QueryRecordset::hasCurrent() const
{
    return mDatabase && mPosition >= 0 && mPosition < keyCount();
}

void QueryRecordset::moveTo(qint64 position)
{
    // A query standing on a row holds the file's read lock, which keeps every other program
    // from writing to it: once a walk leaves the query (at its end, or by a jump elsewhere), the
    // query lets go. While keys are still being collected the query is their source and stays.
    if (mKeysComplete && mStreamLive && position != mStreamPosition) {
        mStream.reset();
        mStreamLive = false;
        mStreamDone = true;
    }
    mPosition = position;
    emit currentChanged();
}

void QueryRecordset::moveFirst()
{
    requireOpen();
    const qint64 first = nextLive(0);
    if (first >= keyCount())
        raiseNoCurrent();
    // Walking again from the top: run the query again beside the keys, so that rows are
    // read as it steps instead of fetched one block at a time. A walk that went to the end
    // leaves the query standing on the last row, so it starts again then too.
    const bool standingOnFirst = mStreamLive && !mStreamDone && mStreamPosition == first;
    if (mKeysComplete && !mMaterialized && !standingOnFirst) {
        mStream.reset();
        mStreamDone = false;
        if (mStream.step() && sqlite3_column_int64(mStream.handle(), mStreamKeyColumn) == mKeys[first]) {
            mStreamLive = true;
            mStreamPosition = first;
            letGoWhenIdle();
        } else {
            mStream.reset();
            mStreamDone = true;
            mStreamLive = false;
        }
    }
    moveTo(first);
}

void QueryRecordset::moveLast()
{
    requireOpen();
    collectAll();
    const qint64 last = previousLive(keyCount() - 1);
    if (last < 0)
        raiseNoCurrent();
    moveTo(last);
}

void QueryRecordset::moveNext()
{
    requireOpen();
    if (eof())
        raiseNoCurrent();
    if (mPosition < 0) {
        moveTo(nextLive(0));
        return;
    }
    const bool following = mKeysComplete && mStreamLive && !mStreamDone && mStreamPosition == mPosition;
    const qint64 next = nextLive(mPosition + 1);
    if (following && next < keyCount()) {
        if (mStream.step() && sqlite3_column_int64(mStream.handle(), mStreamKeyColumn) == mKeys[next]) {
            mStreamPosition = next;
            letGoWhenIdle();
        } else {
            mStream.reset();
            mStreamDone = true;
            mStreamLive = false;
        }
    }
    moveTo(next);
}

void QueryRecordset::movePrevious()
{
    requireOpen();
    if (bof())
        raiseNoCurrent();
    const qint64 previous = previousLive(mPosition - 1);
    moveTo(previous < 0 ? -1 : previous);
}

qint64 QueryRecordset::recordCount()
{
    requireOpen();
    if (!mKeysComplete) {
        // Counting is much quicker than collecting every key in list order, which a long
        // list only needs once it is scrolled far or searched.
        if (mCountedRows < 0)
            mCountedRows = countRows();
        if (mCountedRows >= 0)
            return mCountedRows;
        collectAll();
    }
    return keyCount() - qint64(mDeleted.size());
}

qint64 QueryRecordset::countRows()
{
    // The order does not change the count, and without it SQLite counts from the smallest
    // index instead of walking the list's order.
    QString text = mKeyedSql;
    const int order = outermostWord(text, QLatin1String("order"));
    if (order >= 0) {
        if (outermostWord(text, QLatin1String("limit")) >= 0)
            return -1; // which rows a limit keeps depends on the order
        text.truncate(order);
    }
    // A plain list of columns counts as its rows do: asked of the tables themselves, SQLite
    // counts a whole table from its pages without reading a row.
    static const QRegularExpression plainColumns([] {
        const QString name = QStringLiteral(R"((?:\w+|"[^"]*"|\[[^\]]*\]))");
        const QString column = QStringLiteral(R"((?:\*|%1(?:\.(?:\*|%1))?)(?:\s+AS\s+%1)?)").arg(name);
        return QRegularExpression(QStringLiteral(R"(^\s*SELECT\s+%1(?:\s*,\s*%1)*\s+FROM\s)").arg(column),
                                  QRegularExpression::CaseInsensitiveOption);
    }());
    const int from = outermostWord(text, QLatin1String("from"));
    const bool plain =
        from >= 0 && plainColumns.match(text).hasMatch() && outermostWord(text, QLatin1String("limit")) < 0 &&
        outermostWord(text, QLatin1String("group")) < 0 && outermostWord(text, QLatin1String("having")) < 0 &&
        outermostWord(text, QLatin1String("union")) < 0 &&
        outermostWord(text, QLatin1String("intersect")) < 0 &&
        outermostWord(text, QLatin1String("except")) < 0;
    const QString counting = plain ? QStringLiteral("SELECT count(*) ") + text.mid(from)
                                   : QStringLiteral("SELECT count(*) FROM (%1)").arg(text);
    if (const std::optional<qint64> counted = mDatabase->takeCountAhead(counting))
        return *counted;
    try {
        SqlStatement count(mDatabase->handle(), counting);
        return count.step() ? count.int64(0) : -1;
    } catch (const RuntimeError &) {
        return -1;
    }
}

bool QueryRecordset::collectMoreRows(int rows)
{
    if (!mDatabase || mKeysComplete)
        return false;
    // A list read ahead a step at a time is read by its keys alone only when its order is
    // total: every key then has one place, whichever query gives it.
    if (!mReadingAhead && !mAheadRefused)
        mAheadRefused = !startReadingAhead(true);
    for (int i = 0; i < rows && stepStream(); ++i) {
    }
    return !mKeysComplete;
}

bool QueryRecordset::startReadingAhead(bool inTotalOrderOnly)
{
    if ((inTotalOrderOnly && !mTotalOrder) || mMaterialized || streamHasWorked())
        return false;
    // That query's rows must begin with the keys already collected, or it is not trusted.
    try {
        mAhead = SqlStatement(mDatabase->handle(),
                              QStringLiteral("SELECT %1 FROM (%2)").arg(quoteSqlName(mKeyName), mKeyedSql));
        for (qint64 n = 0; n < keyCount(); ++n) {
            if (!mAhead.step() || mAhead.int64(0) != mKeys[std::size_t(n)]) {
                mAhead.finalize();
                return false;
            }
        }
    } catch (const RuntimeError &) {
        mAhead.finalize();
        return false;
    }
    // From here the keys come from this query; the list's own query no longer stands on
    // the last key read, and rows are fetched by key.
    mStream.reset();
    mStreamLive = false;
    mReadingAhead = true;
    letGoWhenIdle();
    return true;
}

bool QueryRecordset::stepAhead()
{
    if (mAhead.step()) {
        mKeys.push_back(mAhead.int64(0));
        letGoWhenIdle();
        return true;
    }
    stopReadingAhead();
    mStreamDone = true;
    mKeysComplete = true;
    return false;
}

void QueryRecordset::stopReadingAhead()
{
    mAhead.finalize();
    mReadingAhead = false;
}

void QueryRecordset::requery()
{
    requireOpen();
    emit rowsAboutToChange();
    renewBookmarkOwner();
    start();
    emit rowsChanged();
    emit currentChanged();
}

Bookmark QueryRecordset::bookmark()
{
    requireOpen();
    if (!hasCurrent())
        raiseNoCurrent();
    return Bookmark{mPosition, bookmarkOwner()};
}

void QueryRecordset::setBookmark(const Bookmark &bookmark)
{
    requireOpen();
    if (bookmark.owner != bookmarkOwner() || bookmark.value < 0 || bookmark.value >= keyCount())
        throw RuntimeError(err::InvalidBookmark, QStringLiteral("Not a valid bookmark."));
    if (isDeleted(bookmark.value))
        raiseDeleted();
    moveTo(bookmark.value);
}

qint64 QueryRecordset::currentKey()
{
    if (!hasCurrent())
        raiseNoCurrent();
    return mKeys[mPosition];
}

QVariant QueryRecordset::readCurrent(int field)
{
    requireOpen();
    if (!hasCurrent())
        raiseNoCurrent();
    return readAt(mPosition, field);
}

QVariant QueryRecordset::readAt(qint64 position, int field)
{
    if (isDeleted(position))
        raiseDeleted();
    if (mMaterialized)
        return mRows[position][field];
    if (mStreamLive && !mStreamDone && mStreamPosition == position)
        return readColumn(mStream.handle(), field, mFields[field]);
    const QVector<QVariant> &row = rowAt(position);
    if (row.isEmpty())
        raiseDeleted();
    return row[field];
}

const QVector<QVariant> &QueryRecordset::rowAt(qint64 position)
{
    if (mCacheVersion != mDatabase->dataVersion()) {
        mCache.clear();
        mCacheVersion = mDatabase->dataVersion();
    }
    if (!mCache.contains(position))
        fetchAround(position);
    if (const QVector<QVariant> *row = mCache.object(position))
        return *row;
    return mMissingRow;
}

void QueryRecordset::fetchAround(qint64 position)
{
    sqlite3 *db = mDatabase->handle();
    int fetchKeyColumn = mStreamKeyColumn;
    if (!mFetch.isValid()) {
        QStringList marks;
        for (int i = 0; i < FetchBlock; ++i)
            marks.append(QStringLiteral("?"));
        if (mSimple) {
            QStringList columns;
            for (const FieldInfo &field : std::as_const(mFields))
                columns.append(quoteSqlName(field.baseColumn));
            mFetch = SqlStatement(db, QStringLiteral("SELECT %1, rowid FROM %2 WHERE rowid IN (%3)")
                                          .arg(columns.join(QLatin1String(", ")), quoteSqlName(mPrimaryTable),
                                               marks.join(QLatin1String(", "))));
        } else {
            mFetch = SqlStatement(
                db, QStringLiteral("SELECT * FROM (%1) WHERE %2 IN (%3)")
                        .arg(mKeyedSql, quoteSqlName(mKeyName), marks.join(QLatin1String(", "))));
        }
    }
    if (mSimple)
        fetchKeyColumn = int(mFields.size());

    const qint64 first = position / FetchBlock * FetchBlock;
    const qint64 end = std::min(first + FetchBlock, keyCount());
    QList<qint64> wanted;
    for (qint64 p = first; p < end; ++p)
        if (p == position || (!isDeleted(p) && !mCache.contains(p)))
            wanted.append(p);
    mFetch.reset();
    for (int i = 0; i < FetchBlock; ++i) {
        if (i < wanted.size())
            mFetch.bindInt64(i + 1, mKeys[wanted[i]]);
        else
            mFetch.bindNull(i + 1);
    }
    QList<qint64> found;
    // A query that joins can give one key in several rows; those are kept to be placed by
    // their order once every row of the block is in.
    std::vector<std::pair<qint64, QVector<QVariant>>> fetched;
    bool repeated = false;
    while (mFetch.step()) {
        const qint64 key = sqlite3_column_int64(mFetch.handle(), fetchKeyColumn);
        QVector<QVariant> row(mFields.size());
        for (int i = 0; i < mFields.size(); ++i)
            row[i] = readColumn(mFetch.handle(), i, mFields[i]);
        for (qint64 p : std::as_const(wanted)) {
            if (mKeys[p] != key)
                continue;
            if (found.contains(p)) {
                repeated = true;
            } else {
                mCache.insert(p, new QVector<QVariant>(row));
                found.append(p);
            }
        }
        if (!mSimple)
            fetched.emplace_back(key, std::move(row));
    }
    mFetch.reset();
    if (repeated)
        placeRepeatedRows(wanted, fetched);
    for (qint64 p : std::as_const(wanted)) {
        if (found.contains(p))
            continue;
        // A row changed so that the query no longer selects it still belongs to the set:
        // read its own table's columns directly.
        QVector<QVariant> row;
        if (!mSimple) {
            if (!mFallback.isValid()) {
                QStringList columns;
                for (const FieldInfo &field : std::as_const(mFields))
                    columns.append(field.baseTable.compare(mPrimaryTable, Qt::CaseInsensitive) == 0
                                       ? quoteSqlName(field.baseColumn)
                                       : QStringLiteral("NULL"));
                mFallback = SqlStatement(
                    db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                            .arg(columns.join(QLatin1String(", ")), quoteSqlName(mPrimaryTable)));
            }
            mFallback.reset();
            mFallback.bindInt64(1, mKeys[p]);
            if (mFallback.step()) {
                row.resize(mFields.size());
                for (int i = 0; i < mFields.size(); ++i)
                    row[i] = readColumn(mFallback.handle(), i, mFields[i]);
            }
            mFallback.reset();
        }
        mCache.insert(p, new QVector<QVariant>(row));
    }
}

void QueryRecordset::placeRepeatedRows(const QList<qint64> &wanted,
                                       const std::vector<std::pair<qint64, QVector<QVariant>>> &fetched)
{
    // The query gives the rows of one key in the list's order, so the n-th row of a key in
    // the list is the n-th the fetch gave for it. Counting the rows before one needs every key.
    collectAll();
    buildKeyIndex();
    for (qint64 p : wanted) {
        const qint64 key = mKeys[p];
        qint64 occurrence = occurrenceAt(p);
        for (const auto &[fetchedKey, row] : fetched) {
            if (fetchedKey == key && occurrence-- == 0) {
                mCache.insert(p, new QVector<QVariant>(row));
                break;
            }
        }
    }
}

qint64 QueryRecordset::occurrenceAt(qint64 position) const
{
    qint64 before = 0;
    forPositionsOfKey(mKeys[position], [&](qint64 p) {
        if (p >= position)
            return false;
        ++before;
        return true;
    });
    return before;
}

qint64 QueryRecordset::positionOfOccurrence(qint64 key, qint64 occurrence) const
{
    qint64 position = -1;
    forPositionsOfKey(key, [&](qint64 p) {
        if (occurrence-- > 0)
            return true;
        position = p;
        return false;
    });
    return position;
}

void QueryRecordset::buildKeyIndex()
{
    if (mKeyIndexValid)
        return;
    mKeyIndex.clear();
    mPositionOfKey.clear();
    mKeyIndexValid = true;
    mKeysRepeat = false;
    if (mKeys.empty())
        return;
    const auto [low, high] = std::minmax_element(mKeys.begin(), mKeys.end());
    // A table at most a few times as long as the list.
    qint64 span = 0;
    if (!__builtin_sub_overflow(*high, *low, &span) && span < 4 * keyCount() + 64) {
        mKeyBase = *low;
        mPositionOfKey.assign(std::size_t(span) + 1, -1);
        bool unique = true;
        for (qint64 p = 0; p < keyCount() && unique; ++p) {
            qint64 &slot = mPositionOfKey[std::size_t(mKeys[p] - mKeyBase)];
            unique = slot < 0;
            slot = p;
        }
        if (unique)
            return;
        mPositionOfKey.clear(); // a key in several rows (a join): the sorted pairs list them all
    }
    mKeyIndex.reserve(mKeys.size());
    for (qint64 p = 0; p < keyCount(); ++p)
        mKeyIndex.emplace_back(mKeys[p], p);
    std::sort(mKeyIndex.begin(), mKeyIndex.end());
    mKeysRepeat = std::adjacent_find(mKeyIndex.begin(), mKeyIndex.end(), [](const auto &a, const auto &b) {
                      return a.first == b.first;
                  }) != mKeyIndex.end();
}

template <typename Visit> void QueryRecordset::forPositionsOfKey(qint64 key, Visit visit) const
{
    if (!mPositionOfKey.empty()) {
        if (key < mKeyBase || key - mKeyBase >= qint64(mPositionOfKey.size()))
            return;
        const qint64 p = mPositionOfKey[std::size_t(key - mKeyBase)];
        if (p >= 0)
            visit(p);
        return;
    }
    auto range = std::equal_range(mKeyIndex.begin(), mKeyIndex.end(), std::make_pair(key, qint64(0)),
                                  [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto it = range.first; it != range.second; ++it)
        if (!visit(it->second))
            return;
}

SqlStatement &QueryRecordset::findStatement(const QString &shape, bool everyRow)
{
    constexpr std::size_t Kept = 4;
    // No criterion begins with a star, so the question asked of every row is kept apart.
    const QString kept = everyRow ? QLatin1Char('*') + shape : shape;
    auto hit = std::find_if(mFinds.begin(), mFinds.end(), [&](const auto &f) { return f.first == kept; });
    if (hit == mFinds.end()) {
        // Asked of every row, the question says in a second column whether the row matches.
        const QString text = everyRow
                                 ? QStringLiteral("SELECT %1, CASE WHEN (%3) THEN 1 ELSE 0 END FROM (%2)")
                                 : QStringLiteral("SELECT %1 FROM (%2) WHERE (%3)");
        SqlStatement made(mDatabase->handle(), text.arg(quoteSqlName(mKeyName), mKeyedSql, shape));
        if (!made.readOnly())
            throw RuntimeError(err::InvalidOperation, QStringLiteral("A criterion cannot change data."));
        if (mFinds.size() >= Kept)
            mFinds.pop_back();
        mFinds.emplace(mFinds.begin(), kept, std::move(made));
    } else if (hit != mFinds.begin()) {
        std::rotate(mFinds.begin(), hit, hit + 1);
    }
    return mFinds.front().second;
}

void QueryRecordset::find(const QString &criterion, Find direction)
{
    requireOpen();
    const QString source = mTables.isEmpty() ? mPrimaryTable : mTables.front();
    const QString condition = translateJetFindCriterion(criterion, source, mDatabase->catalog());
    sqlite3 *db = mDatabase->handle();
    const qint64 current = mPosition;
    qint64 best = -1;
    auto consider = [&](qint64 p) {
        if (isDeleted(p))
            return false;
        switch (direction) {
        case Find::First:
            best = best < 0 ? p : std::min(best, p);
            return true;
        case Find::Next:
            if (p > current) {
                best = best < 0 ? p : std::min(best, p);
                return true;
            }
            return false;
        case Find::Last:
            best = std::max(best, p);
            return false;
        case Find::Previous:
            if (p < current)
                best = std::max(best, p);
            return false;
        }
        return false;
    };

    if (mMaterialized) {
        SqlStatement matches(db, QStringLiteral("SELECT * FROM (%1) WHERE (%2)").arg(mSql, condition));
        if (!matches.readOnly())
            throw RuntimeError(err::InvalidOperation, QStringLiteral("A criterion cannot change data."));
        std::vector<bool> taken(mRows.size(), false);
        bool done = false;
        while (!done && matches.step()) {
            QVector<QVariant> row(mFields.size());
            for (int i = 0; i < mFields.size(); ++i)
                row[i] = readColumn(matches.handle(), i, mFields[i]);
            for (qint64 p = 0; p < qint64(mRows.size()); ++p)
                if (!taken[p] && mRows[p] == row) {
                    taken[p] = true;
                    done = consider(p) && mTotalOrder;
                    break;
                }
        }
    } else {
        collectAll();
        buildKeyIndex();
        QStringList texts;
        QString shape = textsAsParameters(condition, &texts);
        // More texts than the engine takes as parameters stay in the statement as the
        // criterion quoted them.
        if (texts.size() > sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1)) {
            shape = condition;
            texts.clear();
        }
        SqlStatement &matches = findStatement(shape, mKeysRepeat);
        matches.reset();
        for (int i = 0; i < texts.size(); ++i)
            matches.bind(i + 1, texts[i]);
        // Only a list in a total order hands its matches over in list order; otherwise
        // every match is looked at, so ties on the sort fields cannot pick the wrong one.
        bool done = false;
        if (mKeysRepeat) {
            // A key in several rows (a join) does not say which of them matched: every row is
            // read in list order, and the n-th row of a key is the n-th position holding it.
            std::unordered_map<qint64, qint64> seen;
            while (!done && matches.step()) {
                const qint64 key = matches.int64(0);
                const qint64 occurrence = seen[key]++;
                if (matches.int64(1) == 0)
                    continue;
                const qint64 p = positionOfOccurrence(key, occurrence);
                if (p >= 0)
                    done = consider(p) && mTotalOrder;
            }
        } else {
            while (!done && matches.step()) {
                forPositionsOfKey(matches.int64(0), [&](qint64 p) {
                    done = consider(p) && mTotalOrder;
                    return !done;
                });
            }
        }
        matches.reset();
    }
    mNoMatch = best < 0;
    if (!mNoMatch)
        moveTo(best);
}

void QueryRecordset::findFirst(const QString &criterion)
{
    find(criterion, Find::First);
}

void QueryRecordset::findNext(const QString &criterion)
{
    find(criterion, Find::Next);
}

void QueryRecordset::findLast(const QString &criterion)
{
    find(criterion, Find::Last);
}

void QueryRecordset::findPrevious(const QString &criterion)
{
    find(criterion, Find::Previous);
}

qint64 QueryRecordset::absolutePosition()
{
    requireOpen();
    if (!hasCurrent())
        return -1;
    return mPosition - deletedBefore(mPosition);
}

qint64 QueryRecordset::positionForOrdinal(qint64 ordinal)
{
    if (ordinal < 0)
        return -1;
    qint64 p = ordinal;
    for (;;) {
        collectUpTo(p);
        if (p >= keyCount())
            return -1;
        const qint64 at = p - deletedBefore(p);
        if (at == ordinal && !isDeleted(p))
            return p;
        p += at < ordinal ? ordinal - at : 1;
    }
}

void QueryRecordset::setAbsolutePosition(qint64 ordinal)
{
    requireOpen();
    const qint64 p = positionForOrdinal(ordinal);
    if (p < 0)
        throw RuntimeError(err::InvalidArgument,
                           QStringLiteral("Invalid argument: there is no row %1.").arg(ordinal));
    moveTo(p);
}

QVariant QueryRecordset::valueAt(qint64 ordinal, int field)
{
    requireOpen();
    fieldInfo(field);
    const qint64 p = positionForOrdinal(ordinal);
    if (p < 0)
        raiseNoCurrent();
    return readAt(p, field);
}

QVariantList QueryRecordset::valuesOf(int field)
{
    requireOpen();
    fieldInfo(field);
    collectAll();
    QVariantList values;
    values.reserve(keyCount() - qint64(mDeleted.size()));
    // The list's own key is known for every row without reading one.
    const bool key = !mMaterialized && field == mStreamKeyColumn;
    for (qint64 p = 0; p < keyCount(); ++p)
        if (!isDeleted(p))
            values.append(key ? QVariant(mKeys[std::size_t(p)]) : readAt(p, field));
    return values;
}

void QueryRecordset::afterUpdate(qint64 key, bool added)
{
    if (added) {
        emit rowsAboutToChange();
        mKeys.push_back(key);
        mKeyIndexValid = false;
        mEmptyAtStart = false;
        mLastModified = Bookmark{keyCount() - 1, bookmarkOwner()};
        emit rowsChanged();
        return;
    }
    mCache.remove(mPosition);
    mLastModified = Bookmark{mPosition, bookmarkOwner()};
    emit rowChanged(mPosition - deletedBefore(mPosition));
}

void QueryRecordset::afterDelete()
{
    emit rowsAboutToChange();
    mDeleted.insert(std::lower_bound(mDeleted.begin(), mDeleted.end(), mPosition), mPosition);
    mCache.remove(mPosition);
    emit rowsChanged();
}

} // namespace platform
