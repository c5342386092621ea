#pragma once

#include <QImage>
#include <QString>

namespace platform {

// The system clipboard, for text and pictures.
QString clipboardText();
void setClipboardText(const QString &text);
bool clipboardHasImage();
QImage clipboardImage(); // a null image when the clipboard holds no picture
void setClipboardImage(const QImage &image);
void clearClipboard();

} // namespace platform
