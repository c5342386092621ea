#include "platform/ui/CommonDialog.h"

#include "platform/RuntimeError.h"
#include "platform/print/PrintOutput.h"
#include "platform/ui/ApplicationTitle.h"
#include "platform/ui/DialogSeam.h"

#include <QFileInfo>

namespace platform {

bool CommonDialog::dlgShowOpen()
{
    return showFile(false);
}

bool CommonDialog::dlgShowSave()
{
    return showFile(true);
}

bool CommonDialog::showFile(bool save)
{
    DialogRequest request;
    request.kind = save ? DialogKind::SaveFile : DialogKind::OpenFile;
    request.title = dlgDialogTitle.isEmpty() ? (save ? QStringLiteral("Save As") : QStringLiteral("Open"))
                                             : dlgDialogTitle;
    request.fileName = dlgFileName;
    request.filter = dlgFilter;
    request.filterIndex = dlgFilterIndex;
    request.initialDir = dlgInitDir;
    request.defaultExt = dlgDefaultExt;
    request.flags = dlgFlags;
    const DialogAnswer answer = runDialog(request);
    if (!answer.accepted || answer.fileName.isEmpty()) {
        cancelled();
        return false;
    }
    dlgFileName = answer.fileName;
    dlgFileTitle = QFileInfo(answer.fileName).fileName();
    if (answer.filterIndex > 0)
        dlgFilterIndex = answer.filterIndex;
    return true;
}

bool CommonDialog::dlgShowColor()
{
    DialogRequest request;
    request.kind = DialogKind::Color;
    request.title = applicationTitle();
    request.color = dlgColor;
    request.flags = dlgFlags;
    const DialogAnswer answer = runDialog(request);
    if (!answer.accepted) {
        cancelled();
        return false;
    }
    dlgColor = answer.color;
    return true;
}

bool CommonDialog::dlgShowPrinter()
{
    DialogRequest request;
    request.kind = DialogKind::PrinterSetup;
    request.title = applicationTitle();
    request.flags = dlgFlags;
    // Without a printer of its own the setup changes the program's printer: what the user
    // chooses there is what the documents print on from then on.
    request.printer = dlgPrinter ? dlgPrinter : &PrintOutput::chosenPrinter();
    if (!runDialog(request).accepted) {
        cancelled();
        return false;
    }
    if (!dlgPrinter)
        PrintOutput::choosePrinter();
    return true;
}

void CommonDialog::cancelled() const
{
    if (dlgCancelError)
        throw RuntimeError(err::DialogCancelled, QStringLiteral("Cancel was selected."));
}

} // namespace platform
