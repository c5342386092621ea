#include "printing/PrintModeSwitch.h"

#include "printing/frmPreview.h"

#include "helpers/MSendInput.h"
#include "platform/print/PrintSurface.h"

#include <QAction>

namespace {
void switchTo(bool preview, QAction *PreviewMode, QAction *PrintMode)
{
    if (PreviewMode)
        PreviewMode->setChecked(preview);
    if (PrintMode)
        PrintMode->setChecked(!preview);
    PreviewSurface().setPreview(preview);
    SendKeysInput(QStringLiteral("%R"), false);
}
} // namespace

void PreviewMode_Click(QAction *PreviewMode, QAction *PrintMode)
{
    switchTo(true, PreviewMode, PrintMode);
}

void PrintMode_Click(QAction *PreviewMode, QAction *PrintMode)
{
    switchTo(false, PreviewMode, PrintMode);
}

void UnloadPreview()
{
    if (frmPreview *form = frmPreview::existing())
        form->unload();
}

void RestorePreviewMode(const QAction *PreviewMode)
{
    if (PreviewMode && PreviewMode->isChecked())
        PreviewSurface().setPreview(true);
}

void ClosePreviewAtExit()
{
    if (frmPreview *form = frmPreview::existing()) {
        if (form->surface().orientation() == 1)
            form->surface().setOrientation(0);
        form->unload();
    }
}
