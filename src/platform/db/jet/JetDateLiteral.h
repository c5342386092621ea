#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

// Reads what stands between the # of a date literal. The query language writes dates
// month first whatever the user's locale (#12/25/2024#, #12/25/2024 1:30 PM#), and day
// first only when the first number can be no month (#25/12/2024#). ISO dates
// (#2024-12-25#), month names (#25-Dec-2024#) and a time alone (#13:30#, on the zero
// day 12/30/1899) are read too. An invalid QDateTime when the text is no date.
QDateTime parseJetDateLiteral(const QString &text);

} // namespace platform
