#include "platform/grid/DataGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>

namespace platform {

DataGrid::DataGrid(QTableView *view, DataControl *data, QObject *parent, int rowHeightTwips,
                   const QList<GridColumn> &columns)
    : QObject(parent), mView(view), mModel(new DataGridModel(data, this)), mRowHeightTwips(rowHeightTwips)
{
    // Rows and columns are settled before the view sees the model: every row resized or
    // reset afterwards costs the view a pass over all rows, a hundred thousand on a large list.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setRowHeightTwips(mRowHeightTwips);
    if (!columns.isEmpty())
        mModel->setColumns(columns);
    view->setModel(mModel);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab goes on to the window's next control, as from any list; Ctrl+Tab and the arrow keys
    // move from cell to cell.
    view->setTabKeyNavigation(false);
    applyWidths();
    // A width the user drags is the user's; the others follow the design and the font.
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (!mApplying)
            mUserSized.insert(column);
    });
    // A new font (another look) needs other widths for the headings.
    view->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (mSyncing || !current.isValid())
                    return;
                mSyncing = true;
                mModel->setCurrentRow(current.row());
                mSyncing = false;
            });
    // The view's own drag selection (a press near the foot that scrolls the list under a
    // still pointer) moves the highlight without the current row: the highlight goes back to
    // the record the detail boxes and the commands use.
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndex current = mView->currentIndex();
        if (current.isValid() && !mView->selectionModel()->isRowSelected(current.row()))
            mView->selectionModel()->select(current,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    connect(mModel, &DataGridModel::currentRowChanged, this, &DataGrid::followRecordset);
    connect(mModel, &QAbstractItemModel::modelReset, this, [this] { followRecordset(mModel->currentRow()); });
    mHighlight = view->palette().color(QPalette::Highlight);
    mHighlightedText = view->palette().color(QPalette::HighlightedText);
    showFocusOnRow(view->hasFocus());
    // The view starts on the record set's current row, as it does after every reset.
    if (!columns.isEmpty())
        followRecordset(mModel->currentRow());
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FontChange && mView && watched == mView)
        applyDesignedWidths();
    if (mView && watched == mView && followTyping(event))
        return true;
    if (event->type() == QEvent::KeyPress && mView && watched == mView) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const bool backwards =
            key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && key->modifiers() & Qt::ControlModifier) {
            moveToNextCell(backwards ? -1 : 1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool DataGrid::followTyping(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        showFocusOnRow(true);
        return false;
    case QEvent::FocusOut:
        mTypedKeys.clear();
        mAltHeld = false;
        showFocusOnRow(false);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        break;
    default:
        return false;
    }
    const auto *key = static_cast<const QKeyEvent *>(event);
    const bool press = event->type() == QEvent::KeyPress;
    if (key->key() == Qt::Key_Alt) {
        mAltHeld = press;
        return false;
    }
    if (key->isAutoRepeat())
        return false;
    const bool command =
        mAltHeld || key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
    if (!press) {
        if (mTypedKeys.remove(key->key()))
            emit typedKeyReleased(key->key());
        return false;
    }
    if (!command) {
        mTypedKeys.insert(key->key());
        return false;
    }
    mTypedKeys.remove(key->key());
    // A letter that comes while Alt is still down but without it (the window system may
    // tell the keys apart that way) is a command the view would take for type-ahead.
    return !(key->modifiers() & Qt::AltModifier) && mAltHeld && !key->text().isEmpty();
}

void DataGrid::showFocusOnRow(bool focused)
{
    QPalette look = mView->palette();
    look.setColor(QPalette::Highlight, focused ? mHighlight : look.color(QPalette::Midlight));
    look.setColor(QPalette::HighlightedText, focused ? mHighlightedText : look.color(QPalette::Text));
    mView->setPalette(look);
}

void DataGrid::moveToNextCell(int step)
{
    // Along the row in the order the columns show, on into the next row at either end;
    // columns of no width are passed over, and the first and last cells go no further.
    const QModelIndex current = mView->currentIndex();
    const QHeaderView *header = mView->horizontalHeader();
    const int columns = header->count();
    if (!current.isValid() || columns == 0)
        return;
    int row = current.row();
    int visual = header->visualIndex(current.column());
    for (int tries = 0; tries < columns * 2; ++tries) {
        visual += step;
        if (visual < 0 || visual >= columns) {
            row += step;
            if (row < 0 || row >= mModel->rowCount())
                return;
            visual = step > 0 ? 0 : columns - 1;
        }
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical) && header->sectionSize(logical) > 0) {
            mView->setCurrentIndex(mModel->index(row, logical));
            return;
        }
    }
}

