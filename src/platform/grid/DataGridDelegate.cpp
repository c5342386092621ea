#include "platform/grid/DataGridDelegate.h"

#include <QStyle>

namespace platform {

bool DataGridDelegate::drawsNothing(const QStyleOptionViewItem &option, const QModelIndex &index)
{
    constexpr QStyle::State Marked = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver;
    if (option.state & Marked)
        return false;
    const QVariant text = index.data(Qt::DisplayRole);
    if (text.isValid() && !text.toString().isEmpty())
        return false;
    // Whatever else a model gives a cell is drawn as well.
    for (int role : {Qt::BackgroundRole, Qt::DecorationRole, Qt::CheckStateRole})
        if (index.data(role).isValid())
            return false;
    return true;
}

void DataGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (drawsNothing(option, index))
        return;
    QStyledItemDelegate::paint(painter, option, index);
}

} // namespace platform
