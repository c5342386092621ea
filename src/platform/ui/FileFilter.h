#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// A classic filter text lists descriptions and patterns alternately, separated by "|":
// "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*". Qt wants one entry per pair,
// "Description (patterns)", with blanks between patterns and "*" for "*.*".
QStringList qtNameFilters(const QString &filter);

} // namespace platform
