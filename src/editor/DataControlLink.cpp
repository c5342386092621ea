#include "editor/DataControlLink.h"

#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"

DataControlLink::DataControlLink(platform::DataControl &data1, View view)
    : mData1(data1), mView(std::move(view))
{
}

platform::Recordset &DataControlLink::Recordset()
{
    if (!mData1.recordset())
        throw platform::RuntimeError(platform::err::NoCurrentRecord, QStringLiteral("No current record."));
    return *mData1.recordset();
}

platform::Database &DataControlLink::Database()
{
    if (!mData1.database())
        throw platform::RuntimeError(platform::err::NoCurrentRecord, QStringLiteral("No current record."));
    return *mData1.database();
}

void DataControlLink::Refresh()
{
    mData1.refresh();
}

QString DataControlLink::CategoryCaption() const
{
    return mView.categoryCaption ? mView.categoryCaption() : QString();
}

bool DataControlLink::ShowsSelectedOnly() const
{
    return mView.selectedOnly && mView.selectedOnly();
}

bool DataControlLink::ShowsFindResult() const
{
    return mView.findResult && mView.findResult();
}

qint64 DataControlLink::CategoryShown() const
{
    return mView.categoryShown ? mView.categoryShown() : -1;
}
