#include "printing/PdfDestination.h"

#include "platform/print/PrintOutput.h"
#include "platform/ui/CommonDialog.h"

QString ChoosePdfPath(const QString &documentName)
{
    platform::CommonDialog dialog;
    dialog.dlgDialogTitle = QStringLiteral("No printer is installed - save as PDF");
    QString name = documentName.trimmed();
    // Characters no file name may hold become blanks.
    for (QChar &c : name) {
        if (QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u' ';
    }
    dialog.dlgFileName = (name.isEmpty() ? QStringLiteral("Report") : name) + QStringLiteral(".pdf");
    dialog.dlgFilter = QStringLiteral("PDF Files (*.pdf)|*.pdf");
    dialog.dlgFilterIndex = 1;
    dialog.dlgDefaultExt = QStringLiteral("pdf");
    dialog.dlgFlags =
        platform::CommonDialog::cdlOFNOverwritePrompt | platform::CommonDialog::cdlOFNHideReadOnly;
    if (!dialog.dlgShowSave())
        return QString();
    QString path = dialog.dlgFileName;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

void InstallPdfDestination()
{
    platform::PrintOutput::setPdfPathChooser(&ChoosePdfPath);
}
