#pragma once

#include "helpers/DatabaseState.h"

#include <QString>

// The tablet flag, gTabletMode, is kept with the open database's state.

// Asks for one line of text in the program's input window: what the user typed after
// OK or Enter, "" after Cancel or when the window was closed from its title bar. With
// passwordMask the box shows "*" for each character. A caller may set the font of
// InputForm::instance().txtInput just before; it lasts for that one question.
QString InputDialog(const QString &prompt, const QString &title, const QString &defaultText = QString(),
                    bool passwordMask = false);
