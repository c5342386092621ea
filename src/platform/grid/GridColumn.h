#pragma once

#include <QString>
#include <Qt>

namespace platform {

// One column of a data grid: its caption, the field it shows, its width in twips and the
// alignment of its text. The width keeps any fraction it is given; an alignment without a
// horizontal flag is the general one (text to the left).
struct GridColumn {
    QString caption;
    QString dataField;
    double widthTwips = 1440;
    Qt::Alignment alignment = Qt::AlignLeft;
};

} // namespace platform
