#pragma once

#include "platform/grid/DataGridDelegate.h"

#include <QPointer>

class GridEvents;

// Cell editing in the main grid: tells the grid when a cell editor opens and closes,
// and leaves the write of an edited cell to the grid, which stamps the contact's
// update date in the same write.
class MainGridDelegate : public platform::DataGridDelegate {
    Q_OBJECT
  public:
    MainGridDelegate(GridEvents &grid, QObject *parent);

    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // Stores the cell being edited and closes its editor, as leaving the cell does; false
    // when the value was refused (the user has been told), and the editor stays open on it.
    bool storeOpenEdit();

  protected:
    bool eventFilter(QObject *object, QEvent *event) override;

  private:
    // Stores the value being edited, leaving the editor open; false when it was refused.
    bool commitOpenEdit();
    // A key or focus change with which the editor ends its edit.
    bool endsEdit(const QEvent *event) const;
    // Stores the value of an editor a click has left, unless something stored it already.
    void storeLeftEdit();

    GridEvents *mGrid;
    mutable QPointer<QWidget> mEditor;
    mutable bool mRefused = false;
    bool mStoring = false;
    bool mAwaitingRelease = false; // a click left the editor, and the button is still down
    bool mRefocusing = false;      // a refused value gives its editor the focus back
};
