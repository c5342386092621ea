#pragma once

class QAction;

// The print or preview switch of the main window's Reports menu. The main window's
// PreviewMode_Click and PrintMode_Click handlers call these with its two menu
// entries; each checks its own entry, unchecks the other, sets the surface's preview
// flag and drops the Reports menu down again. The switch is not stored: the surface
// starts in print mode and "Print Reports" starts checked.
void PreviewMode_Click(QAction *PreviewMode, QAction *PrintMode);
void PrintMode_Click(QAction *PreviewMode, QAction *PrintMode);

// For the printer setup: unloads the preview window (the surface is made anew at its
// next use); afterwards RestorePreviewMode sets the new surface's flag from the
// menu's check, so the switch survives the change of printer.
void UnloadPreview();
void RestorePreviewMode(const QAction *PreviewMode);

// At program end: the surface is left in portrait, then the window unloaded.
void ClosePreviewAtExit();
