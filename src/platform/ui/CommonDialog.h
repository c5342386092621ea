#pragma once

#include <QColor>
#include <QString>

class QPrinter;

namespace platform {

// The common dialog control a window keeps: the caller sets the properties, calls one
// of the Show methods, and reads the properties back. With dlgCancelError set, Cancel
// raises RuntimeError 32755; otherwise Cancel leaves every property as it was.
class CommonDialog {
  public:
    static constexpr int cdlOFNReadOnly = 0x1;
    static constexpr int cdlOFNOverwritePrompt = 0x2;
    static constexpr int cdlOFNHideReadOnly = 0x4;
    static constexpr int cdlOFNAllowMultiselect = 0x200;
    static constexpr int cdlOFNFileMustExist = 0x1000;
    static constexpr int cdlCCRGBInit = 0x1;
    static constexpr int cdlPDPrintSetup = 0x40;

    QString dlgFileName;  // in: default name; out: the full path chosen
    QString dlgFileTitle; // out: the name chosen, without its folder
    QString dlgDialogTitle;
    QString dlgFilter; // "Description|pattern|Description|pattern"
    int dlgFilterIndex = 0;
    int dlgFlags = 0;
    QString dlgInitDir;
    QString dlgDefaultExt;
    bool dlgCancelError = false;
    QColor dlgColor;
    QPrinter *dlgPrinter = nullptr; // the printer the setup dialog changes

    // Each returns true when the user confirmed the dialog.
    bool dlgShowOpen();
    bool dlgShowSave();
    bool dlgShowColor();
    bool dlgShowPrinter();

  private:
    bool showFile(bool save);
    void cancelled() const;
};

} // namespace platform
