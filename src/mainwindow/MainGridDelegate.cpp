#include "mainwindow/MainGridDelegate.h"

#include "mainwindow/GridEvents.h"
#include "platform/base/TextDirection.h"

#include <QMetaProperty>

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
