#include "platform/db/Recordset.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/SqlStatement.h"
#include "platform/db/SqliteError.h"

#include <sqlcipher/sqlite3.h>

#include <QStringList>
#include <atomic>
#include <utility>

namespace platform {

namespace {

quint64 nextBookmarkOwner()
{
    static std::atomic<quint64> counter{0};
    return ++counter;
}

} // namespace

Recordset::Recordset(Database *database, RecordsetType type, QString source)
    : mDatabase(database), mType(type), mSource(std::move(source)), mBookmarkOwner(nextBookmarkOwner())
{
    mDatabase->attach(this);
}

Recordset::~Recordset()
{
    if (mDatabase)
        mDatabase->detach(this);
}

void Recordset::close()
{
    if (!mDatabase)
        return;
    emit rowsAboutToChange();
    closing();
    mDatabase->detach(this);
    mDatabase = nullptr;
    mEditMode = EditMode::None;
    emit rowsChanged();
}

void Recordset::renewBookmarkOwner()
{
    mBookmarkOwner = nextBookmarkOwner();
}

void Recordset::requireOpen() const
{
    if (!mDatabase)
        throw RuntimeError(err::ObjectInvalid,
                           QStringLiteral("Object invalid or no longer set: the record set is "
                                          "closed."));
}

void Recordset::raiseNoCurrent()
{
    throw RuntimeError(err::NoCurrentRecord, QStringLiteral("No current record."));
}

void Recordset::raiseDeleted()
{
    throw RuntimeError(err::RecordDeleted, QStringLiteral("Record is deleted."));
}

void Recordset::raiseNotSupported(const char *what)
{
    throw RuntimeError(
        err::NotSupported,
        QStringLiteral("Operation is not supported for this type of object (%1).").arg(QLatin1String(what)));
}

QString Recordset::index() const
{
    return {};
}

void Recordset::setIndex(const QString &)
{
    raiseNotSupported("Index");
}

void Recordset::seek(const QString &, const QVariant &, const QVariant &)
{
    raiseNotSupported("Seek");
}

void Recordset::findFirst(const QString &)
{
    raiseNotSupported("FindFirst");
}

void Recordset::findNext(const QString &)
{
    raiseNotSupported("FindNext");
}

void Recordset::findLast(const QString &)
{
    raiseNotSupported("FindLast");
}

void Recordset::findPrevious(const QString &)
{
    raiseNotSupported("FindPrevious");
}

qint64 Recordset::absolutePosition()
{
    raiseNotSupported("AbsolutePosition");
}

void Recordset::setAbsolutePosition(qint64)
{
    raiseNotSupported("AbsolutePosition");
}

QVariant Recordset::valueAt(qint64, int)
{
    raiseNotSupported("reading another row");
}

QVariantList Recordset::valuesOf(int)
{
    raiseNotSupported("reading every row");
}

const FieldInfo &Recordset::fieldInfo(int index) const
{
    if (index < 0 || index >= mFields.size())
        throw RuntimeError(
            err::ItemNotFound,
            QStringLiteral("Item not found in this collection: there is no field %1.").arg(index));
    return mFields[index];
}

int Recordset::fieldIndex(const QString &name) const
{
    if (mNamedFields != mFields.size()) {
        mFieldByName.clear();
        for (int i = 0; i < mFields.size(); ++i) {
            const QString key = mFields[i].name.toCaseFolded();
            if (!mFieldByName.contains(key))
                mFieldByName.insert(key, i);
        }
        mNamedFields = mFields.size();
    }
    const auto found = mFieldByName.constFind(name.toCaseFolded());
    if (found != mFieldByName.cend())
        return *found;
    throw RuntimeError(
        err::ItemNotFound,
        QStringLiteral("Item not found in this collection: there is no field '%1'.").arg(name));
}

QVariant Recordset::value(int field)
{
    requireOpen();
    fieldInfo(field);
    if (mEditMode == EditMode::AddNew)
        return mDirty[field] ? mBuffer[field] : QVariant();
    if (mEditMode == EditMode::Edit && mDirty[field])
        return mBuffer[field];
    return readCurrent(field);
}

void Recordset::setValue(int field, const QVariant &value)
{
    requireOpen();
    const FieldInfo &info = fieldInfo(field);
    if (mEditMode == EditMode::None)
        throw RuntimeError(err::UpdateWithoutEdit,
                           QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (info.baseTable.isEmpty() || info.baseTable.compare(mPrimaryTable, Qt::CaseInsensitive) != 0 ||
        info.type == JetType::Counter)
        throw RuntimeError(err::FieldNotUpdatable,
                           QStringLiteral("Field '%1' cannot be updated.").arg(info.name));
    const QVariant stored = toStorage(info, value);
    mBuffer[field] = stored;
    mDirty[field] = true;
}

void Recordset::addNew()
{
    requireOpen();
    if (mDatabase->readOnly())
        raiseReadOnlyDatabase(mDatabase->name());
    if (!mUpdatable)
        throw RuntimeError(err::NotUpdatable,
                           QStringLiteral("Cannot update. Database or object is read-only."));
    mEditMode = EditMode::AddNew;
    mBuffer = QVector<QVariant>(mFields.size());
    mDirty = QVector<bool>(mFields.size(), false);
}

void Recordset::edit()
{
    requireOpen();
    if (mDatabase->readOnly())
        raiseReadOnlyDatabase(mDatabase->name());
    if (!mUpdatable)
        throw RuntimeError(err::NotUpdatable,
                           QStringLiteral("Cannot update. Database or object is read-only."));
    if (!hasCurrent())
        raiseNoCurrent();
    mEditKey = currentKey();
    readCurrent(0); // a row deleted meanwhile cannot be edited
    mEditMode = EditMode::Edit;
    mBuffer = QVector<QVariant>(mFields.size());
    mDirty = QVector<bool>(mFields.size(), false);
}

void Recordset::cancelUpdate()
{
    requireOpen();
    if (mEditMode == EditMode::None)
        throw RuntimeError(err::UpdateWithoutEdit,
                           QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    mEditMode = EditMode::None;
    mBuffer.clear();
    mDirty.clear();
}

void Recordset::update()
{
    requireOpen();
    if (mEditMode == EditMode::None)
        throw RuntimeError(err::UpdateWithoutEdit,
                           QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    sqlite3 *db = mDatabase->handle();
    QStringList columns;
    QList<QVariant> values;
    for (int i = 0; i < mFields.size(); ++i) {
        if (!mDirty[i])
            continue;
        columns.append(quoteSqlName(mFields[i].baseColumn));
        values.append(mBuffer[i]);
    }
    const bool adding = mEditMode == EditMode::AddNew;
    mDatabase->prepareForWrite(this);
    qint64 key = mEditKey;
    if (adding) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteSqlName(mPrimaryTable));
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks.append(QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteSqlName(mPrimaryTable), columns.join(QLatin1String(", ")),
                           marks.join(QLatin1String(", ")));
        }
        SqlStatement insert(db, sql);
        for (int i = 0; i < values.size(); ++i)
            insert.bind(i + 1, values[i]);
        insert.step();
        key = sqlite3_last_insert_rowid(db);
    } else if (!columns.isEmpty()) {
        QStringList assignments;
        for (const QString &column : std::as_const(columns))
            assignments.append(column + QLatin1String(" = ?"));
        SqlStatement change(db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                    .arg(quoteSqlName(mPrimaryTable), assignments.join(QLatin1String(", "))));
        for (int i = 0; i < values.size(); ++i)
            change.bind(i + 1, values[i]);
        change.bindInt64(int(values.size()) + 1, key);
        change.step();
        if (sqlite3_changes(db) == 0)
            raiseDeleted();
    }
    mDatabase->noteWrite();
    mEditMode = EditMode::None;
    mBuffer.clear();
    mDirty.clear();
    afterUpdate(key, adding);
}

void Recordset::deleteRecord()
{
    requireOpen();
    if (mDatabase->readOnly())
        raiseReadOnlyDatabase(mDatabase->name());
    if (!mUpdatable)
        throw RuntimeError(err::NotUpdatable,
                           QStringLiteral("Cannot update. Database or object is read-only."));
    if (!hasCurrent())
        raiseNoCurrent();
    const qint64 key = currentKey();
    mDatabase->prepareForWrite(this);
    SqlStatement remove(mDatabase->handle(),
                        QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteSqlName(mPrimaryTable)));
    remove.bindInt64(1, key);
    remove.step();
    const bool removed = sqlite3_changes(mDatabase->handle()) > 0;
    mDatabase->noteWrite();
    mEditMode = EditMode::None;
    if (!removed)
        raiseDeleted();
    afterDelete();
}

} // namespace platform
