#include "helpers/URLLinkYellow.h"

URLLinkYellow::URLLinkYellow(QWidget *parent) : URLLink(parent)
{
    setObjectName(QStringLiteral("URLLinkYellow"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xC0));
    setPalette(colours);
}
