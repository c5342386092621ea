#include "support/CutTexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QString caption(QString text)
{
    // "&&" shows one ampersand; a single one only underlines the next letter.
    return text.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

bool onScreen(const QWidget *control, const QWidget *window)
{
    return control->isVisibleTo(window) && control->width() > 0 && control->height() > 0;
}

bool cut(const QAbstractButton *button)
{
    if (const auto *push = qobject_cast<const QPushButton *>(button)) {
        // As the style sizes a push button to its caption, without its smallest width.
        const QStyle *style = push->style();
        const int room = push->width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push) -
                         2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push);
        return push->fontMetrics().horizontalAdvance(caption(push->text())) > room;
    }
    return button->width() < button->sizeHint().width() || button->height() < button->sizeHint().height();
}

bool cut(const QLabel *label)
{
    if (label->wordWrap())
        return label->heightForWidth(label->width()) > label->height();
    const QSize needed = label->sizeHint();
    return label->width() < needed.width() || label->height() < needed.height();
}

} // namespace

QStringList cutTexts(const QWidget *window)
{
    QStringList found;
    const auto note = [&found](const QWidget *control, const QString &text) {
        found << control->objectName() + QStringLiteral(": ") + text;
    };
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        if (onScreen(button, window) && !button->text().isEmpty() && cut(button))
            note(button, button->text());
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (onScreen(label, window) && !label->text().isEmpty() && cut(label))
            note(label, label->text());
    for (const QGroupBox *frame : window->findChildren<QGroupBox *>())
        if (onScreen(frame, window) && !frame->title().isEmpty() &&
            frame->width() < frame->minimumSizeHint().width())
            note(frame, frame->title());
    for (const QHeaderView *header : window->findChildren<QHeaderView *>()) {
        if (!onScreen(header, window) || header->orientation() != Qt::Horizontal || !header->model())
            continue;
        for (int i = 0; i < header->count(); ++i)
            if (!header->isSectionHidden(i) && header->sectionSize(i) > 0 &&
                header->sectionSize(i) < header->sectionSizeHint(i))
                note(header->parentWidget(), header->model()->headerData(i, Qt::Horizontal).toString());
    }
    return found;
}
