// The grid's own behaviour: selection marks in column 0, the detail boxes under the
// grid, keys, the two-click column move and cell editing.

#include "mainwindow/GridEvents.h"

#include "helpers/MSendInput.h"
#include "helpers/ValueHelpers.h"
#include "mainwindow/ColumnLayout.h"
#include "mainwindow/DetailBoxes.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/MainGridDelegate.h"
#include "mainwindow/NameList.h"
#include "mainwindow/RecordCommands.h"
#include "platform/RuntimeError.h"
#include "platform/base/Clock.h"
#include "platform/db/DataControl.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/MsgBox.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextDocument>

#include <utility>

using platform::RuntimeError;

namespace {

const QString AllowGridEditingCaption = QStringLiteral("Allow &Grid Editing");
const QString DisableGridEditingCaption = QStringLiteral("Disable &Grid Editing");
const QString SelectedField = QStringLiteral("Selected");
const QString MarkedValue = QStringLiteral("x");

// The detail boxes show their lines one under the other; the text editor keeps plain
// line feeds.
QString boxText(const QString &lines)
{
    QString text = lines;
    text.replace(DetailLineBreak, QStringLiteral("\n"));
    return text;
}

// Leaves a box as setting its plain text does: the text, a fresh cursor at its start
// brought into view, nothing to undo, unmodified. The editor's own way also formats a
// selection of the whole text, which lays the text out once more only to throw that away.
void fillBox(QPlainTextEdit *box, const QString &text)
{
    QTextDocument *document = box->document();
    document->setPlainText(text);
    box->setTextCursor(QTextCursor(document));
    document->setModified(false);
}

bool isCurrentRowShown(platform::Recordset *rs)
{
    return rs && rs->isOpen() && rs->recordCount() > 0 && !rs->eof() && !rs->bof();
}

} // namespace

GridEvents::GridEvents(NameList &window) : mWindow(window), mUi(*window.mUi) {}

void GridEvents::connectEvents()
{
    for (QObject *watched :
         std::initializer_list<QObject *>{mUi.Table1, mUi.txtName, mUi.txtPhone, mUi.TextBackground})
        watched->installEventFilter(this);
    mUi.Table1->viewport()->installEventFilter(this);
    mDelegate = new MainGridDelegate(*this, mUi.Table1);
    mUi.Table1->setItemDelegate(mDelegate);
    connect(mUi.Table1, &QAbstractItemView::clicked, this, [this] { Table1_Click(); });
    connect(mUi.Table1, &QAbstractItemView::doubleClicked, this, [this] { Table1_DblClick(); });
    connect(mUi.Table1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { Table1_HeadClick(column); });
    connect(mUi.Table1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                // The record set follows the grid before the handler reads the current row.
                if (current.isValid())
                    mWindow.columnLayout().binding()->model()->setCurrentRow(current.row());
                Table1_RowColChange(previous.isValid() ? previous.row() : -1,
                                    previous.isValid() ? previous.column() : -1);
            });
    // Working the list's scroll bar is no click: a row change after it marks nothing.
    connect(mUi.Table1->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { Table1_ClearClickFlag(); });
    // The boxes under the grid describe the contact the grid starts on.
    Table1_RowColChange(-1, -1);
}

void GridEvents::pushOutOfMarkColumn()
{
    // One column to the right once the running event is done, as a typed Right arrow
    // would move it, but without counting as the user's key: the next click in the mark
    // column marks again.
    if (mRightPushPending)
        return;
    mRightPushPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            mRightPushPending = false;
            const QModelIndex current = mUi.Table1->currentIndex();
            if (current.isValid() && current.column() == 0 && mUi.Table1->model()->columnCount() > 1)
                mUi.Table1->setCurrentIndex(current.siblingAtColumn(1));
        },
        Qt::QueuedConnection);
}

int GridEvents::gridCol() const
{
    const QModelIndex current = mUi.Table1->currentIndex();
    return current.isValid() ? current.column() : -1;
}

void GridEvents::Table1_MarkPress()
{
    if (gMainWindow.gIgnoreNextGridClick)
        return;
    mbGridClicked = true;
    mMarkPending = true;
}

void GridEvents::Table1_Click()
{
    // A press on the very cell the cursor stood on moved nothing, so no row change
    // marked it: the click does.
    if (mMarkPending) {
        mMarkPending = false;
        if (gridCol() == 0 && isCurrentRowShown(mUi.Data1->recordset()))
            toggleCurrentMark();
    }
    // Out of the mark column, so that the next click there marks again; the first click
    // after the window comes back only takes the focus.
    if (!gridEditActive() && gridCol() == 0 && !mbFirstGridClick)
        pushOutOfMarkColumn();
    mbFirstGridClick = false;
    if (!gMainWindow.gIgnoreNextGridClick)
        mbGridClicked = true;
    gMainWindow.gIgnoreNextGridClick = false;
}

