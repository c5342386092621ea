#include "export/ClipboardCopy.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/PrintText.h"

#include "helpers/ValueHelpers.h"
#include "platform/ui/Clipboard.h"

void CopyNameAddressToClipboard(DisplayedRecords &Records)
{
    if (Records.recordCount() <= 0)
        return;
    const QString set = LabelAddressSet(Records);
    const auto field = [&](const QString &name) { return FieldText(Records, name); };
    QString text;
    const auto include = [&](const QString &line) {
        if (IsNonBlank(line))
            text += line + QStringLiteral("\r\n");
    };
    include(ContactNameLine(Records));
    include(field(QStringLiteral("Organization")));
    include(field(QStringLiteral("Title")));
    for (const char *name : {"Address1", "Address2", "Address3"})
        include(field(set + QLatin1String(name)));
    const QString cityLine =
        CityLine(field(set + QStringLiteral("City")), field(set + QStringLiteral("State")),
                 field(set + QStringLiteral("PostalCode")));
    if (Trim(cityLine) > QStringLiteral(" "))
        text += cityLine + QStringLiteral("\r\n");
    include(RTrim(field(set + QStringLiteral("Country"))));
    platform::clearClipboard();
    platform::setClipboardText(text);
}
