#include "printing/CondensedLists.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/ListReport.h"
#include "printing/PrintText.h"
#include "printing/ReportRun.h"

namespace {

enum class Layout { OneLine, TwoLine };

QString addressText(DisplayedRecords &r, Layout layout)
{
    const QString set = LabelAddressSet(r);
    QString text = RunningAddressText(r, set);
    if (layout == Layout::TwoLine) {
        if (IsNonBlank(text))
            text = FieldText(r, set + QStringLiteral("Address_Desc")) + QStringLiteral(": ") + text +
                   QStringLiteral("  ");
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
        texts.name =
            Trim(ContactNameLine(r) + QStringLiteral(" ") + FieldText(r, QStringLiteral("Organization")));
    else
        texts.name = CondensedHeadingLine(r);
    const QString address = addressText(r, layout);
    texts.detail = RTrim(RunningPhoneText(r) + QStringLiteral("  ") + address);
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
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintCondensedOneLine(Records, Category); });
}

void CondensedList_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintCondensedList(Records, Category); });
}
