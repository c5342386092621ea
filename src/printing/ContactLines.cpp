#include "printing/ContactLines.h"

#include "printing/DisplayedRecords.h"
#include "printing/PrintText.h"

#include "helpers/ValueHelpers.h"

QString LabelAddressSet(DisplayedRecords &Records)
{
    return PicksSecondAddress(Records.value(QStringLiteral("AddressForLabels"))) ? QStringLiteral("Second_")
                                                                                 : QStringLiteral("First_");
}

bool PicksSecondAddress(const QVariant &AddressForLabels)
{
    return AddressForLabels.isValid() && !AddressForLabels.isNull() && AddressForLabels.toDouble() == 2;
}

QString ContactNameLine(DisplayedRecords &Records)
{
    const QString prefix = FieldText(Records, QStringLiteral("Prefix"));
    const QString first = FieldText(Records, QStringLiteral("FirstName"));
    const QString middle = FieldText(Records, QStringLiteral("MiddleName"));
    const auto separator = [](const QString &part) {
        return IsNonBlank(part) ? QStringLiteral(" ") : QString();
    };
    return RTrim(prefix) + separator(prefix) + RTrim(first) + separator(first) + RTrim(middle) +
           separator(middle) + RTrim(FieldText(Records, QStringLiteral("LastName"))) + QStringLiteral(" ") +
           RTrim(FieldText(Records, QStringLiteral("Suffix")));
}

QString CondensedHeadingLine(DisplayedRecords &Records)
{
    const QString name = ContactNameLine(Records);
    return (IsNonBlank(name) ? QStringLiteral("  ") + name : name) + QStringLiteral(" ") +
           FieldText(Records, QStringLiteral("Organization")) + QStringLiteral("  ");
}

QString CityLine(const QString &City, const QString &State, const QString &PostalCode)
{
    const QString comma = IsNonBlank(City) && IsNonBlank(State) ? QStringLiteral(", ") : QString();
    return RTrim(City) + comma + RTrim(State) + QStringLiteral(" ") + RTrim(PostalCode);
}

QString RunningAddressText(DisplayedRecords &Records, const QString &Set)
{
    const auto field = [&](const char *name) { return FieldText(Records, Set + QLatin1String(name)); };
    QString text;
    for (const char *line : {"Address1", "Address2", "Address3"}) {
        const QString value = field(line);
        text += value;
        if (IsNonBlank(value))
            text += QStringLiteral("  ");
    }
    const QString city = field("City");
    const QString state = field("State");
    const QString postalCode = field("PostalCode");
    text += CityLine(city, state, postalCode);
    if (IsNonBlank(city + state + postalCode))
        text += QStringLiteral("  ");
    const QString country = field("Country");
    text += RTrim(country);
    if (IsNonBlank(country))
        text += QStringLiteral("   ");
    return text;
}

QString RunningPhoneText(DisplayedRecords &Records)
{
    return RunningLabelledText(Records, QStringLiteral("Phone%1"), QStringLiteral("Phone%1_Desc"), 6);
}

QString RunningLabelledText(DisplayedRecords &Records, const QString &ValueField, const QString &LabelField,
                            int Count)
{
    QString text;
    for (int n = 1; n <= Count; ++n) {
        const QString value = FieldText(Records, ValueField.arg(n));
        if (!IsNonBlank(value))
            continue;
        // The label as it is, empty or not: a phone without one gives ": 555-0100".
        text += RTrim(FieldText(Records, LabelField.arg(n))) + QStringLiteral(": ") + RTrim(value) +
                QStringLiteral("  ");
    }
    return text;
}
