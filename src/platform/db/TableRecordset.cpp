#include "platform/db/TableRecordset.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

#include <sqlcipher/sqlite3.h>

namespace platform {

TableRecordset::TableRecordset(Database *database, const QString &table)
    : Recordset(database, RecordsetType::Table, table), mTable(table)
{
    SqlStatement all(mDatabase->handle(), QStringLiteral("SELECT * FROM %1").arg(quoteSqlName(mTable)));
    for (int i = 0; i < all.columnCount(); ++i)
        mFields.append(describeColumn(mDatabase->handle(), all.handle(), i));
    mPrimaryTable = mTable;
    mUpdatable = true;
    moveFirst();
}

void TableRecordset::closing()
{
    mState = State::Empty;
    mRow.clear();
}

QString TableRecordset::orderBy(bool descending) const
{
    QStringList parts;
    for (const QString &field : mIndexFields)
        parts.append(quoteSqlName(field) + (descending ? QLatin1String(" DESC") : QLatin1String("")));
    parts.append(descending ? QStringLiteral("rowid DESC") : QStringLiteral("rowid"));
    return QStringLiteral(" ORDER BY ") + parts.join(QLatin1String(", "));
}

QString TableRecordset::selectKeys() const
{
    QStringList parts{QStringLiteral("rowid")};
    for (const QString &field : mIndexFields)
        parts.append(quoteSqlName(field));
    return QStringLiteral("SELECT %1 FROM %2").arg(parts.join(QLatin1String(", ")), quoteSqlName(mTable));
}

bool TableRecordset::takeRow(SqlStatement &statement)
{
    if (!statement.step())
        return false;
    mKey = statement.int64(0);
    mKeyValues.clear();
    for (int i = 0; i < mIndexFields.size(); ++i)
        mKeyValues.append(statement.raw(i + 1));
    mState = State::On;
    mDeleted = false;
    mRowLoaded = false;
    return true;
}

void TableRecordset::refreshEmpty()
{
    SqlStatement any(mDatabase->handle(),
                     QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(quoteSqlName(mTable)));
    if (!any.step())
        mState = State::Empty;
}

void TableRecordset::moveFirst()
{
    requireOpen();
    SqlStatement first(mDatabase->handle(), selectKeys() + orderBy(false) + QLatin1String(" LIMIT 1"));
    if (!takeRow(first))
        mState = State::Empty;
    emit currentChanged();
}

void TableRecordset::moveLast()
{
    requireOpen();
    SqlStatement last(mDatabase->handle(), selectKeys() + orderBy(true) + QLatin1String(" LIMIT 1"));
    if (!takeRow(last))
        mState = State::Empty;
    emit currentChanged();
}

bool TableRecordset::neighbourAt(int level, bool forward, const QString &condition, bool bindsValue)
{
    // The fields before `level` keep the current row's values; the field at `level` moves on.
    QStringList where;
    for (int i = 0; i < level; ++i)
        where.append(quoteSqlName(mIndexFields[i]) + QLatin1String(" IS ?"));
    where.append(condition);
    QStringList order;
    for (int i = level; i < mIndexFields.size(); ++i)
        order.append(quoteSqlName(mIndexFields[i]) + (forward ? QLatin1String("") : QLatin1String(" DESC")));
    order.append(forward ? QStringLiteral("rowid") : QStringLiteral("rowid DESC"));
    SqlStatement neighbour(mDatabase->handle(),
                           selectKeys() + QLatin1String(" WHERE ") + where.join(QLatin1String(" AND ")) +
                               QLatin1String(" ORDER BY ") + order.join(QLatin1String(", ")) +
                               QLatin1String(" LIMIT 1"));
    int slot = 1;
    for (int i = 0; i < level; ++i)
        neighbour.bind(slot++, mKeyValues[i]);
    if (bindsValue) {
        if (level == mIndexFields.size())
            neighbour.bindInt64(slot, mKey);
        else
            neighbour.bind(slot, mKeyValues[level]);
    }
    return takeRow(neighbour);
}

void TableRecordset::moveBeyond(bool forward)
{
    // The next row in index order is the nearest one that agrees with the current row on the
    // most leading fields: each try is one index seek, however many rows share a name.
    const QVector<QVariant> values = mKeyValues;
    const qint64 key = mKey;
    bool found = false;
    for (int level = int(mIndexFields.size()); level >= 0 && !found; --level) {
        mKeyValues = values;
        mKey = key;
        if (level == mIndexFields.size()) {
            found = neighbourAt(level, forward,
                                forward ? QStringLiteral("rowid > ?") : QStringLiteral("rowid < ?"), true);
            continue;
        }
        const QString field = quoteSqlName(mIndexFields[level]);
        const bool isNull = values[level].isNull();
        if (forward) {
            // Null comes first, so every value follows it.
            found = isNull ? neighbourAt(level, true, field + QLatin1String(" IS NOT NULL"), false)
                           : neighbourAt(level, true, field + QLatin1String(" > ?"), true);
        } else if (!isNull) {
            found = neighbourAt(level, false, field + QLatin1String(" < ?"), true) ||
                    neighbourAt(level, false, field + QLatin1String(" IS NULL"), false);
        }
    }
    if (!found) {
        mKeyValues = values;
        mKey = key;
        mState = forward ? State::Eof : State::Bof;
        refreshEmpty();
    }
    emit currentChanged();
}

void TableRecordset::moveNext()
{
    requireOpen();
    if (mState == State::Eof || mState == State::Empty)
        raiseNoCurrent();
    if (mState == State::Bof) {
        moveFirst();
        return;
    }
    moveBeyond(true);
}

void TableRecordset::movePrevious()
{
    requireOpen();
    if (mState == State::Bof || mState == State::Empty)
        raiseNoCurrent();
    if (mState == State::Eof) {
        moveLast();
        return;
    }
    moveBeyond(false);
}

qint64 TableRecordset::recordCount()
{
    requireOpen();
    SqlStatement count(mDatabase->handle(),
                       QStringLiteral("SELECT count(*) FROM %1").arg(quoteSqlName(mTable)));
    count.step();
    return count.int64(0);
}

void TableRecordset::requery()
{
    requireOpen();
    emit rowsAboutToChange();
    renewBookmarkOwner();
    moveFirst();
    emit rowsChanged();
}

Bookmark TableRecordset::bookmark()
{
    requireOpen();
    if (mState != State::On)
        raiseNoCurrent();
    return Bookmark{mKey, bookmarkOwner()};
}

void TableRecordset::setBookmark(const Bookmark &bookmark)
{
    requireOpen();
    if (bookmark.owner != bookmarkOwner())
        throw RuntimeError(err::InvalidBookmark, QStringLiteral("Not a valid bookmark."));
    SqlStatement row(mDatabase->handle(), selectKeys() + QLatin1String(" WHERE rowid = ?"));
    row.bindInt64(1, bookmark.value);
    if (!takeRow(row))
        raiseDeleted();
    emit currentChanged();
}

void TableRecordset::setIndex(const QString &name)
{
    requireOpen();
    const TableDef def = mDatabase->tableDef(mTable);
    const IndexDef *index = def.index(name);
    if (!index)
        throw RuntimeError(err::NotAnIndex, QStringLiteral("'%1' is not an index in this table.").arg(name));
    mIndexName = index->name;
    mIndexFields = index->fields;
    mIndexInfo.clear();
    for (const QString &field : std::as_const(mIndexFields))
        mIndexInfo.append(fieldInfo(fieldIndex(field)));
    // The primary key of a rowid table is its rowid: ordering by it alone is the same order.
    if (index->primary && mIndexInfo.size() == 1 && mIndexInfo.front().rowidAlias) {
        mIndexFields.clear();
    }
    moveFirst();
}

void TableRecordset::seek(const QString &comparison, const QVariant &key1, const QVariant &key2)
{
    requireOpen();
    if (mIndexName.isEmpty())
        throw RuntimeError(err::NoCurrentIndex, QStringLiteral("Operation invalid without a current index."));
    const QString op = comparison.trimmed();
    if (op != u"=" && op != u">=" && op != u">" && op != u"<=" && op != u"<")
        throw RuntimeError(err::InvalidOperation,
                           QStringLiteral("'%1' is not a Seek comparison.").arg(comparison));
    QList<QVariant> keys{key1};
    if (key2.isValid())
        keys.append(key2);
    QStringList columns = mIndexFields;
    QList<FieldInfo> infos = mIndexInfo;
    if (columns.isEmpty()) { // the rowid primary key
        columns.append(QStringLiteral("rowid"));
        infos = mIndexInfo;
    }
    if (keys.size() > columns.size())
        keys = keys.mid(0, columns.size());
    QStringList names, marks;
    QList<QVariant> stored;
    for (int i = 0; i < keys.size(); ++i) {
        names.append(columns[i] == u"rowid" ? columns[i] : quoteSqlName(columns[i]));
        marks.append(QStringLiteral("?"));
        stored.append(toStorage(infos.value(i), keys[i]));
    }
    const bool backward = op.startsWith(QLatin1Char('<'));
    if (op != u"=" && !mIndexFields.isEmpty()) {
        // An inequality on several fields, tried one field level at a time so that each try
        // is an index seek: the keys' own level with the comparison asked for, then each outer
        // level strictly beyond its key (and, going down, the rows that hold Null there).
        mKeyValues = QVector<QVariant>(stored.begin(), stored.end());
        bool found = false;
        for (int level = int(stored.size()) - 1; level >= 0 && !found; --level) {
            const QString field = quoteSqlName(mIndexFields[level]);
            const QString compare =
                level == stored.size() - 1 ? op : (backward ? QStringLiteral("<") : QStringLiteral(">"));
            found = neighbourAt(level, !backward, field + QLatin1Char(' ') + compare + QLatin1String(" ?"),
                                true) ||
                    (backward && neighbourAt(level, false, field + QLatin1String(" IS NULL"), false));
        }
        mNoMatch = !found;
        if (mNoMatch)
            mState = State::Eof;
        emit currentChanged();
        return;
    }
    QString condition;
    if (op == u"=") {
        QStringList parts;
        for (int i = 0; i < names.size(); ++i)
            parts.append(names[i] + QLatin1String(" = ?"));
        condition = parts.join(QLatin1String(" AND "));
    } else {
        condition = names.front() + QLatin1Char(' ') + op + QLatin1String(" ?");
    }
    SqlStatement found(mDatabase->handle(), selectKeys() + QLatin1String(" WHERE ") + condition +
                                                orderBy(backward) + QLatin1String(" LIMIT 1"));
    for (int i = 0; i < (op == u"=" ? stored.size() : 1); ++i)
        found.bind(i + 1, stored[i]);
    mNoMatch = !takeRow(found);
    if (mNoMatch)
        mState = State::Eof;
    emit currentChanged();
}

qint64 TableRecordset::currentKey()
{
    if (mState != State::On)
        raiseNoCurrent();
    return mKey;
}

void TableRecordset::loadRow()
{
    if (mRowLoaded && mRowVersion == mDatabase->dataVersion())
        return;
    SqlStatement row(mDatabase->handle(),
                     QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoteSqlName(mTable)));
    row.bindInt64(1, mKey);
    if (!row.step()) {
        mDeleted = true;
        raiseDeleted();
    }
    mRow.resize(mFields.size());
    for (int i = 0; i < mFields.size(); ++i)
        mRow[i] = readColumn(row.handle(), i, mFields[i]);
    mRowLoaded = true;
    mRowVersion = mDatabase->dataVersion();
}

QVariant TableRecordset::readCurrent(int field)
{
    requireOpen();
    if (mState != State::On)
        raiseNoCurrent();
    if (mDeleted)
        raiseDeleted();
    loadRow();
    return mRow[field];
}

void TableRecordset::afterUpdate(qint64 key, bool added)
{
    mLastModified = Bookmark{key, bookmarkOwner()};
    if (added) {
        emit rowsAboutToChange();
        if (mState == State::Empty)
            mState = State::Bof;
        emit rowsChanged();
        return;
    }
    // The edited row stays current, at its place under its new index values.
    SqlStatement row(mDatabase->handle(), selectKeys() + QLatin1String(" WHERE rowid = ?"));
    row.bindInt64(1, key);
    takeRow(row);
    emit rowChanged(-1);
}

void TableRecordset::afterDelete()
{
    emit rowsAboutToChange();
    mDeleted = true;
    mRowLoaded = false;
    emit rowsChanged();
}

} // namespace platform
