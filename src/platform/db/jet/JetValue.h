#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

// Dates are stored as ISO-8601 text: "yyyy-MM-dd" for a day, "yyyy-MM-dd HH:mm:ss" when
// the value has a time of day. One canonical form lets equal dates compare equal as text
// and sort in time order.
QString dateToStorage(const QDateTime &value);
QString dateToStorage(const QDate &value);
// An invalid QDateTime for text that is no stored date.
QDateTime dateFromStorage(const QString &text);

// Yes/No fields hold -1 for Yes and 0 for No.
constexpr int JetTrue = -1;
constexpr int JetFalse = 0;

} // namespace platform
