#include "mainwindow/MainGridDelegate.h"

#include "mainwindow/GridEvents.h"
#include "platform/base/TextDirection.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>

#include <utility>

MainGridDelegate::MainGridDelegate(GridEvents &grid, QObject *parent)
    : platform::DataGridDelegate(parent), mGrid(&grid)
{
}

// A cell is one line, shown as paper prints a field there: a pasted tab or a line separator
// the style would draw as a gap wider than the cell, a missing-glyph box or a cut at the
// first line is a blank, so the rest of the field stays in view.
QString MainGridDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.typeId() != QMetaType::QString)
        return platform::DataGridDelegate::displayText(value, locale);
    return platform::oneLineCharacters(value.toString());
}

QWidget *MainGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    mGrid->Table1_BeforeColEdit();
    mEditor = QStyledItemDelegate::createEditor(parent, option, index);
    return mEditor;
}

void MainGridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::destroyEditor(editor, index);
    if (editor == mEditor)
        mEditor = nullptr;
    mGrid->Table1_AfterColEdit();
}

void MainGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    Q_UNUSED(model);
    const QMetaProperty value = editor->metaObject()->userProperty();
    if (!value.isValid())
        return;
    mRefused = !mGrid->Table1_WriteCell(index.row(), index.column(), value.read(editor));
}

bool MainGridDelegate::commitOpenEdit()
{
    QPointer<QWidget> editor = mEditor;
    mStoring = true;
    mRefused = false;
    emit commitData(editor);
    mStoring = false;
    if (mRefused && editor) {
        editor->setFocus();
        // The message takes the window's focus; the editor has it back once the window does.
        if (!std::exchange(mRefocusing, true))
            editor->window()->installEventFilter(this);
    }
    return !mRefused;
}

bool MainGridDelegate::storeOpenEdit()
{
    // The write moves the list's current row, which may ask for the edit to be stored again.
    if (!mEditor || mStoring)
        return true;
    QWidget *editor = mEditor;
    if (!commitOpenEdit())
        return false;
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

// The editor's own ways of ending the edit (Tab, Enter, the focus going to another control,
// a click elsewhere) store the value before the editor closes; one the checks refuse keeps
// the editor open on the typed text, as a command does.
bool MainGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (mAwaitingRelease && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton) {
        mAwaitingRelease = false;
        qApp->removeEventFilter(this);
        // After the release has done its work: a command the click gave has stored the
        // value already.
        QMetaObject::invokeMethod(this, &MainGridDelegate::storeLeftEdit, Qt::QueuedConnection);
        return false;
    }
    if (mRefocusing && event->type() == QEvent::WindowActivate && object->isWidgetType() &&
        static_cast<QWidget *>(object)->isWindow()) {
        mRefocusing = false;
        object->removeEventFilter(this);
        if (mEditor)
            mEditor->setFocus();
        return false;
    }
    if (object != mEditor || mStoring || !endsEdit(event))
        return platform::DataGridDelegate::eventFilter(object, event);
    // A click elsewhere stores the value once it is over: a command the click gives stores it
    // itself, so a refusal is told once, and a row clicked is reached after the store.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason) {
        if (!std::exchange(mAwaitingRelease, true))
            qApp->installEventFilter(this);
        return true;
    }
    if (!commitOpenEdit())
        return true;
    return platform::DataGridDelegate::eventFilter(object, event);
}

void MainGridDelegate::storeLeftEdit()
{
    // The user went back into the editor, or a command kept it open on a refused value.
    const QWidget *focus = QApplication::focusWidget();
    if (!mEditor || (focus && (focus == mEditor || mEditor->isAncestorOf(focus))))
        return;
    mGrid->clickAfterEdit(storeOpenEdit());
}

bool MainGridDelegate::endsEdit(const QEvent *event) const
{
    switch (event->type()) {
    case QEvent::KeyPress:
        switch (static_cast<const QKeyEvent *>(event)->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        default:
            return false;
        }
    case QEvent::FocusOut: {
        // Focus moving within the editor (its own menu) leaves the edit open.
        const QWidget *focus = QApplication::focusWidget();
        return !focus || (focus != mEditor && !mEditor->isAncestorOf(focus));
    }
    default:
        return false;
    }
}
