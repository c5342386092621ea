#include "platform/db/Fields.h"

#include "platform/db/Recordset.h"

namespace platform {

int Fields::count() const
{
    return mRecordset->fieldCount();
}

Field Fields::operator[](int index) const
{
    mRecordset->fieldInfo(index);
    return Field(mRecordset, index);
}

Field Fields::operator[](const QString &name) const
{
    return Field(mRecordset, mRecordset->fieldIndex(name));
}

} // namespace platform
