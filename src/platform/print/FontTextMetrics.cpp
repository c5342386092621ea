#include "platform/print/FontTextMetrics.h"

#include "platform/base/CompatibleFamily.h"
#include "platform/base/TextBoundaries.h"
#include "platform/base/TextDirection.h"

#include <QFontDatabase>
#include <QTextLayout>

#include <algorithm>

namespace platform {

namespace {
// Points to twips, scaled down from a face loaded at the reference size.
double scaleFor(const PrintFont &font)
{
    return font.size * 20.0 / FontTextMetrics::ReferencePixelSize;
}

// Where the code point before position i starts.
qsizetype previousCodePoint(QStringView text, qsizetype i)
{
    --i;
    if (i > 0 && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
        --i;
    return i;
}

// Whether a run holds a character that reads the other way by itself: only an override
// sets it in the run's direction (digits in a right-to-left run stand in runs of their own
// otherwise).
bool readsAgainst(QStringView run, bool rightToLeft)
{
    for (qsizetype i = 0; i < run.size();) {
        switch (QChar::direction(nextCodePoint(run, i))) {
        case QChar::DirL:
        case QChar::DirEN:
        case QChar::DirAN:
            if (rightToLeft)
                return true;
            break;
        case QChar::DirR:
        case QChar::DirAL:
            if (!rightToLeft)
                return true;
            break;
        default:
            break;
        }
    }
    return false;
}

// Characters whose glyph, in a face that has it, is drawn as it stands with the face's
// own advance: no mark sits on another, no letter joins or changes its form.
bool drawnAlone(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
        return false;
    default:
        break;
    }
    switch (QChar::script(codePoint)) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Armenian:
    case QChar::Script_Georgian:
    case QChar::Script_Hebrew:
        return true;
    default:
        return false;
    }
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

const QFont &FontTextMetrics::drawingFont(const PrintFont &font) const
{
    return face(font).font;
}

FontTextMetrics::Face::Face(const QFont &drawing)
    : font(drawing), raw(QRawFont::fromFont(drawing)), shaped(drawing)
{
    ascent = raw.ascent();
    lineSpacing = raw.ascent() + raw.descent() + raw.leading();
    missingWidth = raw.advancesForGlyphIndexes(QList<quint32>{0}, QRawFont::UseDesignMetrics).value(0).x();
    tabled.fill(-1.0);
    tabledGlyphs.fill(0);
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
        QFont drawing(resolvedFamily(font.name));
        drawing.setPixelSize(ReferencePixelSize);
        drawing.setBold(font.bold);
        drawing.setItalic(font.italic);
        drawing.setKerning(false);
        drawing.setHintingPreference(QFont::PreferNoHinting);
        slot = std::make_shared<Face>(drawing);
    }
    mRecent[mNextRecent] = Recent{font.name, font.bold, font.italic, slot.get()};
    mNextRecent = (mNextRecent + 1) % mRecent.size();
    return *slot;
}

FontTextMetrics::Advance FontTextMetrics::advance(const Face &face, char32_t codePoint) const
{
    // Line ends and other control characters take no room on the line, nor do the marks
    // that only set the direction of the text around them.
    if (codePoint < 0x20)
        return {};
    if (codePoint < TabledCharacters) {
        double &width = face.tabled[codePoint];
        if (width < 0)
            width = measure(face, codePoint, &face.tabledGlyphs[codePoint]).width;
        return {width, face.tabledGlyphs[codePoint] != 0};
    }
    if (isDirectionMark(codePoint))
        return {};
    auto it = face.advances.constFind(codePoint);
    if (it != face.advances.constEnd())
        return *it;
    const Advance step = measure(face, codePoint);
    face.advances.insert(codePoint, step);
    return step;
}

FontTextMetrics::Advance FontTextMetrics::measure(const Face &face, char32_t codePoint, quint32 *glyph) const
{
    const QString text = QString::fromUcs4(&codePoint, 1);
    const QList<quint32> glyphs = face.raw.glyphIndexesForString(text);
    const bool held = glyphs.size() == 1 && glyphs.constFirst() != 0 && drawnAlone(codePoint);
    if (glyph)
        *glyph = held ? glyphs.constFirst() : 0;
    if (!held && (glyphs.value(0) != 0 || !noFontHolds(face, text)))
        return {shapedWidth(face, text), false};
    if (!held)
        return {face.missingWidth, false, true};
    double width = 0.0;
    for (const QPointF &step : face.raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics))
        width += step.x();
    return {width, true};
}

double FontTextMetrics::shapedWidth(const Face &face, QStringView text) const
{
    return face.shaped.horizontalAdvance(text.toString());
}

