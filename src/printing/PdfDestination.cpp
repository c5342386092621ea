#include "printing/PdfDestination.h"

#include "helpers/DatabaseState.h"
#include "platform/print/PrintOutput.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgressWindow.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The pages written into a PDF file, shown in the progress window with its Cancel.
class PdfProgress : public platform::PrintOutput::PageProgress {
  public:
    PdfProgress(const QString &documentName, const QString &path, int pages)
        : mWindow(documentName.isEmpty() ? QStringLiteral("Printing") : documentName, pages),
          mFile(QDir::toNativeSeparators(QFileInfo(path).fileName())), mPages(pages)
    {
    }
    bool pagesWritten(int written) override
    {
        return mWindow.report(written, QStringLiteral("%L1 of %L2 pages written to \"%3\"")
                                           .arg(written)
                                           .arg(mPages)
                                           .arg(mFile));
    }

  private:
    platform::ProgressWindow mWindow;
    QString mFile;
    int mPages;
};
} // namespace

QString ChoosePdfPath(const QString &documentName)
{
    platform::CommonDialog dialog;
    dialog.dlgDialogTitle = platform::PrintOutput::printerInstalled()
                                ? QStringLiteral("Print to File (PDF)")
                                : QStringLiteral("No printer is installed - save as PDF");
    const QFileInfo proposed(platform::PrintOutput::proposedPdfPath(documentName));
    dialog.dlgInitDir = proposed.absolutePath();
    dialog.dlgFileName = proposed.fileName();
    dialog.dlgFilter = QStringLiteral("PDF Files (*.pdf)|*.pdf");
    dialog.dlgFilterIndex = 1;
    dialog.dlgDefaultExt = QStringLiteral("pdf");
    dialog.dlgFlags =
        platform::CommonDialog::cdlOFNOverwritePrompt | platform::CommonDialog::cdlOFNHideReadOnly;
    for (;;) {
        if (!dialog.dlgShowSave())
            return QString();
        const QString asked = dialog.dlgFileName;
        QString path = asked;
        if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            path += QStringLiteral(".pdf");
        // Asked again, on the name refused or not to be replaced.
        dialog.dlgFileName = path;
        if (TellIfOpenBookFile(path))
            continue;
        // The dialog asked about the name typed: a file of the name written is asked about
        // as the dialog would have.
        const QFileInfo written(path);
        if (path != asked && (written.exists() || written.isSymLink()) &&
            platform::MsgBox(
                QStringLiteral("%1 already exists.\r\nDo you want to replace it?").arg(written.fileName()),
                platform::vbYesNo + platform::vbExclamation + platform::vbDefaultButton2,
                dialog.dlgDialogTitle) != platform::vbYes)
            continue;
        return path;
    }
}

void InstallPdfDestination()
{
    platform::PrintOutput::setPdfPathChooser(&ChoosePdfPath);
    platform::PrintOutput::setPageProgress([](const QString &documentName, const QString &path, int pages) {
        return std::make_unique<PdfProgress>(documentName, path, pages);
    });
}
