#include "mainwindow/DetailBoxes.h"

#include "helpers/ValueHelpers.h"
#include "platform/base/TextDirection.h"

namespace {

QString textOf(const ContactFieldReader &field, const QString &name)
{
    return NullToString(field(name)).toString();
}

// A field set apart in its own direction, as paper prints it.
QString part(const QString &value)
{
    return platform::isolatedField(value);
}

} // namespace

QString detailNameText(const ContactFieldReader &field)
{
    QString box;
    const QString middle = textOf(field, QStringLiteral("MiddleName"));
    const QString name = LTrim(part(textOf(field, QStringLiteral("FirstName"))) +
                               (middle.isEmpty() ? QString() : QStringLiteral(" ")) + part(middle) +
                               QLatin1Char(' ') + part(textOf(field, QStringLiteral("LastName"))));
    if (!name.isEmpty())
        box = name;

    const QString organisation = part(LTrim(textOf(field, QStringLiteral("Organization"))));
    if (!organisation.isEmpty())
        box = box.isEmpty() ? organisation : box + DetailLineBreak + organisation;

    // The label address: the second set only when the contact says so.
    const QVariant labels = field(QStringLiteral("AddressForLabels"));
    const bool second = !IsNull(labels) && labels.toString().trimmed() == QLatin1String("2");
    const QString prefix = second ? QStringLiteral("Second_") : QStringLiteral("First_");
    const auto append = [&box](const QString &line) {
        if (!line.isEmpty())
            box += DetailLineBreak + line;
    };
    for (const char *address : {"Address1", "Address2", "Address3"})
        append(part(LTrim(textOf(field, prefix + QLatin1String(address)))));

    const QString city = textOf(field, prefix + QStringLiteral("City"));
    const QString state = textOf(field, prefix + QStringLiteral("State"));
    const QString separator =
        !Trim(city).isEmpty() && !Trim(state).isEmpty() ? QStringLiteral(", ") : QString();
    append(Trim(part(RTrim(city)) + separator + part(RTrim(state)) + QLatin1Char(' ') +
                part(RTrim(textOf(field, prefix + QStringLiteral("PostalCode"))))));
    append(part(RTrim(textOf(field, prefix + QStringLiteral("Country")))));
    return box;
}

QString detailPhoneText(const ContactFieldReader &field)
{
    QString box;
    for (int n = 1; n <= 6; ++n) {
        const QString phone = textOf(field, QStringLiteral("Phone%1").arg(n));
        if (Trim(phone).isEmpty())
            continue;
        box += part(RTrim(textOf(field, QStringLiteral("Phone%1_Desc").arg(n)))) + QStringLiteral("  ") +
               part(RTrim(phone)) + DetailLineBreak;
    }
    return box;
}
