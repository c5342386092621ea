#pragma once

#include <QVariant>
#include <functional>

// Where the dialling window takes a contact's six phones: the main list's current row, or
// the editor's boxes as typed. line is 1 to 6; the result is Null or a text.
struct PhoneSource {
    std::function<QVariant(int line)> description;
    std::function<QVariant(int line)> number;
};

namespace platform {
class Recordset;
}
class QLineEdit;

// The six phones of the current row of a record set (fields Phone1_Desc, Phone1, ...), read
// when asked, so a dial takes the row as it is then.
PhoneSource phonesOfCurrentRow(std::function<platform::Recordset *()> recordset);
// The six phones as typed in a window's boxes (txtPhone1_Desc, txtPhone1, ...).
PhoneSource phonesOfBoxes(std::function<QLineEdit *(const QString &name)> box);
