#include "mainwindow/ReportCommands.h"

#include "addressbooks/AddressBooks.h"
#include "addressbooks/PocketBook.h"
#include "export/ClipboardCopy.h"
#include "export/CsvExports.h"
#include "export/TextExports.h"
#include "helpers/DatabaseState.h"
#include "helpers/MSendInput.h"
#include "helpers/RecordSource.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/NameList.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/print/PrintOutput.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/MousePointer.h"
#include "printing/CondensedLists.h"
#include "printing/DataControlRecords.h"
#include "printing/FormEnvelope.h"
#include "printing/MailingLabels.h"
#include "printing/PhoneListReports.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReminderReport.h"
#include "printing/ReportOptionsForm.h"
#include "printing/ReturnAddress.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

using platform::RuntimeError;

ReportCommands::ReportCommands(NameList &window) : mWindow(window), mUi(*window.mUi) {}

void ReportCommands::PreviewMode_Click()
{
    ::PreviewMode_Click(mWindow.menuItem(QStringLiteral("PreviewMode")),
                        mWindow.menuItem(QStringLiteral("PrintMode")));
}

void ReportCommands::PrintMode_Click()
{
    ::PrintMode_Click(mWindow.menuItem(QStringLiteral("PreviewMode")),
                      mWindow.menuItem(QStringLiteral("PrintMode")));
}

void ReportCommands::CondensedList_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::CondensedList_Click(records, mUi.lblCategory->text(), gMainWindow.gSelectedCount);
}

void ReportCommands::Condensed1LineMenu_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::Condensed1LineMenu_Click(records, mUi.lblCategory->text(), gMainWindow.gSelectedCount);
}

void ReportCommands::PhoneListMenu_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::PhoneListMenu_Click(records, mUi.lblCategory->text(), gMainWindow.gSelectedCount);
}

void ReportCommands::DateReportMenu_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::DateReportMenu_Click(records, mUi.lblCategory->text(), gMainWindow.gSelectedCount);
}

void ReportCommands::RemindersReportMenu_Click()
{
    ::RemindersReportMenu_Click(*gDb);
}

void ReportCommands::ReportOptionsMenu_Click()
{
    platform::setMousePointer(platform::MousePointer::Hourglass);
    ReportOptionsForm::instance().showModal();
}

void ReportCommands::FullSizeAddressBook_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::FullSizeAddressBook_Click(
        records, {mUi.lblCategory->text(), gRecordSource.gOrderByClause, gMainWindow.gPageBreakPerLetter},
        gMainWindow.gSelectedCount);
}

void ReportCommands::HalfPageAddressBook_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::HalfPageAddressBook_Click(
        records, {mUi.lblCategory->text(), gRecordSource.gOrderByClause, gMainWindow.gPageBreakPerLetter},
        gMainWindow.gSelectedCount);
}

void ReportCommands::HalfPageAddressBookLeftSide_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::HalfPageAddressBookLeftSide_Click(
        records, {mUi.lblCategory->text(), gRecordSource.gOrderByClause, gMainWindow.gPageBreakPerLetter},
        gMainWindow.gSelectedCount);
}

void ReportCommands::PocketMenu_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::PocketMenu_Click(*gDb, records, mUi.lblCategory->text(), gMainWindow.gSelectedCount,
                       mbPocketLastNameFirst);
}

void ReportCommands::Labels3upMenu_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::Labels3upMenu_Click(records, gMainWindow.gSelectedCount);
}

void ReportCommands::Labels1UpMenu1_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::Labels1UpMenu1_Click(records, gMainWindow.gSelectedCount);
}

void ReportCommands::Labels1UpMenu2_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::Labels1UpMenu2_Click(records, gMainWindow.gSelectedCount);
}

void ReportCommands::Labels2UpMenu_Click()
{
    DataControlRecords records(*mUi.Data1);
    ::Labels2UpMenu_Click(records, gMainWindow.gSelectedCount);
}

void ReportCommands::EnvelopeMenu_Click()
{
    FormEnvelope::open(std::make_unique<DataControlRecords>(*mUi.Data1), &mWindow);
}

void ReportCommands::ReturnAddressMenu_Click()
{
    ReturnAddress::showFromMenu();
}

void ReportCommands::ChangePrinter_Click()
{
    // The next report makes the preview anew, for the printer chosen here.
    UnloadPreview();
    // The dialog's own errors change nothing; Cancel leaves the printer as it was. A
    // program that cannot print at all says so rather than show nothing.
    try {
        platform::CommonDialog dialog;
        dialog.dlgFlags = platform::CommonDialog::cdlPDPrintSetup;
        dialog.dlgShowPrinter();
    } catch (const RuntimeError &error) {
        if (error.number() == platform::PrintOutput::PrinterError)
            platform::MsgBox(error.description(), platform::vbOKOnly);
    }
    RestorePreviewMode(mWindow.menuItem(QStringLiteral("PreviewMode")));
}

void ReportCommands::mnuPageBreakAlpha_Click()
{
    gMainWindow.gPageBreakPerLetter = !gMainWindow.gPageBreakPerLetter;
    QAction *item = mWindow.menuItem(QStringLiteral("mnuPageBreakAlpha"));
    item->setCheckable(true);
    item->setChecked(gMainWindow.gPageBreakPerLetter);
    // The Reports menu drops down again, so the user sees the new check mark.
    SendKeysInput(QStringLiteral("%R"));
}

void ReportCommands::cmdReports_Click()
{
    SendKeysInput(QStringLiteral("%R"));
}

void ReportCommands::Export_Click()
{
    DataControlRecords records(*mUi.Data1);
    ExportCsv(records, mWindow.CMDialog1, false);
}

void ReportCommands::ExportWithNotes_Click()
{
    DataControlRecords records(*mUi.Data1);
    ExportCsv(records, mWindow.CMDialog1, true);
}

void ReportCommands::ExportEmail_Click()
{
    DataControlRecords records(*mUi.Data1);
    ExportEmail(records, mWindow.CMDialog1);
}

void ReportCommands::ExportVistaprint_Click()
{
    DataControlRecords records(*mUi.Data1);
    ExportVistaprint(records, mWindow.CMDialog1);
}

void ReportCommands::ExportReport1_Click()
{
    DataControlRecords records(*mUi.Data1);
    ExportLabelFormat(records, mWindow.CMDialog1);
}

void ReportCommands::ExportReport2_Click()
{
    DataControlRecords records(*mUi.Data1);
    ExportCondensed(records, mWindow.CMDialog1);
}

void ReportCommands::CopyClipboard_Click()
{
    DataControlRecords records(*mUi.Data1);
    CopyNameAddressToClipboard(records);
}

void ReportCommands::cmdClipboard_Click()
{
    CopyClipboard_Click();
    mUi.txtLocate->setFocus();
}
