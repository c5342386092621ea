#pragma once

#include "platform/ui/DialogSeam.h"

#include <memory>

class QFileDialog;
class QInputDialog;
class QMessageBox;
class QPrintDialog;
class QPrinter;

namespace platform {

// The real windows runDialog shows when no test answers for the user, made ready but not
// yet shown, so that tests can look at them as the user would see them.

// Room a title bar needs beside its text: the window's icon and its buttons.
inline constexpr int TitleBarAllowance = 150;

std::unique_ptr<QMessageBox> makeMessageBox(const DialogRequest &request);
// The objectName of the box a notice shows (DialogRequest::waits false).
inline constexpr char NoticeName[] = "Notice";
std::unique_ptr<QInputDialog> makeInputDialog(const DialogRequest &request);
std::unique_ptr<QFileDialog> makeFileDialog(const DialogRequest &request);
// The print dialog (Print) or the printer setup (PrinterSetup), changing `printer`. It is
// built into the printing library (PrintSupport.h): only what links that library calls it.
std::unique_ptr<QPrintDialog> makePrintDialog(const DialogRequest &request, QPrinter &printer);

} // namespace platform
