#include "export/ExportFrame.h"

#include "export/ExportFile.h"
#include "helpers/DatabaseState.h"
#include "printing/DisplayedRecords.h"

#include "platform/RuntimeError.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"

#include <memory>

namespace {

using namespace platform;

// False when the user backed out of the dialog (or it could not be shown): the command
// then ends without a word.
bool chooseFile(CommonDialog &dialog, const ExportPieces &pieces)
{
    try {
        dialog.dlgCancelError = true;
        dialog.dlgFlags = CommonDialog::cdlOFNOverwritePrompt | CommonDialog::cdlOFNHideReadOnly;
        dialog.dlgFilter = pieces.filter;
        dialog.dlgFilterIndex = 2;
        dialog.dlgFileName = pieces.defaultFileName;
        dialog.dlgDialogTitle = QStringLiteral("Save As");
        dialog.dlgShowSave();
        // The dialog comes back, on the name refused, until the name is not the book's.
        while (TellIfOpenBookFile(dialog.dlgFileName))
            dialog.dlgShowSave();
        return true;
    } catch (const RuntimeError &) {
        return false;
    }
}

// Where the file is, how many contacts it holds with characters lost, and what the dates'
// form holds that the file could not (a locale's AM/PM text in its own script).
void tellCompleted(const QString &where, int lossy, const QStringList &dateLacking)
{
    QString text = where;
    if (lossy > 0)
        text += QStringLiteral("\r\n\r\n%1 record(s) hold characters that the file's character set lacks; "
                               "each of those characters was written as \"?\".")
                    .arg(lossy);
    if (!dateLacking.isEmpty())
        text += QStringLiteral("\r\n\r\nThe system's form of dates and times holds characters that the "
                               "file's character set lacks (%1); each of those characters was written "
                               "as \"?\" in the dates.")
                    .arg(dateLacking.join(u' '));
    const bool lost = lossy > 0 || !dateLacking.isEmpty();
    MsgBox(text, vbOKOnly + (lost ? vbExclamation : vbInformation), QStringLiteral("Export completed"));
}

QString describe(const std::exception &error)
{
    if (const auto *runtime = dynamic_cast<const RuntimeError *>(&error))
        return runtime->description();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

void RunExport(DisplayedRecords &Records, CommonDialog &CMDialog1, const ExportPieces &Export)
{
    if (MsgBox(Export.confirmation, vbYesNo + vbQuestion, QStringLiteral("Confirmation")) != vbYes)
        return;
    bool marked = false;
    std::unique_ptr<ExportFile> file;
    try {
        Records.markPosition();
        marked = true;
        if (!chooseFile(CMDialog1, Export))
            return;
        const QString path = CMDialog1.dlgFileName;
        BusyPointer busy;
        file = std::make_unique<ExportFile>(path);
        if (Export.firstLine)
            Export.firstLine(*file);
        int lossy = 0; // contacts with characters written as '?'
        Records.moveFirst();
        while (!Records.eof()) {
            const qsizetype unwritten = file->unwritten();
            Export.contact(Records, *file);
            lossy += file->unwritten() > unwritten;
            Records.moveNext();
        }
        file->commit();
        const QStringList dateLacking = file->dateLacking();
        file.reset();
        busy.release();
        Records.returnToMark();
        tellCompleted(Export.completionWords + path, lossy, dateLacking);
    } catch (const std::exception &error) {
        file.reset();
        if (marked) {
            try {
                Records.returnToMark();
            } catch (const std::exception &) {
                // The record that was current is gone; the list stays where the walk left it.
            }
        }
        MsgBox(describe(error), vbOKOnly);
    }
}