bool FontTextMetrics::noFontHolds(const Face &face, const QString &character) const
{
    // Characters that take no room (joiners, marks of direction) are never boxes.
    if (QChar::category(character.toUcs4().value(0)) == QChar::Other_Format)
        return false;
    QTextLayout layout(character, face.font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        // Qt takes scripts no font has from a face of boxes without a character map;
        // other characters come out as a face's glyph 0.
        if (run.rawFont().fontTable("cmap").isEmpty())
            return true;
        for (const quint32 glyph : run.glyphIndexes()) {
            if (glyph != 0)
                return false;
        }
    }
    return true;
}

double FontTextMetrics::drawnWidth(const Face &face, const Piece &piece) const
{
    if (piece.missing)
        return face.missingWidth * piece.text.toUcs4().size();
    double units = 0.0;
    for (qsizetype i = 0; i < piece.text.size();) {
        const Advance step = advance(face, nextCodePoint(piece.text, i));
        if (!step.held)
            return shapedWidth(face, piece.text);
        units += step.width;
    }
    return units;
}

QList<FontTextMetrics::Piece> FontTextMetrics::piecesOf(const Face &face, QStringView text) const
{
    QList<Piece> found;
    double x = 0.0;
    for (const DirectionRun &run : visualRuns(text)) {
        // The run's stretches with and without characters no font holds, in the order of
        // the text; a right-to-left run shows them the other way round. Under an override
        // each character is a stretch of its own, so that it stands where the override
        // puts it, as on screen, and not where its own direction would.
        QList<Piece> stretches;
        const QStringView runText = text.mid(run.start, run.length);
        const bool overridden = readsAgainst(runText, run.rightToLeft);
        const TextBoundaries bounds(overridden ? runText : QStringView());
        for (qsizetype i = 0; i < runText.size();) {
            const qsizetype at = i;
            const char32_t codePoint = nextCodePoint(runText, i);
            if (isDirectionMark(codePoint))
                continue;
            const bool missing = advance(face, codePoint).missing;
            if (stretches.isEmpty() || stretches.back().missing != missing ||
                (overridden && bounds.isCharacterBoundary(at)))
                stretches.append(Piece{QString(), 0.0, 0.0, run.rightToLeft, missing});
            stretches.back().text += runText.mid(at, i - at);
        }
        if (run.rightToLeft)
            std::reverse(stretches.begin(), stretches.end());
        for (Piece &piece : stretches) {
            piece.x = x;
            piece.width = drawnWidth(face, piece);
            x += piece.width;
            found.append(std::move(piece));
        }
    }
    return found;
}

double FontTextMetrics::width(const PrintFont &font, QStringView text) const
{
    const Face &f = face(font);
    double units = 0.0;
    for (qsizetype i = 0; i < text.size();) {
        const Advance step = advance(f, nextCodePoint(text, i));
        if (!step.held) {
            units = 0.0;
            for (const Piece &piece : piecesOf(f, text))
                units += piece.width;
            break;
        }
        units += step.width;
    }
    return units * scaleFor(font);
}

QList<FontTextMetrics::Piece> FontTextMetrics::pieces(const PrintFont &font, QStringView text) const
{
    return piecesOf(face(font), text);
}

QGlyphRun FontTextMetrics::missingGlyphs(const PrintFont &font, QStringView text) const
{
    const Face &f = face(font);
    const qsizetype count = text.toUcs4().size();
    QList<QPointF> positions;
    for (qsizetype i = 0; i < count; ++i)
        positions.append(QPointF(i * f.missingWidth, 0.0));
    QGlyphRun run;
    run.setRawFont(f.raw);
    run.setGlyphIndexes(QList<quint32>(count, 0));
    run.setPositions(positions);
    return run;
}

qsizetype FontTextMetrics::fittingLength(const PrintFont &font, QStringView text, double maxWidth) const
{
    const Face &f = face(font);
    const double scale = scaleFor(font);
    double units = 0.0;
    bool shaped = false;
    qsizetype fits = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Advance step = advance(f, nextCodePoint(text, i));
        // Boxes are as wide as their advances say.
        shaped = shaped || (!step.held && !step.missing);
        units += step.width;
        if (units * scale > maxWidth)
            break;
        fits = i;
    }
    if (!shaped)
        return fits;
    // The characters' own advances only guess where text the face does not hold fills
    // the width: the faces it falls back on are chosen for the whole text, and marks
    // and joined letters are shaped together. The guess is moved until the text as drawn
    // fits and one character more would not.
    while (fits > 0 && width(font, text.left(fits)) > maxWidth)
        fits = previousCodePoint(text, fits);
    while (fits < text.size()) {
        qsizetype next = fits;
        nextCodePoint(text, next);
        if (width(font, text.left(next)) > maxWidth)
            break;
        fits = next;
    }
    return fits;
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
        const double width = advance(f, codePoint).width;
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