void GridEvents::Table1_DblClick()
{
    mbGridClicked = false;
    mWindow.records().cmdEdit_Click();
}

void GridEvents::Table1_ClearClickFlag()
{
    mbGridClicked = false;
}

void GridEvents::Table1_BeforeColEdit()
{
    mbCellEditing = true;
}

void GridEvents::Table1_AfterColEdit()
{
    mbCellEditing = false;
}

void GridEvents::toggleCurrentMark()
{
    platform::Recordset *rs = mUi.Data1->recordset();
    mMarkPending = false;
    mbGridClicked = false;
    try {
        rs->edit();
        const QVariant mark = rs->value(SelectedField);
        if (!IsNull(mark) && mark.toString() == MarkedValue) {
            rs->setValue(SelectedField, QStringLiteral(" "));
            gMainWindow.gSelectedCount = qMax(0, gMainWindow.gSelectedCount - 1);
        } else {
            rs->setValue(SelectedField, MarkedValue);
            ++gMainWindow.gSelectedCount;
        }
        rs->update();
    } catch (const RuntimeError &error) {
        // A list the database will not write to (the file became read-only) keeps
        // its marks; the user hears why.
        if (rs->editMode() != platform::EditMode::None)
            rs->cancelUpdate();
        platform::MsgBox(error.description());
    }
    QPushButton *showSelected = mWindow.button(QStringLiteral("cmdShowSelected"));
    if (gMainWindow.gSelectedCount < 1) {
        mUi.lblSelectedCount->setText(QString());
        showSelected->setVisible(false);
    } else {
        mUi.lblSelectedCount->setText(QString::number(gMainWindow.gSelectedCount) +
                                          QStringLiteral(" selected record(s)."));
        showSelected->setVisible(true);
    }
    pushOutOfMarkColumn();
}

void GridEvents::Table1_RowColChange(int LastRow, int LastCol)
{
    Q_UNUSED(LastRow);
    platform::Recordset *rs = mUi.Data1->recordset();
    if (!isCurrentRowShown(rs))
        return;

    // A press in the mark column counts as a click there even when the cursor had no
    // cell before it.
    if (gridCol() == 0 && mbGridClicked && (LastCol != -1 || mMarkPending))
        toggleCurrentMark();

    const ContactFieldReader field = [rs](const QString &name) -> QVariant {
        try {
            return rs->value(name);
        } catch (const RuntimeError &) {
            return QVariant(); // a field this record source lacks shows as empty
        }
    };
    fillBox(mUi.txtName, boxText(detailNameText(field)));
    fillBox(mUi.txtPhone, boxText(detailPhoneText(field)));
    mWindow.dispatch(QStringLiteral("LoadRecordPictures"));
}

void GridEvents::Table1_KeyDown(int &KeyCode, Qt::KeyboardModifiers Shift, const QString &typed)
{
    Q_UNUSED(Shift);
    mbGridClicked = false;
    miMoveColumn = 0;
    switch (KeyCode) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
    case Qt::Key_Up:
    case Qt::Key_Right:
        return;
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Insert:
        if (!mbCellEditing)
            KeyCode = platform::KeyCancelled;
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter ends a cell edit; otherwise the editor takes over, and the grid has
        // nothing to do with the key afterwards.
        if (mbCellEditing)
            return;
        KeyCode = platform::KeyCancelled;
        mWindow.records().cmdEdit_Click();
        return;
    default:
        break;
    }
    if (typed.size() != 1 || mAllowUpdate)
        return;
    // Letters beyond ASCII locate as well as A to Z, whatever layout typed them.
    const QChar ch = typed.at(0);
    if (ch.unicode() < platform::CharSpace || (ch.unicode() > u'z' && (ch.unicode() < 0xA0 || !ch.isPrint())))
        return;
    // Typing in the list starts or continues a locate; the braces make the sender type
    // the character itself, also for + ^ % ( ) and the like.
    mUi.txtLocate->setFocus();
    SendKeysInput(QStringLiteral("{") + typed + QStringLiteral("}"), false);
    KeyCode = platform::KeyCancelled;
}

