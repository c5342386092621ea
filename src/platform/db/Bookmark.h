#pragma once

#include <QtGlobal>

namespace platform {

// A record set's mark for one of its rows: valid in the record set that gave it, across
// deletes of other rows, until that record set is requeried.
struct Bookmark {
    qint64 value = -1;
    quint64 owner = 0;

    bool isValid() const { return owner != 0; }
    friend bool operator==(const Bookmark &, const Bookmark &) = default;
};

} // namespace platform
