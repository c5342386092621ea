#pragma once

#include "platform/db/jet/JetDialect.h"

#include <QString>
#include <QVariant>

namespace platform {

class Recordset;

// One field of a record set's current row, as `rs.Fields("LastName")` gives it.
class Field {
  public:
    Field(Recordset *recordset, int index) : mRecordset(recordset), mIndex(index) {}

    QString name() const;
    JetType type() const;
    int size() const; // defined size of a text field, 0 otherwise
    int ordinalPosition() const { return mIndex; }
    QString sourceTable() const;
    QString sourceField() const;

    QVariant value() const;
    void setValue(const QVariant &value);

  private:
    Recordset *mRecordset;
    int mIndex;
};

} // namespace platform
