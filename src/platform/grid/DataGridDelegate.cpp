#include "platform/grid/DataGridDelegate.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace platform {

namespace {

// Text the style would lay out on one line.
bool isOneLine(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

} // namespace

bool DataGridDelegate::drawsNothing(const QStyleOptionViewItem &cell)
{
    constexpr QStyle::State Marked = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver;
    constexpr QStyleOptionViewItem::ViewItemFeatures Pictured =
        QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator;
    return !(cell.state & Marked) && cell.text.isEmpty() && !(cell.features & Pictured) &&
           cell.backgroundBrush.style() == Qt::NoBrush;
}

bool DataGridDelegate::drawsPlainText(const QStyleOptionViewItem &option)
{
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : nullptr;
    return style && style->name() == QLatin1String("fusion") &&
           option.features == QStyleOptionViewItem::HasDisplay && option.backgroundBrush.style() == Qt::NoBrush &&
           !(option.state & (QStyle::State_HasFocus | QStyle::State_Editing)) && option.direction == Qt::LeftToRight &&
           option.showDecorationSelected && isOneLine(option.text);
}

// The cell as the style draws a text cell: its panel, then the text a margin in from both
// sides, cut short with an ellipsis when it is too wide, aligned as the model says. The
// style lays the text out three times over to find where it goes; one line of text
// without a check box or a picture needs none of that.
void DataGridDelegate::drawPlainText(QPainter *painter, const QStyleOptionViewItem &option)
{
    const QWidget *widget = option.widget;
    const QStyle *style = widget->style();
    painter->save();
    painter->setClipRect(option.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, widget);

    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->setPen(
        option.palette.color(group, option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    QTextOption textOption(QStyle::visualAlignment(option.direction, option.displayAlignment));
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    // Text cut short is laid out anew, the ellipsis and all aligned as the whole would be.
    QString text = option.text;
    bool cut = false;
    for (;;) {
        QTextLayout layout(text, option.font);
        layout.setTextOption(textOption);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(area.width());
        layout.endLayout();
        if (!cut && line.naturalTextWidth() > area.width()) {
            cut = true;
            const QString elided = QFontMetricsF(option.font).elidedText(text, option.textElideMode, area.width());
            if (elided != text) {
                text = elided;
                continue;
            }
        }
        line.draw(painter, QStyle::alignedRect(option.direction, option.displayAlignment,
                                               QSize(area.width(), int(line.height())), area)
                               .topLeft());
        break;
    }
    painter->restore();
}

void DataGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (drawsNothing(cell))
        return;
    if (drawsPlainText(cell)) {
        drawPlainText(painter, cell);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

} // namespace platform
