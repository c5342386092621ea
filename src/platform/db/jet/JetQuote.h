#pragma once

#include <QString>

namespace platform {

// A text literal for a query text or criterion built from user text (category names,
// titles, picture names, find texts): the text between single quotes, with every single
// quote doubled, so nothing inside it can end the literal or change the statement.
QString jetQuote(const QString &text);

} // namespace platform
