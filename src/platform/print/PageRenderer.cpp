#include "platform/print/PageRenderer.h"

#include "platform/base/TextBoundaries.h"
#include "platform/print/FontTextMetrics.h"

#include <QGlyphRun>
#include <QPainter>

namespace platform {

namespace {
bool rightToLeft(char32_t codePoint)
{
    const QChar::Direction direction = QChar::direction(codePoint);
    return direction == QChar::DirR || direction == QChar::DirAL;
}

// The text as a line of the layout shows it: a left-to-right paragraph in which only
// the right-to-left stretches are turned round. A stretch ends with its last
// right-to-left letter, so blanks, numbers and signs after it (the next field) stay
// where they were typed instead of joining it.
QString inLayoutOrder(QStringView text)
{
    static const QChar LeftToRightMark(0x200E);
    QString ordered;
    qsizetype copied = 0;
    qsizetype stretchEnd = -1;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t codePoint = nextCodePoint(text, i);
        if (rightToLeft(codePoint)) {
            stretchEnd = i;
        } else if (stretchEnd >= 0 && QChar::direction(codePoint) == QChar::DirL) {
            ordered += text.mid(copied, stretchEnd - copied);
            ordered += LeftToRightMark;
            copied = stretchEnd;
            stretchEnd = -1;
        }
    }
    if (copied == 0 && stretchEnd < 0)
        return text.toString();
    if (stretchEnd >= 0) {
        ordered += text.mid(copied, stretchEnd - copied);
        ordered += LeftToRightMark;
        copied = stretchEnd;
    }
    ordered += text.mid(copied);
    return ordered;
}
} // namespace

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
        // The rest is shaped by Qt with the font it was measured with, so the faces it
        // falls back on for characters this face lacks are the ones measured; characters
        // no font holds are drawn as the boxes they were measured as.
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
            painter.drawText(QPointF(piece.x, 0), inLayoutOrder(piece.text));
        }
    }
    painter.restore();
}

} // namespace platform
