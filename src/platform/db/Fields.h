#pragma once

#include "platform/db/Field.h"

namespace platform {

// The fields of a record set in table (or query) order, by index or by name.
class Fields {
  public:
    explicit Fields(Recordset *recordset) : mRecordset(recordset) {}

    int count() const;
    Field operator[](int index) const;           // 3265 out of range
    Field operator[](const QString &name) const; // 3265 for an unknown name (any case)

  private:
    Recordset *mRecordset;
};

} // namespace platform
