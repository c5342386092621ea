#include "editor/DataControlLink.h"

#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"

DataControlLink::DataControlLink(platform::DataControl &data1, std::function<QString()> categoryCaption)
    : mData1(data1), mCategoryCaption(std::move(categoryCaption))
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
    return mCategoryCaption ? mCategoryCaption() : QString();
}
