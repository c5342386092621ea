#include "printing/PhoneListReports.h"

#include "printing/ContactLines.h"
#include "printing/ListReport.h"
#include "printing/ReportRun.h"

namespace {

void printLabelledValues(DisplayedRecords &records, const QString &category, const QString &documentName,
                         const QString &valueField, const QString &labelField, int count)
{
    RunListReport(records, category, {documentName, ListLayout::NameAboveDetail, false},
                  [&](DisplayedRecords &r) {
                      return ListRecordTexts{
                          CondensedHeadingLine(r, FieldJoin::IsolatedLine),
                          RunningLabelledText(r, valueField, labelField, count, FieldJoin::Isolated)};
                  });
}

} // namespace

void PrintPhoneList(DisplayedRecords &Records, const QString &Category)
{
    printLabelledValues(Records, Category, QStringLiteral("Phone List"), QStringLiteral("Phone%1"),
                        QStringLiteral("Phone%1_Desc"), 6);
}

void PrintDateReport(DisplayedRecords &Records, const QString &Category)
{
    printLabelledValues(Records, Category, QStringLiteral("Date Report"), QStringLiteral("Date%1"),
                        QStringLiteral("Date%1_Desc"), 5);
}

void PhoneListMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintPhoneList(Records, Category); });
}

void DateReportMenu_Click(DisplayedRecords &Records, const QString &Category, qint32 SelectedCount)
{
    ConfirmAndRunReport(Records, SelectedCount, [&] { PrintDateReport(Records, Category); });
}
