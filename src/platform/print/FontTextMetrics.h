#pragma once

#include "platform/print/TextMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QString>
#include <array>
#include <memory>

namespace platform {

// Text measured from the font's own design metrics, never from a screen or printer
// resolution, so a layout is the same in preview, on paper and in PDF. The classic
// font names are taken from their metric-compatible faces (compatibleFamily) where
// those are installed.
//
// Text the face holds wholly, in scripts drawn a glyph a character, is measured from
// the face's advances alone. Any other text is drawn by Qt with the faces it falls back
// on (Armenian, Georgian, Hebrew, symbols and so on taken from other installed fonts),
// so it is measured by shaping it with the very font it is drawn with. A character no
// installed font holds is the face's missing-glyph box, as wide as that box.
class FontTextMetrics : public TextMetrics {
  public:
    static const FontTextMetrics &instance();

    double width(const PrintFont &font, QStringView text) const override;
    qsizetype fittingLength(const PrintFont &font, QStringView text, double maxWidth) const override;
    double lineHeight(const PrintFont &font) const override;
    // Distance from the top of a line to its baseline.
    double ascent(const PrintFont &font) const;

    // The family the font name is drawn with.
    static QString resolvedFamily(const QString &name);
    // The Qt font text the face does not hold wholly is drawn and measured with: resolved
    // family, unhinted, no kerning, at the reference size.
    const QFont &drawingFont(const PrintFont &font) const;

    // The glyphs of text in the face it is measured in, each placed where the measure
    // puts it (at the reference size, from the start of the baseline): drawn scaled to the
    // font's size they stand exactly as measured, and no shaping has to run again. False
    // for text the face alone cannot show as measured (a character it lacks, which a
    // drawing font takes from another face, or one that needs shaping); draw that with
    // drawingFont.
    bool glyphRun(const PrintFont &font, QStringView text, QGlyphRun &run) const;

    // A stretch of a run's text drawn one way, as it stands on the line: the run is put in
    // order as a left-to-right paragraph (see TextDirection), each stretch of one direction
    // cut where characters no installed font holds begin and end. text leaves the direction
    // marks out; it is shaped by Qt with drawingFont as a paragraph of its own direction, or
    // (missing) drawn as missing-glyph boxes. x and width at the reference size.
    struct Piece {
        QString text;
        double x = 0.0;
        double width = 0.0;
        bool rightToLeft = false;
        bool missing = false;
    };
    // The pieces from the left; one for text that needs no reordering and holds no
    // character without a font.
    QList<Piece> pieces(const PrintFont &font, QStringView text) const;
    // The face's missing-glyph box for each character of text, side by side from the
    // start of the baseline, at the reference size.
    QGlyphRun missingGlyphs(const PrintFont &font, QStringView text) const;

    // The size, in pixels, at which faces are loaded and measured.
    static constexpr int ReferencePixelSize = 2048;

  private:
    // Advances of the characters most text is made of are kept in a plain table (a
    // negative entry is not measured yet); the others in a hash.
    static constexpr char32_t TabledCharacters = 0x250;

    // A character's advance at the reference size. Outside the face (held false) it is
    // the advance of the character shaped alone, a guess for where a line fills up:
    // text holding it is shaped whole. A character no font holds (missing) is as wide as
    // the face's missing-glyph box.
    struct Advance {
        double width = 0.0;
        bool held = true;
        bool missing = false;
    };

    struct Face {
        explicit Face(const QFont &drawing);
        QFont font;
        QRawFont raw;
        QFontMetricsF shaped;
        double lineSpacing = 0.0; // ascent + descent + leading, at the reference size
        double ascent = 0.0;
        double missingWidth = 0.0; // the missing-glyph box's advance
        mutable std::array<double, TabledCharacters> tabled;
        // The glyph of each tabled character, valid once its advance is measured (0: the
        // face has none).
        mutable std::array<quint32, TabledCharacters> tabledGlyphs;
        mutable QHash<char32_t, Advance> advances;
    };

    const Face &face(const PrintFont &font) const;
    Advance advance(const Face &face, char32_t codePoint) const;
    Advance measure(const Face &face, char32_t codePoint, quint32 *glyph = nullptr) const;
    // Text measured as it is drawn when the face does not hold it wholly.
    double shapedWidth(const Face &face, QStringView text) const;
    // Whether no installed font holds the character: shaped alone, it comes out as a
    // missing glyph.
    bool noFontHolds(const Face &face, const QString &character) const;
    // Width at the reference size of a piece drawn by Qt.
    double drawnWidth(const Face &face, const Piece &piece) const;
    // The pieces at the reference size.
    QList<Piece> piecesOf(const Face &face, QStringView text) const;

    // Faces stay where they were created. The faces used last are looked up first by
    // name and style, as a list alternates between a bold and a plain face and a wrap
    // measures many pieces in one font.
    struct Recent {
        QString name;
        bool bold = false;
        bool italic = false;
        const Face *face = nullptr;
    };
    mutable QHash<QString, std::shared_ptr<Face>> mFaces;
    mutable std::array<Recent, 4> mRecent;
    mutable std::size_t mNextRecent = 0;
};

} // namespace platform
