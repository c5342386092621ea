#include "platform/print/PageRenderer.h"

#include "platform/print/FontTextMetrics.h"

#include <QPainter>

namespace platform {

void PageRenderer::render(QPainter &painter, const PrintDocument &document, int pageIndex,
                          const QRectF &target, bool paper)
{
    if (pageIndex < 0 || pageIndex >= document.pageCount())
        return;
    const QSizeF page = document.pageSize();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / page.width(), target.height() / page.height());
    if (paper)
        painter.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
    painter.setPen(Qt::black);
    const FontTextMetrics &fonts = FontTextMetrics::instance();
    for (const PrintRun &run : document.pages[static_cast<std::size_t>(pageIndex)]) {
        // Glyphs come from a face at the reference size, scaled to the run's size, so
        // every size is drawn exactly as it was measured.
        const double scale = run.font.size * 20.0 / FontTextMetrics::ReferencePixelSize;
        painter.save();
        painter.translate(run.x, run.y + fonts.ascent(run.font));
        painter.scale(scale, scale);
        painter.setFont(FontTextMetrics::drawingFont(run.font));
        painter.drawText(QPointF(0, 0), run.text);
        painter.restore();
    }
    painter.restore();
}

} // namespace platform
