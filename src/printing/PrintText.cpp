#include "printing/PrintText.h"

#include "printing/DisplayedRecords.h"

#include "helpers/ValueHelpers.h"
#include "platform/grid/DataGridModel.h"

#include <cmath>

QString FieldText(DisplayedRecords &records, const QString &field)
{
    // Dates as the platform turns them into text, never in the storage form.
    return platform::DataGridModel::displayText(records.value(field));
}

QString FieldText(DisplayedRecords &records, int field)
{
    return platform::DataGridModel::displayText(records.valueAt(field));
}

bool IsNonBlank(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ')
            return true;
    }
    return false;
}

bool NotesPrint(DisplayedRecords &records)
{
    if (!IsNonBlank(FieldText(records, QStringLiteral("Notes"))))
        return false;
    const QVariant flag = records.value(QStringLiteral("PrintNotes"));
    return !IsNull(flag) && flag.toDouble() != 0;
}

qint64 WholeNumber(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}
