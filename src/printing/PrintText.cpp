#include "printing/PrintText.h"

#include "printing/DisplayedRecords.h"

#include "app/ValueHelpers.h"

#include <cmath>

QString FieldText(DisplayedRecords &records, const QString &field)
{
    return NullToString(records.value(field)).toString();
}

QString RTrim(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

QString Trim(const QString &text)
{
    const QString right = RTrim(text);
    qsizetype start = 0;
    while (start < right.size() && right[start] == u' ')
        ++start;
    return right.mid(start);
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
