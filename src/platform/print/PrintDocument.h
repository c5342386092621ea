#pragma once

#include "platform/print/PrintRun.h"

#include <QSizeF>
#include <QString>
#include <vector>

namespace platform {

using PrintPage = std::vector<PrintRun>;

// A document as it was drawn: named, oriented, and its pages of text runs in twips.
// Output devices only ever see this record, so preview, paper and PDF agree.
struct PrintDocument {
    // US Letter, the size every layout of the program is measured for.
    static constexpr double LetterWidth = 12240.0;
    static constexpr double LetterHeight = 15840.0;
    // The strip along each edge of the paper that printers commonly cannot reach, a
    // quarter inch; layouts that run down to the paper's edge keep out of it.
    static constexpr double UnprintableEdge = 360.0;

    QString name;
    int orientation = 0;                         // 0 portrait, 1 landscape
    QSizeF paperSize{LetterWidth, LetterHeight}; // as held in portrait
    bool docFlag34 = true;
    int docSetting91 = 0;
    std::vector<PrintPage> pages;

    // The page as it lies for drawing: width and height swap in landscape.
    QSizeF pageSize() const { return orientation == 1 ? paperSize.transposed() : paperSize; }
    int pageCount() const { return static_cast<int>(pages.size()); }
};

} // namespace platform
