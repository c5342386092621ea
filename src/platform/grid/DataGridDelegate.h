#pragma once

#include <QStyledItemDelegate>

namespace platform {

// Draws the cells of a data-bound grid exactly as the stock delegate does, for less: a
// blank field in a row that is neither selected nor current shows only the row's
// background, which the view has already drawn, so it is left out; a cell of one line of
// text is drawn without the style's general layout. A grid that moves to another part of
// a long list repaints every cell it shows.
class DataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Whether a cell, its option filled in from the model, draws nothing over the row's
    // background.
    static bool drawsNothing(const QStyleOptionViewItem &cell);
    // Whether a cell, its option filled in from the model, is one line of text that is
    // drawn here rather than by the style.
    static bool drawsPlainText(const QStyleOptionViewItem &option);

  private:
    static void drawPlainText(QPainter *painter, const QStyleOptionViewItem &option);
};

} // namespace platform
