#include "platform/db/Field.h"

#include "platform/db/Recordset.h"

namespace platform {

QString Field::name() const
{
    return mRecordset->fieldInfo(mIndex).name;
}

JetType Field::type() const
{
    return mRecordset->fieldInfo(mIndex).type;
}

int Field::size() const
{
    const FieldInfo &info = mRecordset->fieldInfo(mIndex);
    return info.type == JetType::Text ? info.size : 0;
}

QString Field::sourceTable() const
{
    return mRecordset->fieldInfo(mIndex).baseTable;
}

QString Field::sourceField() const
{
    return mRecordset->fieldInfo(mIndex).baseColumn;
}

QVariant Field::value() const
{
    return mRecordset->value(mIndex);
}

void Field::setValue(const QVariant &value)
{
    mRecordset->setValue(mIndex, value);
}

} // namespace platform
