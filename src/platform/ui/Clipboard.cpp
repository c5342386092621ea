#include "platform/ui/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

bool clipboardHasImage()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

QImage clipboardImage()
{
    return clipboardHasImage() ? QGuiApplication::clipboard()->image() : QImage();
}

void setClipboardImage(const QImage &image)
{
    QGuiApplication::clipboard()->setImage(image);
}

void clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

} // namespace platform
