// Commands of the main window's menus and buttons that lead to the editor, delete a
// contact, switch grid editing, open another database or the help page.

#include "mainwindow/NameList.h"

#include "dialing/CommSettingsForm.h"
#include "dialing/DialingForm.h"
#include "editor/MemoForm.h"
#include "export/ClipboardCopy.h"
#include "export/CsvExports.h"
#include "export/TextExports.h"
#include "helpers/About.h"
#include "mainwindow/ColumnLayout.h"
#include "helpers/DatabaseOpenDialog.h"
#include "helpers/DatabaseState.h"
#include "helpers/MSendInput.h"
#include "helpers/StartRoutine.h"
#include "helpers/ValueHelpers.h"
#include "printing/DataControlRecords.h"
#include "platform/RuntimeError.h"
#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Shell.h"
#include "printing/PrintModeSwitch.h"
#include "reminders/ReminderCommands.h"
#include "selection/CategoryAssign.h"
#include "selection/CategoryForm.h"
#include "selection/CatgAssignAll.h"
#include "selection/CriteriaForm.h"
#include "selection/FindAnyText.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using platform::MousePointer;
using platform::RuntimeError;
using platform::setMousePointer;

namespace {

const QString AllowGridEditingCaption = QStringLiteral("Allow &Grid Editing");
const QString DisableGridEditingCaption = QStringLiteral("Disable &Grid Editing");

QString fieldText(platform::Recordset &rs, const QString &field)
{
    return NullToString(rs.value(field)).toString();
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

void NameList::cmdDelete_Click()
{
    try {
        platform::Recordset *rs = Data1->recordset();
        if (!rs || rs->recordCount() < 1) {
            platform::MsgBox(QStringLiteral("There are no records displayed, so there is nothing to delete."),
                             platform::vbInformation, QStringLiteral("No records to delete"));
        } else {
            const QString name = QStringLiteral("(") +
                                 Trim(fieldText(*rs, QStringLiteral("FirstName")) + QLatin1Char(' ') +
                                      fieldText(*rs, QStringLiteral("MiddleName")) + QLatin1Char(' ') +
                                      fieldText(*rs, QStringLiteral("LastName")) + QStringLiteral("  ") +
                                      fieldText(*rs, QStringLiteral("Organization"))) +
                                 QStringLiteral(")");
            if (platform::MsgBox(QStringLiteral("Are you sure you want to delete this record?\r") + name,
                                 platform::vbYesNo + platform::vbQuestion,
                                 QStringLiteral("Confirmation")) == platform::vbYes) {
                if (mAllowUpdate) {
                    // Leaving the row and coming back ends a cell edit in it, which is
                    // written before the row goes.
                    const platform::Bookmark mark = rs->bookmark();
                    rs->moveNext();
                    rs->setBookmark(mark);
                }
                rs->deleteRecord();
                txtName->setPlainText(QStringLiteral("Record Deleted!"));
                txtPhone->clear();
                rs->moveNext();
                if (rs->eof())
                    rs->movePrevious();
            }
        }
    } catch (const RuntimeError &error) {
        platform::MsgBox(error.description());
    }
    txtLocate->setFocus();
}

void NameList::cmdReports_Click()
{
    SendKeysInput(QStringLiteral("%R"));
}

void NameList::cmdNotes_Click()
{
    MemoForm::open(*gDb);
}

void NameList::Category_Click()
{
    CategoryForm::open();
    txtLocate->setFocus();
}

void NameList::SelectionCriteria_Click()
{
    CriteriaForm::open();
}

void NameList::FindEditMenu_Click()
{
    FindAnyText();
}

void NameList::AssignCatgMenu_Click()
{
    ShowCategoryAssign();
}

void NameList::AssignAllToCatg_Click()
{
    CatgAssignAll::open();
}

void NameList::cmdRemind_Click()
{
    showReminderWindow();
}

void NameList::CurrentReminders_Show()
{
    showDueReminders();
}

void NameList::AboutBox_Click()
{
    About::instance().showModal();
}

void NameList::GridEditMenu_Click()
{
    QAction *item = menuItem(QStringLiteral("GridEditMenu"));
    if (item->text() == AllowGridEditingCaption) {
        item->setText(DisableGridEditingCaption);
        mAllowUpdate = true;
    } else if (item->text() == DisableGridEditingCaption) {
        item->setText(AllowGridEditingCaption);
        mAllowUpdate = false;
    } else {
        return;
    }
    if (platform::DataGrid *binding = mColumnLayout->binding())
        binding->model()->setEditable(mAllowUpdate);
    Table1->setEditTriggers(mAllowUpdate
                                ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                                : QAbstractItemView::NoEditTriggers);
}

void NameList::OpenDatabase_Click()
{
    try {
        QString fileName;
        if (!ShowDatabaseOpenDialog(fileName))
            return;
        // The chosen file must open before the one that works is let go; the open one
        // itself is known to open, and a password-protected one holds its file, so it is
        // simply opened again.
        std::unique_ptr<platform::Database> chosen;
        if (!sameFile(fileName, gDbPath)) {
            if (StartRoutine::checkDatabaseFile)
                chosen = StartRoutine::checkDatabaseFile(fileName);
            if (!chosen)
                return;
        }
        // The old database is left as the next start on it expects: all contacts, no
        // category, no marks.
        ShowAllMenu_Click();
        gDbPath = fileName;
        unload();
        Data1->clear();
        gContactsTable.reset();
        gDb.reset();
        restartThroughMain(std::move(chosen));
    } catch (const RuntimeError &) {
        // The command ends quietly; a file that will not open is the start routine's to report.
    }
}

void NameList::HelpSystem_Click()
{
    // Looked for beside the program, which it is installed with; the current folder is
    // wherever the program happened to be started from.
    const QString page = QDir(platform::programFolder()).filePath(gAppName + QStringLiteral(".htm"));
    if (!QFileInfo(page).isFile()) {
        platform::MsgBox(QStringLiteral("The help file ") + page + QStringLiteral(" cannot be found."),
                         platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Help"));
        return;
    }
    if (!platform::openDocument(page))
        platform::MsgBox(QStringLiteral("The help file ") + page +
                             QStringLiteral(" cannot be shown: no program that opens web pages is set up on "
                                            "this computer."),
                         platform::vbOKOnly + platform::vbExclamation, QStringLiteral("Help"));
}

void NameList::cmdDial_Click()
{
    platform::Recordset *rs = Data1->recordset();
    if (!rs || rs->recordCount() <= 0) {
        platform::MsgBox(QStringLiteral("There are no records displayed for dialing."), platform::vbInformation,
                         QStringLiteral("No phone number to dial"));
        return;
    }
    gDialFromList = true;
    DialingForm::open(phonesOfCurrentRow([this] { return Data1->recordset(); }));
    gDialFromList = false;
}

void NameList::ModemPortMenu_Click()
{
    CommSettingsForm::open();
}

void NameList::Export_Click()
{
    DataControlRecords records(*Data1);
    ExportCsv(records, CMDialog1, false);
}

void NameList::ExportWithNotes_Click()
{
    DataControlRecords records(*Data1);
    ExportCsv(records, CMDialog1, true);
}

void NameList::ExportEmail_Click()
{
    DataControlRecords records(*Data1);
    ExportEmail(records, CMDialog1);
}

void NameList::ExportVistaprint_Click()
{
    DataControlRecords records(*Data1);
    ExportVistaprint(records, CMDialog1);
}

void NameList::ExportReport1_Click()
{
    DataControlRecords records(*Data1);
    ExportLabelFormat(records, CMDialog1);
}

void NameList::ExportReport2_Click()
{
    DataControlRecords records(*Data1);
    ExportCondensed(records, CMDialog1);
}

void NameList::CopyClipboard_Click()
{
    DataControlRecords records(*Data1);
    CopyNameAddressToClipboard(records);
}

void NameList::cmdClipboard_Click()
{
    CopyClipboard_Click();
    txtLocate->setFocus();
}

void NameList::ChangePrinter_Click()
{
    // The next report makes the preview anew, for the printer chosen here.
    UnloadPreview();
    // The dialog's own errors change nothing; Cancel leaves the printer as it was.
    try {
        platform::CommonDialog dialog;
        dialog.dlgFlags = platform::CommonDialog::cdlPDPrintSetup;
        dialog.dlgShowPrinter();
    } catch (const RuntimeError &) {
    }
    RestorePreviewMode(menuItem(QStringLiteral("PreviewMode")));
}

void NameList::mnuPageBreakAlpha_Click()
{
    gPageBreakPerLetter = !gPageBreakPerLetter;
    QAction *item = menuItem(QStringLiteral("mnuPageBreakAlpha"));
    item->setCheckable(true);
    item->setChecked(gPageBreakPerLetter);
    // The Reports menu drops down again, so the user sees the new check mark.
    SendKeysInput(QStringLiteral("%R"));
}
