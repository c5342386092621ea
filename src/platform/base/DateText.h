#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace platform {

// The dates the program can store and show: the years 100 to 9999.
bool isStorableDate(const QDate &date);

// The system's short date: the locale's short pattern with the year widened to
// four digits (en_US: 1/2/2020), always in digits, so that what is shown reads back.
QString shortDateFormat();
QString shortDateFormat(const QLocale &locale);
QString shortDateText(const QDate &date);
QString shortDateText(const QDate &date, const QLocale &locale);

// The general date: the short date, then a blank and the long time when the value
// has a time of day (en_US: 1/2/2020 1:30:00 PM).
QString generalDateText(const QDateTime &value);

// Reads a date as the user types it in the system's short form (also with a time,
// and also ISO yyyy-mm-dd); an invalid QDateTime when the text is no date.
QDateTime parseDateText(const QString &text);
QDateTime parseDateText(const QString &text, const QLocale &locale);

} // namespace platform
