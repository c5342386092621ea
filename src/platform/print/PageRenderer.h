#pragma once

#include "platform/print/PrintDocument.h"

#include <QRectF>

class QPainter;

namespace platform {

// The one drawing of a recorded page, used by the preview, the printer and PDF alike.
class PageRenderer {
  public:
    // Draws page pageIndex (from 0) of the document scaled into target, which stands
    // for the whole paper. With paper set, the page is first filled white.
    static void render(QPainter &painter, const PrintDocument &document, int pageIndex, const QRectF &target,
                       bool paper = false);
};

} // namespace platform
