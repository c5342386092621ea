#include "platform/grid/DataGridDelegate.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>
#include <QStyle>

namespace platform {

namespace {

// Text that takes one line as it is: no line breaks, and no blanks at the end, which a
// text layout leaves out of the width it compares with the cell.
bool isOneLine(const QString &text)
{
    if (text.isEmpty() || text.back().isSpace())
        return false;
    for (QChar c : text) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
            c == u'\t' || c.isHighSurrogate() || c.direction() == QChar::DirR || c.direction() == QChar::DirAL)
            return false;
    }
    return true;
}

} // namespace

bool DataGridDelegate::drawsNothing(const QStyleOptionViewItem &option, const QModelIndex &index)
{
    constexpr QStyle::State Marked = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver;
    if (option.state & Marked)
        return false;
    const QVariant text = index.data(Qt::DisplayRole);
    if (text.isValid() && !text.toString().isEmpty())
        return false;
    // Whatever else a model gives a cell is drawn as well.
    for (int role : {Qt::BackgroundRole, Qt::DecorationRole, Qt::CheckStateRole})
        if (index.data(role).isValid())
            return false;
    return true;
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
    const QFontMetricsF metrics(option.font);
    QString text = option.text;
    if (metrics.horizontalAdvance(text) > area.width())
        text = metrics.elidedText(text, option.textElideMode, area.width());
    // A laid-out line is a whole number of pixels high.
    const int lineHeight = qCeil(metrics.ascent() + metrics.descent());
    const QRect line = QStyle::alignedRect(option.direction, option.displayAlignment,
                                           QSize(area.width(), lineHeight), area);
    const qreal textWidth = metrics.horizontalAdvance(text);
    qreal x = line.left();
    const Qt::Alignment horizontal = QStyle::visualAlignment(option.direction, option.displayAlignment) & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        x += area.width() - textWidth;
    else if (horizontal & Qt::AlignHCenter)
        x += (area.width() - textWidth) / 2;
    painter->setFont(option.font);
    painter->drawText(QPointF(x, line.top() + metrics.ascent()), text);
    painter->restore();
}

void DataGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (drawsNothing(option, index))
        return;
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (drawsPlainText(cell)) {
        drawPlainText(painter, cell);
        return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

} // namespace platform
