#include "helpers/ProgramIdentity.h"

#include <QLinearGradient>
#include <QPainter>

QPixmap programPicture()
{
    // Drawn rather than shipped, so the picture is the same wherever the program runs.
    QPixmap picture(96, 96);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 96, 96);
    fill.setColorAt(0, QColor(0x40, 0x80, 0x80));
    fill.setColorAt(1, QColor(0x20, 0x40, 0x60));
    painter.setBrush(fill);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(4, 4, 88, 88), 14, 14);
    painter.setPen(Qt::white);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(4, 4, 88, 88), Qt::AlignCenter, QStringLiteral("Q3"));
    return picture;
}

QString noticeLine()
{
    return QStringLiteral("Quiltern 3 - your contacts, addresses and reminders in one place.  ");
}
