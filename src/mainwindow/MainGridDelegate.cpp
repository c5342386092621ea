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
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void MainGridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::destroyEditor(editor, index);
    mGrid->Table1_AfterColEdit();
}

void MainGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    Q_UNUSED(model);
    const QMetaProperty value = editor->metaObject()->userProperty();
    if (!value.isValid())
        return;
    mGrid->Table1_WriteCell(index.row(), index.column(), value.read(editor));
}
