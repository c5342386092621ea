#pragma once

#include <QStyledItemDelegate>

namespace platform {

// Draws the cells of a data-bound grid as the stock delegate does, but leaves out the
// cells that would show nothing: a blank field in a row that is neither selected nor
// current shows only the row's background, which the view has already drawn. A grid
// that moves to another part of a long list repaints every cell it shows, and most of
// a contact's columns are blank.
class DataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Whether a cell in this state draws nothing over the row's background.
    static bool drawsNothing(const QStyleOptionViewItem &option, const QModelIndex &index);
};

} // namespace platform
