#include "selection/CategoryGrid.h"

#include "helpers/GLOBAL.h"
#include "helpers/ValueHelpers.h"
#include "platform/db/Recordset.h"
#include "platform/grid/DataGrid.h"
#include "platform/ui/ClassicFont.h"
#include "platform/ui/MsgBox.h"

#include <QTableView>

namespace {
// Row heights in twips: taller rows for a finger on a tablet. The grid takes whole twips;
// 225.0709 is as near to 225 as a pixel shows.
constexpr int RowHeight = 225;
constexpr int TabletRowHeight = 400;
} // namespace

platform::DataGrid *makeCategoryGrid(QWidget *parent, const QString &name, platform::DataControl *data,
                                     const QList<platform::GridColumn> &columns)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int rowHeight = gTabletMode ? TabletRowHeight : RowHeight;
    view->setFont(gTabletMode ? platform::classicFont(QStringLiteral("Arial"), 14, false)
                              : platform::classicFont(QStringLiteral("MS Sans Serif"), 8, true));
    return new platform::DataGrid(view, data, parent, rowHeight, columns);
}

QString askNewCategoryDescription()
{
    return InputDialog(QStringLiteral("Enter the Description for this new Category, then press the OK button."),
                       QStringLiteral("Add a new Category"));
}

namespace {

// Writes the description into a new row or the current one. A description the file refuses
// leaves nothing pending: otherwise the next command would read the half-made row's empty
// values in place of the chosen category's.
void storeDescription(platform::Recordset &list, const QString &description, bool adding)
{
    if (adding)
        list.addNew();
    else
        list.edit();
    try {
        list.setValue(QStringLiteral("CategoryDesc"), description);
        list.update();
    } catch (...) {
        if (list.editMode() != platform::EditMode::None)
            list.cancelUpdate();
        throw;
    }
}

} // namespace

void addCategory(platform::Recordset &list, const QString &description)
{
    storeDescription(list, description, true);
}

bool changeCategoryDescription(platform::Recordset &list)
{
    if (list.recordCount() < 1) {
        platform::MsgBox(
            QStringLiteral("There are no Categories.  You must create one before you can change it's description."),
            platform::vbCritical, QStringLiteral("No Categories to change"));
        return false;
    }
    const QString answer = InputDialog(QStringLiteral("Type your changes, then press the OK button."),
                                       QStringLiteral("Change the Category Description"),
                                       NullToString(list.value(QStringLiteral("CategoryDesc"))).toString());
    if (answer.isEmpty())
        return false;
    storeDescription(list, answer, false);
    return true;
}
