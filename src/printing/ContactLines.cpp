#include "printing/ContactLines.h"

#include "printing/DisplayedRecords.h"
#include "printing/PrintText.h"

#include "helpers/ValueHelpers.h"
#include "platform/base/TextDirection.h"

#include <QStringList>
#include <algorithm>

QString LabelAddressSet(DisplayedRecords &Records)
{
    return PicksSecondAddress(Records.value(QStringLiteral("AddressForLabels"))) ? QStringLiteral("Second_")
                                                                                 : QStringLiteral("First_");
}

bool PicksSecondAddress(const QVariant &AddressForLabels)
{
    return AddressForLabels.isValid() && !AddressForLabels.isNull() && AddressForLabels.toDouble() == 2;
}

QString JoinedField(const QString &field, FieldJoin join)
{
    switch (join) {
    case FieldJoin::Isolated:
        return platform::isolatedField(field);
    case FieldJoin::IsolatedLine:
        return platform::isolatedLine(field);
    case FieldJoin::AsTyped:
        break;
    }
    return field;
}

QString ContactNameLine(DisplayedRecords &Records, FieldJoin Join)
{
    const QString prefix = FieldText(Records, QStringLiteral("Prefix"));
    const QString first = FieldText(Records, QStringLiteral("FirstName"));
    const QString middle = FieldText(Records, QStringLiteral("MiddleName"));
    const auto separator = [](const QString &part) {
        return IsNonBlank(part) ? QStringLiteral(" ") : QString();
    };
    const auto part = [&](const QString &value) { return JoinedField(RTrim(value), Join); };
    return part(prefix) + separator(prefix) + part(first) + separator(first) + part(middle) + separator(middle) +
           part(FieldText(Records, QStringLiteral("LastName"))) + QStringLiteral(" ") +
           part(FieldText(Records, QStringLiteral("Suffix")));
}

QString CondensedHeadingLine(DisplayedRecords &Records, FieldJoin Join)
{
    const QString name = ContactNameLine(Records, Join);
    return (IsNonBlank(name) ? QStringLiteral("  ") + name : name) + QStringLiteral(" ") +
           JoinedField(FieldText(Records, QStringLiteral("Organization")), Join) + QStringLiteral("  ");
}

QString CityLine(const QString &City, const QString &State, const QString &PostalCode, FieldJoin Join)
{
    const QString comma = IsNonBlank(City) && IsNonBlank(State) ? QStringLiteral(", ") : QString();
    return JoinedField(RTrim(City), Join) + comma + JoinedField(RTrim(State), Join) + QStringLiteral(" ") +
           JoinedField(RTrim(PostalCode), Join);
}

QString RunningAddressText(DisplayedRecords &Records, const QString &Set, FieldJoin Join)
{
    const auto field = [&](const char *name) { return FieldText(Records, Set + QLatin1String(name)); };
    QString text;
    for (const char *line : {"Address1", "Address2", "Address3"}) {
        const QString value = field(line);
        text += JoinedField(value, Join);
        if (IsNonBlank(value))
            text += QStringLiteral("  ");
    }
    const QString city = field("City");
    const QString state = field("State");
    const QString postalCode = field("PostalCode");
    text += CityLine(city, state, postalCode, Join);
    if (IsNonBlank(city + state + postalCode))
        text += QStringLiteral("  ");
    const QString country = field("Country");
    text += JoinedField(RTrim(country), Join);
    if (IsNonBlank(country))
        text += QStringLiteral("   ");
    return text;
}

QString RunningPhoneText(DisplayedRecords &Records, FieldJoin Join)
{
    return RunningLabelledText(Records, QStringLiteral("Phone%1"), QStringLiteral("Phone%1_Desc"), 6, Join);
}

namespace {
// The numbered field names of the last pattern asked for: a list asks for the same
// ones for every record.
struct NumberedFields {
    QString valuePattern;
    QString labelPattern;
    QStringList values;
    QStringList labels;

    static const NumberedFields &of(const QString &valuePattern, const QString &labelPattern, int count)
    {
        static NumberedFields last;
        if (last.valuePattern != valuePattern || last.labelPattern != labelPattern || last.values.size() != count) {
            last = NumberedFields{valuePattern, labelPattern, {}, {}};
            for (int n = 1; n <= count; ++n) {
                last.values << valuePattern.arg(n);
                last.labels << labelPattern.arg(n);
            }
        }
        return last;
    }
};
} // namespace

QString RunningLabelledText(DisplayedRecords &Records, const QString &ValueField, const QString &LabelField,
                            int Count, FieldJoin Join)
{
    const NumberedFields &fields = NumberedFields::of(ValueField, LabelField, std::max(Count, 0));
    QString text;
    for (int n = 0; n < fields.values.size(); ++n) {
        const QString value = FieldText(Records, fields.values[n]);
        if (!IsNonBlank(value))
            continue;
        // The label as it is, empty or not: a phone without one gives ": 555-0100".
        text += JoinedField(RTrim(FieldText(Records, fields.labels[n])), Join) + QStringLiteral(": ") +
                JoinedField(RTrim(value), Join) + QStringLiteral("  ");
    }
    return text;
}
