#include "dialing/PhoneSource.h"

#include "platform/db/Recordset.h"

#include <QLineEdit>

namespace {

QString fieldName(int line, bool description)
{
    return QStringLiteral("Phone%1").arg(line) + (description ? QStringLiteral("_Desc") : QString());
}

} // namespace

PhoneSource phonesOfCurrentRow(std::function<platform::Recordset *()> recordset)
{
    auto read = [recordset](int line, bool description) {
        platform::Recordset *rs = recordset();
        return rs ? rs->value(fieldName(line, description)) : QVariant();
    };
    return {[read](int line) { return read(line, true); }, [read](int line) { return read(line, false); }};
}

PhoneSource phonesOfBoxes(std::function<QLineEdit *(const QString &name)> box)
{
    auto read = [box](int line, bool description) {
        QLineEdit *edit = box(QStringLiteral("txt") + fieldName(line, description));
        return edit ? QVariant(edit->text()) : QVariant();
    };
    return {[read](int line) { return read(line, true); }, [read](int line) { return read(line, false); }};
}
