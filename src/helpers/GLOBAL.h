#pragma once

#include <QString>

// True on a tablet without a mouse, or after the tablet mode command: dialogs then sit
// near the top of the screen and offer the on-screen keyboard.
extern bool gTabletMode;

// Asks for one line of text in the program's input window: what the user typed after
// OK or Enter, "" after Cancel or when the window was closed from its title bar. With
// passwordMask the box shows "*" for each character. A caller may set the font of
// InputForm::instance().txtInput just before; it lasts for that one question.
QString InputDialog(const QString &prompt, const QString &title, const QString &defaultText = QString(),
                    bool passwordMask = false);
