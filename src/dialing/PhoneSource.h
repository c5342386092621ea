#pragma once

#include <QVariant>
#include <functional>

// Where the dialling window takes a contact's six phones: the main list's current row, or
// the editor's boxes as typed. line is 1 to 6; the result is Null or a text.
struct PhoneSource {
    std::function<QVariant(int line)> description;
    std::function<QVariant(int line)> number;
};
