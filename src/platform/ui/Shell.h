#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// True for the addresses the shell may open as links: http:// and https:// addresses
// with a host, and mailto: addresses. A bare path, "httpd.conf" or "httpfoo" is none.
bool isShellLink(const QString &address);

// Opens a web or e-mail address with the user's default handler. Anything but a link
// (see isShellLink) is refused and false returned, so text taken from data never
// opens or runs a local file.
bool openLink(const QString &address);

// Opens a local document the program itself names (a help page, a file the user chose)
// with the program associated with its type. A relative path is taken from the
// current folder.
bool openDocument(const QString &path);

// Starts a program without waiting for it.
bool startProgram(const QString &program, const QStringList &arguments = {});

// Starts the on-screen keyboard of the desktop, when it has one.
bool startOnScreenKeyboard();
// The keyboard program it starts: the first common on-screen keyboard installed.
QString onScreenKeyboardProgram();

} // namespace platform
