#include "platform/print/PageRenderer.h"

#include "platform/print/FontTextMetrics.h"

#include <QGlyphRun>
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
    // Every device draws lines left to right; left to its own choice, a PDF or an image
    // would turn a line starting with a right-to-left letter round.
    painter.setLayoutDirection(Qt::LeftToRight);
    const QTransform onPage = painter.worldTransform();
    const FontTextMetrics &fonts = FontTextMetrics::instance();
    // Glyphs come from a face at the reference size, scaled to the run's size, so every
    // size is drawn exactly as it was measured. Most runs are drawn as the glyphs the
    // measure placed: shaping them again for every run would cost more than all the
    // rest of the output.
    const PrintFont *sized = nullptr;
    const PrintFont *painterFont = nullptr;
    double scale = 1.0;
    double ascent = 0.0;
    QGlyphRun glyphs;
    for (const PrintRun &run : document.pages[static_cast<std::size_t>(pageIndex)]) {
        if (!sized || !(run.font == *sized)) {
            scale = run.font.size * 20.0 / FontTextMetrics::ReferencePixelSize;
            ascent = fonts.ascent(run.font);
            sized = &run.font;
        }
        painter.setWorldTransform(QTransform(scale, 0, 0, scale, run.x, run.y + ascent) * onPage);
        if (fonts.glyphRun(run.font, run.text, glyphs)) {
            painter.drawGlyphRun(QPointF(0, 0), glyphs);
            continue;
        }
        // The rest is put in order once, as the whole line reads, and drawn piece by piece
        // where the measure placed each: shaped by Qt with the font it was measured with,
        // so the faces it falls back on for characters this face lacks are the ones
        // measured; characters no font holds as the boxes they were measured as.
        for (const FontTextMetrics::Piece &piece : fonts.pieces(run.font, run.text)) {
            if (piece.missing) {
                painter.drawGlyphRun(QPointF(piece.x, 0), fonts.missingGlyphs(run.font, piece.text));
                continue;
            }
            if (!painterFont || run.font.name != painterFont->name || run.font.bold != painterFont->bold ||
                run.font.italic != painterFont->italic) {
                painter.setFont(fonts.drawingFont(run.font));
                painterFont = &run.font;
            }
            // A piece is all of one direction: Qt lays it out as a paragraph of that direction,
            // from the left of where it stands.
            painter.setLayoutDirection(piece.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
            painter.drawText(QPointF(piece.x, 0), piece.text);
        }
    }
    painter.restore();
}

} // namespace platform
