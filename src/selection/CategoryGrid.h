#pragma once

#include "platform/grid/GridColumn.h"

#include <QList>
#include <QString>

class QTableView;
class QWidget;

namespace platform {
class DataControl;
class DataGrid;
class Recordset;
} // namespace platform

// The read-only grids of the category windows, in the tablet look (rows of 400 twips,
// Arial 14) or the desktop look (rows of 225.0709 twips, MS Sans Serif 8 bold) chosen
// once when the window loads.
platform::DataGrid *makeCategoryGrid(QWidget *parent, const QString &name, platform::DataControl *data,
                                     const QList<platform::GridColumn> &columns);

// The prompt of both windows' Add a new Category.
QString askNewCategoryDescription();

// Adds a category of this description to the list's record set. When the file refuses it
// (a description too long for its field), nothing is left pending and the list's current
// row stays the category it was; the failure is passed on.
void addCategory(platform::Recordset &list, const QString &description);

// Change Description of both windows on the list's current category: refused with its
// message on an empty list; the answer is stored as typed. False when nothing changed; a
// refused answer leaves nothing pending, as Add does.
bool changeCategoryDescription(platform::Recordset &list);