void GridEvents::Table1_HeadClick(int ColIndex)
{
    if (!mWindow.columnLayout().binding())
        return;
    QList<platform::GridColumn> columns = mWindow.columnLayout().binding()->columnsAsShown();
    if (miMoveColumn == 0) {
        if (ColIndex <= 0 || ColIndex >= columns.size())
            return;
        const platform::GridColumn &clicked = columns[ColIndex];
        msMoveDataField = clicked.dataField;
        msMoveCaption = clicked.caption;
        mdMoveWidth = clicked.widthTwips;
        miMoveColumn = ColIndex;
        if (platform::MsgBox(QStringLiteral("The next column heading you click will cause the ") +
                                 msMoveCaption + QStringLiteral(" column to move beside that column."),
                             platform::vbOKCancel + platform::vbInformation,
                             QStringLiteral("Column move started")) == platform::vbCancel)
            miMoveColumn = 0;
        return;
    }

    if (miMoveColumn < columns.size())
        columns.removeAt(miMoveColumn);
    const int target = qBound(1, ColIndex == 0 ? 1 : ColIndex, int(columns.size()));
    platform::GridColumn moved; // alignment and the rest as a new column has them
    moved.dataField = msMoveDataField;
    moved.caption = msMoveCaption;
    moved.widthTwips = mdMoveWidth;
    columns.insert(target, moved);
    mWindow.columnLayout().placeColumns(columns);
    miMoveColumn = 0;
}

bool GridEvents::Table1_WriteCell(int row, int column, const QVariant &value)
{
    platform::Recordset *rs = mUi.Data1->recordset();
    if (!rs || !rs->isOpen() || !mWindow.columnLayout().binding() || column < 0 ||
        column >= mWindow.columnLayout().binding()->model()->columns().size())
        return false;
    const QString field = mWindow.columnLayout().binding()->model()->columns()[column].dataField;
    try {
        const QVariant before = rs->valueAt(row, rs->fieldIndex(field));
        const bool unchanged = IsNull(before) ? NullToString(value).toString().isEmpty() : before == value;
        // A cell left as it was is no update, and stamps nothing.
        if (unchanged)
            return true;
        rs->setAbsolutePosition(row);
        rs->edit();
        // The stamp goes first, so that an edit of the update date itself wins.
        rs->setValue(QStringLiteral("DateUpdated"), platform::now());
        rs->setValue(field, value);
        rs->update();
        return true;
    } catch (const RuntimeError &error) {
        if (rs->editMode() != platform::EditMode::None)
            rs->cancelUpdate();
        platform::MsgBox(error.description());
        return false;
    }
}

bool GridEvents::storeCellEdit()
{
    return !mbCellEditing || !mDelegate || mDelegate->storeOpenEdit();
}

void GridEvents::clickAfterEdit(bool stored)
{
    const QModelIndex aimed = std::exchange(mClickedWhileEditing, {});
    if (stored && aimed.isValid())
        mUi.Table1->setCurrentIndex(aimed);
}

void GridEvents::GridEditMenu_Click()
{
    QAction *item = mWindow.menuItem(QStringLiteral("GridEditMenu"));
    if (item->text() == AllowGridEditingCaption) {
        item->setText(DisableGridEditingCaption);
        mAllowUpdate = true;
    } else if (item->text() == DisableGridEditingCaption) {
        item->setText(AllowGridEditingCaption);
        mAllowUpdate = false;
    } else {
        return;
    }
    if (platform::DataGrid *binding = mWindow.columnLayout().binding())
        binding->model()->setEditable(mAllowUpdate);
    mUi.Table1->setEditTriggers(mAllowUpdate
                                    ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                                    : QAbstractItemView::NoEditTriggers);
}

bool GridEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mUi.Table1->viewport())
        return gridMouse(static_cast<QWidget *>(watched), event);
    // The grid and the detail area under it share one key handler.
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    int keyCode = key->key();
    Table1_KeyDown(keyCode, key->modifiers(), key->text());
    return keyCode == platform::KeyCancelled;
}

void GridEvents::windowActivated()
{
    mbFirstGridClick = true;
    mbGridClicked = false;
}

bool GridEvents::gridMouse(QWidget *viewport, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const QModelIndex at = mUi.Table1->indexAt(mouse->position().toPoint());
    // A press off the cell being edited waits for its value to be stored.
    if (mbCellEditing) {
        mClickedWhileEditing = at;
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        // The press moves the cursor before the click is reported: say first that the
        // move into the mark column is the user's click.
        if (at.isValid() && at.column() == 0)
            Table1_MarkPress();
        return false;
    }
    // The grid reports double-clicks on rows only; on a list with no rows the
    // double-click still asks to view a contact, and is told there is none.
    if (!at.isValid() && mUi.Table1->model()->rowCount() == 0 &&
        viewport->rect().contains(mouse->position().toPoint()))
        Table1_DblClick();
    return false;
}
