#include "printing/CondensedLists.h"

#include "printing/DisplayedRecords.h"
#include "printing/ListReport.h"
#include "printing/PrintText.h"

namespace {

enum class Layout { OneLine, TwoLine };

QString addressText(DisplayedRecords &r, Layout layout)
{
    // The address set the contact's labels use: the second only when it says 2.
    const QVariant choice = r.value(QStringLiteral("AddressForLabels"));
    const QString set = (choice.isValid() && !choice.isNull() && choice.toDouble() == 2)
                            ? QStringLiteral("Second_")
                            : QStringLiteral("First_");
    const auto field = [&](const char *name) { return FieldText(r, set + QLatin1String(name)); };
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
    const QString citySeparator = IsNonBlank(city) && IsNonBlank(state) ? QStringLiteral(", ") : QString();
    text += RTrim(city) + citySeparator + RTrim(state) + QStringLiteral(" ") + RTrim(postalCode);
    if (IsNonBlank(city + state + postalCode))
        text += QStringLiteral("  ");
    const QString country = field("Country");
    text += RTrim(country);
    if (IsNonBlank(country))
        text += QStringLiteral("   ");
    if (layout == Layout::TwoLine) {
        if (IsNonBlank(text))
            text = field("Address_Desc") + QStringLiteral(": ") + text + QStringLiteral("  ");
        const QString email = FieldText(r, QStringLiteral("Email_Address"));
        if (IsNonBlank(email))
            text += QStringLiteral("  Email:") + RTrim(email) + QStringLiteral("  ");
    }
    return text;
}

ListRecordTexts contactTexts(DisplayedRecords &r, Layout layout)
{
    ListRecordTexts texts;
    if (layout == Layout::OneLine)
        texts.name = Trim(PersonalName(r) + QStringLiteral(" ") + FieldText(r, QStringLiteral("Organization")));
    else
        texts.name = NameLineText(r);
    const QString address = addressText(r, layout);
    texts.detail = RTrim(LabelledValues(r, QStringLiteral("Phone%1"), QStringLiteral("Phone%1_Desc"), 6) +
                         QStringLiteral("  ") + address);
    return texts;
}

} // namespace

void PrintCondensedOneLine(DisplayedRecords &Records, const QString &Category)
{
    RunListReport(Records, Category, {QStringLiteral("Condensed 1-Line"), ListLayout::OneLine, true},
                  [](DisplayedRecords &r) { return contactTexts(r, Layout::OneLine); });
}

void PrintCondensedList(DisplayedRecords &Records, const QString &Category)
{
    RunListReport(Records, Category, {QStringLiteral("Condensed List"), ListLayout::NameAboveDetail, false},
                  [](DisplayedRecords &r) { return contactTexts(r, Layout::TwoLine); });
}

void Condensed1LineMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunListReport(Records, SelectedCount, [&] { PrintCondensedOneLine(Records, Category); });
}

void CondensedList_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunListReport(Records, SelectedCount, [&] { PrintCondensedList(Records, Category); });
}
