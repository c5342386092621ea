#pragma once

#include "platform/ui/Form.h"

#include <memory>

class QPushButton;

namespace platform {
class PreviewWidget;
class PrintSurface;
} // namespace platform

// The preview window: holds the one print surface every report draws on, and pages,
// zooms and prints the document it holds. It is created on first use, hidden (not
// unloaded) by Close, and unloaded only by the main window (printer setup, program
// end); the surface lives as long as the window.
class frmPreview : public platform::Form {
    Q_OBJECT
  public:
    frmPreview();
    ~frmPreview() override;

    // The window, created and loaded on first use.
    static frmPreview &instance();
    // The window when it exists, without creating it (nullptr otherwise).
    static frmPreview *existing();

    platform::PrintSurface &surface() const { return *mSurface; }

    platform::PreviewWidget *vp;
    QPushButton *cmdPrevious;
    QPushButton *cmdNext;
    QPushButton *cmdZoomIn;
    QPushButton *cmdZoomOut;
    QPushButton *cmdPrint;
    QPushButton *cmdHelp;
    QPushButton *cmdClose;
    QPushButton *cmdThumbnail;
    QPushButton *cmdTwoPages;
    QPushButton *cmdPageWidth;
    QPushButton *cmdWholePage;

    void cmdNext_Click();
    void cmdPrevious_Click();
    void cmdZoomIn_Click();
    void cmdZoomOut_Click();
    void cmdThumbnail_Click();
    void cmdTwoPages_Click();
    void cmdWholePage_Click();
    void cmdPageWidth_Click();
    void cmdPrint_Click();
    void cmdClose_Click();
    void cmdHelp_Click();
    void vp_ZoomChanged();
    void Form_Resize();

    // The document name whose preview offers no Print: the first side of the pocket
    // book is only ever printed together with its second side.
    static const QString UnprintableDocument;
    // The body of the help window's page about the preview.
    static QString helpText();

  protected:
    void Form_Activate() override;
    void Form_KeyDown(int &keyCode, Qt::KeyboardModifiers shift) override;
    void Form_QueryUnload(bool &cancel, int unloadMode) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void updatePrintButton();

    // Declared first so that it goes last: the preview widget refers to it.
    std::unique_ptr<platform::PrintSurface> mSurface;
};

// The print surface `vp` of the preview window, creating the window on first use.
platform::PrintSurface &PreviewSurface();
