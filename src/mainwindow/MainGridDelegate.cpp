#include "mainwindow/MainGridDelegate.h"

#include "mainwindow/NameList.h"

#include <QMetaProperty>

MainGridDelegate::MainGridDelegate(NameList &window, QObject *parent)
    : platform::DataGridDelegate(parent), mWindow(&window)
{
}

QWidget *MainGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    mWindow->Table1_BeforeColEdit();
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void MainGridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::destroyEditor(editor, index);
    mWindow->Table1_AfterColEdit();
}

void MainGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    Q_UNUSED(model);
    const QMetaProperty value = editor->metaObject()->userProperty();
    if (!value.isValid())
        return;
    mWindow->Table1_WriteCell(index.row(), index.column(), value.read(editor));
}
