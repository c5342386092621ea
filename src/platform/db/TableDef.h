#pragma once

#include "platform/db/jet/JetDialect.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// One index of a table as record sets name it ("LastName", "PrimaryKey").
struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
    bool primary = false;
};

// A table's definition: its fields in table order, each with its type and defined size.
class TableDef {
  public:
    TableDef() = default;
    TableDef(QString name, QList<JetColumn> fields, QList<IndexDef> indexes);

    const QString &name() const { return mName; }
    const QList<JetColumn> &fields() const { return mFields; }
    const QList<IndexDef> &indexes() const { return mIndexes; }
    // The field of that name (any case); throws 3265 when there is none.
    const JetColumn &field(const QString &name) const;
    bool hasField(const QString &name) const;
    // The index of that name (any case); nullptr when there is none.
    const IndexDef *index(const QString &name) const;

  private:
    QString mName;
    QList<JetColumn> mFields;
    QList<IndexDef> mIndexes;
};

} // namespace platform
