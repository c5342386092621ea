#include "platform/grid/DataGridModel.h"

#include "platform/RuntimeError.h"
#include "platform/base/DateText.h"

namespace platform {

DataGridModel::DataGridModel(DataControl *data, QObject *parent) : QAbstractTableModel(parent), mData(data)
{
    connect(mData, &DataControl::recordsetAboutToChange, this, [this] { beginResetModel(); });
    connect(mData, &DataControl::recordsetChanged, this, [this] {
        attach();
        endResetModel();
    });
    connect(mData, &DataControl::reposition, this, [this] { emit currentRowChanged(currentRow()); });
    attach();
}

void DataGridModel::attach()
{
    Recordset *rs = mData->recordset();
    mRows = rs && rs->isOpen() ? int(qMin<qint64>(rs->recordCount(), INT_MAX)) : 0;
    resolveFields();
    if (!rs)
        return;
    connect(rs, &Recordset::rowsAboutToChange, this, [this] { beginResetModel(); });
    connect(rs, &Recordset::rowsChanged, this, [this] {
        Recordset *current = mData->recordset();
        mRows = current && current->isOpen() ? int(qMin<qint64>(current->recordCount(), INT_MAX)) : 0;
        endResetModel();
    });
    connect(rs, &Recordset::rowChanged, this, [this](qint64 ordinal) {
        if (ordinal >= 0 && ordinal < mRows)
            emit dataChanged(index(int(ordinal), 0), index(int(ordinal), columnCount() - 1));
    });
}

void DataGridModel::resolveFields()
{
    mFieldOfColumn.clear();
    Recordset *rs = mData->recordset();
    for (const GridColumn &column : std::as_const(mColumns)) {
        int field = -1;
        if (rs && rs->isOpen()) {
            try {
                field = rs->fieldIndex(column.dataField);
            } catch (const RuntimeError &) {
                field = -1; // a column bound to no field of this record source stays empty
            }
        }
        mFieldOfColumn.append(field);
    }
}

void DataGridModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    mColumns = columns;
    resolveFields();
    endResetModel();
}

int DataGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int DataGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mColumns.size());
}

QString DataGridModel::displayText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return generalDateText(value.toDateTime());
    case QMetaType::QDate:
        return shortDateText(value.toDate());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

QVariant DataGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mRows || index.column() >= mColumns.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(mColumns[index.column()].alignment | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const int field = mFieldOfColumn.value(index.column(), -1);
    Recordset *rs = mData->recordset();
    if (field < 0 || !rs || !rs->isOpen())
        return {};
    try {
        const QVariant value = rs->valueAt(index.row(), field);
        if (role != Qt::DisplayRole)
            return value;
        // A date field holding no date the program can show (another program wrote it) shows
        // nothing rather than its stored text.
        const FieldInfo &info = rs->fieldInfo(field);
        if (info.typed && info.type == JetType::DateTime)
            return QVariant(dateFieldText(value));
        return QVariant(displayText(value));
    } catch (const RuntimeError &) {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("#Deleted")) : QVariant();
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < mColumns.size())
        return mColumns[section].caption;
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section >= 0 &&
        section < mColumns.size())
        return QVariant::fromValue(mColumns[section].alignment | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    Recordset *rs = mData->recordset();
    if (mEditable && rs && rs->updatable() && mFieldOfColumn.value(index.column(), -1) >= 0)
        result |= Qt::ItemIsEditable;
    return result;
}

bool DataGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    Recordset *rs = mData->recordset();
    rs->setAbsolutePosition(index.row());
    rs->edit();
    try {
        rs->setValue(mFieldOfColumn[index.column()], value);
        rs->update();
    } catch (...) {
        rs->cancelUpdate();
        throw;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

int DataGridModel::currentRow() const
{
    Recordset *rs = mData->recordset();
    if (!rs || !rs->isOpen())
        return -1;
    try {
        const qint64 row = rs->absolutePosition();
        return row >= 0 && row < mRows ? int(row) : -1;
    } catch (const RuntimeError &) {
        return -1; // a table-type record set has no row numbers
    }
}

void DataGridModel::setCurrentRow(int row)
{
    Recordset *rs = mData->recordset();
    if (!rs || !rs->isOpen() || row < 0 || row >= mRows || row == currentRow())
        return;
    rs->setAbsolutePosition(row);
}

} // namespace platform
