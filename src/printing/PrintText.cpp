#include "printing/PrintText.h"

#include "printing/DisplayedRecords.h"

#include "app/ValueHelpers.h"
#include "platform/ui/DateText.h"

#include <cmath>

QString ValueText(const QVariant &value)
{
    const QVariant v = NullToString(value);
    if (v.typeId() == QMetaType::QDateTime)
        return platform::generalDateText(v.toDateTime());
    if (v.typeId() == QMetaType::QDate)
        return platform::shortDateText(v.toDate());
    return v.toString();
}

QString FieldText(DisplayedRecords &records, const QString &field)
{
    return ValueText(records.value(field));
}

bool IsNonBlank(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ')
            return true;
    }
    return false;
}

qint64 WholeNumber(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}
