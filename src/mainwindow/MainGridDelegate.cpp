#include "mainwindow/MainGridDelegate.h"

#include "mainwindow/GridEvents.h"

#include <QMetaProperty>

MainGridDelegate::MainGridDelegate(GridEvents &grid, QObject *parent)
    : platform::DataGridDelegate(parent), mGrid(&grid)
{
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

bool MainGridDelegate::storeOpenEdit()
{
    // The write moves the list's current row, which may ask for the edit to be stored again.
    if (!mEditor || mStoring)
        return true;
    QWidget *editor = mEditor;
    mStoring = true;
    mRefused = false;
    emit commitData(editor);
    mStoring = false;
    if (mRefused) {
        editor->setFocus();
        return false;
    }
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}
