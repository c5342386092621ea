#include "platform/print/FontTextMetrics.h"

#include "platform/base/CompatibleFamily.h"

#include <QFontDatabase>

namespace platform {

namespace {
// Points to twips, scaled down from a face loaded at the reference size.
double scaleFor(const PrintFont &font)
{
    return font.size * 20.0 / FontTextMetrics::ReferencePixelSize;
}
} // namespace

const FontTextMetrics &FontTextMetrics::instance()
{
    static const FontTextMetrics metrics;
    return metrics;
}

QString FontTextMetrics::resolvedFamily(const QString &name)
{
    // Asking the font database costs far more than drawing a run, and every run of a
    // page drawn in the preview asks: the answer for a name is kept.
    static QHash<QString, QString> resolved;
    const auto known = resolved.constFind(name);
    if (known != resolved.constEnd())
        return *known;
    const QString compatible = compatibleFamily(name);
    const QString family = QFontDatabase::hasFamily(compatible) ? compatible : name.trimmed();
    resolved.insert(name, family);
    return family;
}

QFont FontTextMetrics::drawingFont(const PrintFont &font, int pixelSize)
{
    QFont qfont(resolvedFamily(font.name));
    qfont.setPixelSize(pixelSize);
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setKerning(false);
    qfont.setHintingPreference(QFont::PreferNoHinting);
    return qfont;
}

const FontTextMetrics::Face &FontTextMetrics::face(const PrintFont &font) const
{
    for (const Recent &recent : mRecent) {
        if (recent.face && recent.bold == font.bold && recent.italic == font.italic && recent.name == font.name)
            return *recent.face;
    }
    const QString key = QStringLiteral("%1|%2%3").arg(font.name.trimmed().toLower(),
                                                      font.bold ? QStringLiteral("b") : QString(),
                                                      font.italic ? QStringLiteral("i") : QString());
    std::shared_ptr<Face> &slot = mFaces[key];
    if (!slot) {
        slot = std::make_shared<Face>();
        slot->raw = QRawFont::fromFont(drawingFont(font));
        slot->ascent = slot->raw.ascent();
        slot->lineSpacing = slot->raw.ascent() + slot->raw.descent() + slot->raw.leading();
        slot->tabled.fill(-1.0);
        slot->tabledGlyphs.fill(0);
    }
    mRecent[mNextRecent] = Recent{font.name, font.bold, font.italic, slot.get()};
    mNextRecent = (mNextRecent + 1) % mRecent.size();
    return *slot;
}

double FontTextMetrics::advance(const Face &face, char32_t codePoint) const
{
    // Line ends and other control characters take no room on the line.
    if (codePoint < 0x20)
        return 0.0;
    if (codePoint < TabledCharacters) {
        double &width = face.tabled[codePoint];
        if (width < 0)
            width = measure(face, codePoint, &face.tabledGlyphs[codePoint]);
        return width;
    }
    auto it = face.advances.constFind(codePoint);
    if (it != face.advances.constEnd())
        return *it;
    const double width = measure(face, codePoint);
    face.advances.insert(codePoint, width);
    return width;
}

double FontTextMetrics::measure(const Face &face, char32_t codePoint, quint32 *glyph) const
{
    const QString text = QString::fromUcs4(&codePoint, 1);
    const QList<quint32> glyphs = face.raw.glyphIndexesForString(text);
    if (glyph)
        *glyph = glyphs.size() == 1 ? glyphs.constFirst() : 0;
    double width = 0.0;
    for (const QPointF &step : face.raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics))
        width += step.x();
    return width;
}

double FontTextMetrics::width(const PrintFont &font, QStringView text) const
{
    const Face &f = face(font);
    double units = 0.0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t codePoint = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        units += advance(f, codePoint);
    }
    return units * scaleFor(font);
}

bool FontTextMetrics::glyphRun(const PrintFont &font, QStringView text, QGlyphRun &run) const
{
    // Latin text up to the end of the tabled characters is drawn one glyph a character,
    // without combining marks or joined forms.
    const Face &f = face(font);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(text.size());
    positions.reserve(text.size());
    double x = 0.0;
    for (const QChar c : text) {
        const char32_t codePoint = c.unicode();
        if (codePoint >= TabledCharacters)
            return false;
        const double width = advance(f, codePoint);
        if (codePoint >= 0x20) {
            const quint32 glyph = f.tabledGlyphs[codePoint];
            if (glyph == 0)
                return false;
            glyphs.append(glyph);
            positions.append(QPointF(x, 0.0));
        }
        x += width;
    }
    run.setRawFont(f.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return true;
}

double FontTextMetrics::lineHeight(const PrintFont &font) const
{
    return face(font).lineSpacing * scaleFor(font);
}

double FontTextMetrics::ascent(const PrintFont &font) const
{
    return face(font).ascent * scaleFor(font);
}

} // namespace platform
