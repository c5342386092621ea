#pragma once

#include "platform/ui/CommonDialog.h"

// The main window's common dialog control CMDialog1. Windows hand a file name over
// through it: the editor's picture buttons leave the picture's path in its file name for
// the picture window, which reads it and writes it back.
platform::CommonDialog &CMDialog1();
