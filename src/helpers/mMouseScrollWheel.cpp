#include "helpers/mMouseScrollWheel.h"

#include "helpers/MouseWheelHook.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QString>
#include <QVariant>

namespace {

constexpr int DeltaPerNotch = 120;
constexpr int RowsPerNotch = 3;
// Where a grid keeps the part of a notch that high-resolution wheels have sent so far.
constexpr char RemainderProperty[] = "mouseWheelRemainder";

void scrollRows(QAbstractItemView *grid, int rows)
{
    if (grid->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        QScrollBar *bar = grid->verticalScrollBar();
        bar->setValue(bar->value() + rows); // the bar stops at either end by itself
        return;
    }
    const QAbstractItemModel *model = grid->model();
    const QModelIndex top = grid->indexAt(QPoint(1, 1));
    if (!model || !top.isValid())
        return;
    const int last = model->rowCount(top.parent()) - 1;
    const int row = qBound(0, top.row() + rows, last);
    grid->scrollTo(model->index(row, top.column(), top.parent()), QAbstractItemView::PositionAtTop);
}

} // namespace

void HookMouseWheel(QWidget *window)
{
    if (window)
        MouseWheelHook::instance()->hook(window->window());
}

void UnhookMouseWheel(QWidget *window)
{
    if (window)
        MouseWheelHook::instance()->unhook(window->window());
}

bool IsMouseWheelHooked(QWidget *window)
{
    return window && MouseWheelHook::instance()->isHooked(window->window());
}

void ScrollGridByWheel(QAbstractItemView *grid, int MouseKeys, int Rotation, int Xpos, int Ypos)
{
    Q_UNUSED(MouseKeys);
    Q_UNUSED(Xpos);
    Q_UNUSED(Ypos);
    if (!grid || Rotation == 0)
        return;
    int pending = grid->property(RemainderProperty).toInt();
    // A turn the other way drops what was left over from the last direction.
    if ((pending < 0) != (Rotation < 0))
        pending = 0;
    pending += Rotation;
    const int notches = pending / DeltaPerNotch;
    grid->setProperty(RemainderProperty, pending - notches * DeltaPerNotch);
    if (notches != 0)
        scrollRows(grid, -notches * RowsPerNotch);
}

bool IsPointInWindow(QWidget *window, int X, int Y)
{
    if (!window)
        return false;
    const QRect r = window->isWindow() ? window->frameGeometry()
                                       : QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
    return X >= r.left() && X <= r.left() + r.width() && Y >= r.top() && Y <= r.top() + r.height();
}

bool installsMouseWheelHook(const QString &programFolder)
{
    return !programFolder.toLower().contains(QLatin1String("quiltwin"));
}
