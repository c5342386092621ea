#include "platform/db/DataControl.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

namespace platform {

DataControl::DataControl(QObject *parent) : QObject(parent) {}

DataControl::~DataControl() = default;

void DataControl::setDatabase(Database *database)
{
    if (database != mDatabase)
        clear();
    mDatabase = database;
}

void DataControl::refresh()
{
    if (!mDatabase)
        throw RuntimeError(err::ObjectInvalid, QStringLiteral("The data control has no database."));
    // Open first: a record source that fails leaves the previous rows in place.
    std::unique_ptr<Recordset> opened = mDatabase->openRecordset(mRecordSource, mType);
    ++mRefreshCount;
    emit recordsetAboutToChange();
    mRecordset = std::move(opened);
    connect(mRecordset.get(), &Recordset::currentChanged, this, &DataControl::reposition);
    emit recordsetChanged();
    emit reposition();
}

void DataControl::clear()
{
    if (!mRecordset)
        return;
    emit recordsetAboutToChange();
    mRecordset.reset();
    emit recordsetChanged();
}

} // namespace platform
