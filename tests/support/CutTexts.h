#pragma once

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

// The texts a window shows only in part, in the fonts its controls are drawn with: a
// button narrower than its caption, a label smaller than its text, a grid column narrower
// than its heading.
inline QStringList cutTexts(const QWidget *window)
{
    QStringList cut;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
            // A push button's room as its style sizes it to a caption, without a least width.
            const int room = button->width() - button->style()->pixelMetric(QStyle::PM_ButtonMargin) -
                             2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            if (qobject_cast<const QPushButton *>(w)
                    ? button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')) > room
                    : button->width() < button->sizeHint().width())
                cut << button->text();
        } else if (const auto *label = qobject_cast<const QLabel *>(w); label && !label->text().isEmpty()) {
            const QSize needed =
                label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
            if (needed.width() > label->width() || needed.height() > label->height())
                cut << label->text();
        } else if (const auto *header = qobject_cast<const QHeaderView *>(w)) {
            for (int i = 0; header->orientation() == Qt::Horizontal && i < header->count(); ++i)
                if (header->sectionSize(i) > 0 && header->sectionSize(i) < header->sectionSizeHint(i))
                    cut << header->model()->headerData(i, Qt::Horizontal).toString();
        }
    }
    return cut;
}

// The grids of a window that scroll sideways, so that some column is never seen whole.
inline QStringList sidewaysGrids(const QWidget *window)
{
    QStringList scrolling;
    for (const QTableView *grid : window->findChildren<QTableView *>())
        if (grid->isVisibleTo(window) && grid->horizontalScrollBar()->maximum() > 0)
            scrolling << grid->objectName();
    return scrolling;
}
