#include "printing/PrintText.h"

#include "printing/DisplayedRecords.h"

#include "helpers/ValueHelpers.h"

#include <cmath>

QString FieldText(DisplayedRecords &records, const QString &field)
{
    return NullToString(records.value(field)).toString();
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
