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
    QString text = RunningAddressText(r, set, FieldJoin::Isolated);
    if (layout == Layout::TwoLine) {
        if (IsNonBlank(text))
            text = JoinedField(FieldText(r, set + QStringLiteral("Address_Desc")), FieldJoin::Isolated) +
                   QStringLiteral(": ") + text + QStringLiteral("  ");
        const QString email = FieldText(r, QStringLiteral("Email_Address"));
        if (IsNonBlank(email))
            text += QStringLiteral("  Email:") + JoinedField(RTrim(email), FieldJoin::Isolated) + QStringLiteral("  ");
    }
    return text;
}

ListRecordTexts contactTexts(DisplayedRecords &r, Layout layout)
{
    ListRecordTexts texts;
    if (layout == Layout::OneLine)
        texts.name = Trim(ContactNameLine(r, FieldJoin::IsolatedLine) + QStringLiteral(" ") +
                          JoinedField(FieldText(r, QStringLiteral("Organization")), FieldJoin::IsolatedLine));
    else
        texts.name = CondensedHeadingLine(r, FieldJoin::IsolatedLine);
    const QString address = addressText(r, layout);
    texts.detail = RTrim(RunningPhoneText(r, FieldJoin::Isolated) + QStringLiteral("  ") + address);
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