int DataGrid::twipsToPixels(int twips, const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return qRound(twips * dpi / 1440.0);
}

int DataGrid::pixelsToTwips(int pixels, const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return qRound(pixels * 1440.0 / dpi);
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    mModel->setColumns(columns);
    applyWidths();
}

void DataGrid::setRowHeightTwips(int twips)
{
    mRowHeightTwips = twips;
    if (!mView)
        return;
    const int pixels = qMax(1, twipsToPixels(twips, mView));
    QHeaderView *rows = mView->verticalHeader();
    if (rows->minimumSectionSize() != 1)
        rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(pixels);
}

void DataGrid::applyWidths()
{
    mUserSized.clear();
    applyDesignedWidths();
}

void DataGrid::applyDesignedWidths()
{
    if (!mView)
        return;
    mApplying = true;
    for (int i = 0; i < mModel->columns().size(); ++i)
        if (!mUserSized.contains(i))
            mView->setColumnWidth(i, designedPixels(i));
    mApplying = false;
}

int DataGrid::columnPixels(double twips) const
{
    const int dpi = mView ? mView->logicalDpiX() : 96;
    return qRound(twips * dpi / 1440.0 * mWidthScale);
}

int DataGrid::widthForAllColumns() const
{
    if (!mView)
        return 0;
    const QHeaderView *rows = mView->verticalHeader();
    return 2 * mView->frameWidth() + (rows->isHidden() ? 0 : rows->sizeHint().width()) +
           mView->horizontalHeader()->length() + mView->verticalScrollBar()->sizeHint().width();
}

int DataGrid::designedPixels(int column) const
{
    const int pixels = columnPixels(mModel->columns()[column].widthTwips);
    // A column of no width stays hidden.
    if (pixels <= 0 || !mView)
        return pixels;
    // The fonts here set some headings wider than the widths designed for them.
    return qMax(pixels, mView->horizontalHeader()->sectionSizeHint(column));
}

void DataGrid::setColumnWidthScale(double scale)
{
    if (scale <= 0)
        return;
    if (!mView) {
        mWidthScale = scale;
        return;
    }
    const QHeaderView *header = mView->horizontalHeader();
    mApplying = true;
    for (const int column : std::as_const(mUserSized))
        if (column < header->count())
            mView->setColumnWidth(column, qRound(header->sectionSize(column) * scale / mWidthScale));
    mApplying = false;
    mWidthScale = scale;
    applyDesignedWidths();
}

QList<GridColumn> DataGrid::columnsAsShown() const
{
    QList<GridColumn> shown;
    if (!mView)
        return mModel->columns();
    const QHeaderView *header = mView->horizontalHeader();
    for (int visual = 0; visual < mModel->columns().size(); ++visual) {
        const int logical = header->logicalIndex(visual);
        GridColumn column = mModel->columns()[logical];
        if (mUserSized.contains(logical))
            column.widthTwips = pixelsToTwips(qRound(header->sectionSize(logical) / mWidthScale), mView);
        shown.append(column);
    }
    return shown;
}

void DataGrid::followRecordset(int row)
{
    if (mSyncing || !mView)
        return;
    mSyncing = true;
    if (row < 0) {
        mView->selectionModel()->clearCurrentIndex();
    } else {
        const QModelIndex target = mModel->index(row, shownColumn(mView->currentIndex().column()));
        mView->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        mView->scrollTo(target);
    }
    mSyncing = false;
}

// The current cell stays in a column the user sees: in a hidden one, or one of no width,
// the grid would show nothing where the focus is.
int DataGrid::shownColumn(int column) const
{
    const QHeaderView *header = mView->horizontalHeader();
    const auto shown = [header](int logical) {
        return !header->isSectionHidden(logical) && header->sectionSize(logical) > 0;
    };
    if (column >= 0 && column < header->count() && shown(column))
        return column;
    for (int visual = 0; visual < header->count(); ++visual) {
        if (shown(header->logicalIndex(visual)))
            return header->logicalIndex(visual);
    }
    return qMax(0, column);
}

} // namespace platform
