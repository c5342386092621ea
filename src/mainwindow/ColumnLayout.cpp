#include "mainwindow/ColumnLayout.h"

#include "mainwindow/ColumnLayoutFile.h"
#include "mainwindow/MainControls.h"
#include "mainwindow/MainGridDesign.h"
#include "mainwindow/NameList.h"
#include "platform/grid/DataGrid.h"

#include <QHeaderView>
#include <QTableView>

namespace {

// The layout file keeps the classic alignment codes: 0 left, 1 right, 2 centre, 3 general.
// General shows text to the left but is a code of its own, kept as such.
enum AlignmentCode { AlignLeftCode = 0, AlignRightCode = 1, AlignCentreCode = 2, AlignGeneralCode = 3 };

Qt::Alignment alignmentOfCode(int code)
{
    switch (code) {
    case AlignRightCode:
        return Qt::AlignRight;
    case AlignCentreCode:
        return Qt::AlignHCenter;
    case AlignGeneralCode:
        return {};
    default:
        return Qt::AlignLeft;
    }
}

int codeOfAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return AlignRightCode;
    if (alignment & Qt::AlignHCenter)
        return AlignCentreCode;
    if (alignment & Qt::AlignLeft)
        return AlignLeftCode;
    return AlignGeneralCode;
}

platform::GridColumn gridColumn(const ColumnLayoutFile::Column &column)
{
    platform::GridColumn c;
    c.caption = column.caption;
    c.dataField = column.dataField;
    c.widthTwips = column.width;
    c.alignment = alignmentOfCode(column.alignment);
    return c;
}

} // namespace

ColumnLayout::ColumnLayout(NameList &window) : mWindow(window), mUi(*window.mUi)
{
    for (const ColumnLayoutFile::Column &column : designedGridColumns())
        mGridColumns.append(gridColumn(column));
    connect(mUi.Table1->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!mPlacingColumns)
            mbColumnsChanged = true;
    });
}

void ColumnLayout::applyColumnLayout()
{
    const QList<ColumnLayoutFile::Column> stored = ColumnLayoutFile::read(int(mGridColumns.size()) - 1);
    // The stored columns replace columns 1 onwards in file order; the rest keep their design.
    for (int i = 1; i <= stored.size(); ++i)
        mGridColumns[i] = gridColumn(stored[i - 1]);
    if (Table1Binding) {
        mPlacingColumns = true;
        Table1Binding->setColumns(mGridColumns);
        mPlacingColumns = false;
    }
}

bool ColumnLayout::bindGrid()
{
    if (Table1Binding)
        return false;
    mPlacingColumns = true;
    Table1Binding =
        new platform::DataGrid(mUi.Table1, mUi.Data1, &mWindow, mGridRowHeight, mGridColumns);
    Table1Binding->setColumnWidthScale(mWidthScale);
    mPlacingColumns = false;
    return true;
}

bool ColumnLayout::writeColumnLayout(QString &why)
{
    const QList<platform::GridColumn> shown = Table1Binding ? Table1Binding->columnsAsShown() : mGridColumns;
    QList<ColumnLayoutFile::Column> columns;
    for (int i = 1; i < shown.size(); ++i) {
        const platform::GridColumn &c = shown[i];
        columns.append({c.caption, c.dataField, c.widthTwips, codeOfAlignment(c.alignment)});
    }
    return ColumnLayoutFile::write(columns, &why);
}

void ColumnLayout::setRowHeightTwips(int twips)
{
    mGridRowHeight = twips;
    if (Table1Binding)
        Table1Binding->setRowHeightTwips(twips);
}

void ColumnLayout::setColumnWidthScale(double scale)
{
    mWidthScale = scale;
    if (!Table1Binding)
        return;
    mPlacingColumns = true;
    Table1Binding->setColumnWidthScale(scale);
    mPlacingColumns = false;
}

void ColumnLayout::placeColumns(const QList<platform::GridColumn> &columns)
{
    if (!Table1Binding)
        return;
    mPlacingColumns = true;
    Table1Binding->setColumns(columns);
    mGridColumns = columns;
    mPlacingColumns = false;
    mbColumnsChanged = true;
}
