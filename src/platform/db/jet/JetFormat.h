#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

// The query language's Format function for each kind of value: named formats ("Short
// Date", "Standard", "Yes/No", ...) and the user-defined ones ("mm/dd/yyyy", "#,##0.00",
// ">"), in the user's locale. An empty format gives the value's general form.
QString formatJetNumber(double value, const QString &format);
QString formatJetDate(const QDateTime &value, const QString &format);
QString formatJetText(const QString &value, const QString &format);

// The general date form (the short date, then the long time unless it is midnight), as
// generalDateText gives it, but cheap enough to run on every row of a large table.
QString displayDateText(const QDate &date, const QTime &time);

// The general form of a number: whole numbers without a decimal point, others with up
// to 15 significant digits.
QString generalNumberText(double value);

} // namespace platform
