#pragma once

#include <QString>
#include <Qt>

namespace platform {

// One column of a data grid: its caption, the field it shows, its width in twips and the
// alignment of its text.
struct GridColumn {
    QString caption;
    QString dataField;
    int widthTwips = 1440;
    Qt::Alignment alignment = Qt::AlignLeft;
};

} // namespace platform
