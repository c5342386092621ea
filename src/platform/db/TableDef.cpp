#include "platform/db/TableDef.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

#include <utility>

namespace platform {

TableDef::TableDef(QString name, QList<JetColumn> fields, QList<IndexDef> indexes)
    : mName(std::move(name)), mFields(std::move(fields)), mIndexes(std::move(indexes))
{
}

const JetColumn &TableDef::field(const QString &name) const
{
    for (const JetColumn &column : mFields)
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    throw RuntimeError(err::ItemNotFound,
                       QStringLiteral("Item not found in this collection: the table '%1' has "
                                      "no field '%2'.")
                           .arg(mName, name));
}

bool TableDef::hasField(const QString &name) const
{
    for (const JetColumn &column : mFields)
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

const IndexDef *TableDef::index(const QString &name) const
{
    for (const IndexDef &index : mIndexes)
        if (index.name.compare(name, Qt::CaseInsensitive) == 0)
            return &index;
    return nullptr;
}

} // namespace platform
