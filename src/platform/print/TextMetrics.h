#pragma once

#include "platform/print/PrintFont.h"

#include <QStringView>
#include <memory>

namespace platform {

// How wide and how high printed text is, in twips, whatever device it ends up on.
// Layouts measure through the one instance returned by textMetrics().
class TextMetrics {
  public:
    virtual ~TextMetrics() = default;

    // Width of the text on one line as it is drawn; no kerning, so widths of pieces
    // add up.
    virtual double width(const PrintFont &font, QStringView text) const = 0;
    // How many characters at the front of text are at most maxWidth wide together: the
    // next one would make them wider. Measured a character at a time here.
    virtual qsizetype fittingLength(const PrintFont &font, QStringView text, double maxWidth) const;
    // Distance from one printed line to the next.
    virtual double lineHeight(const PrintFont &font) const = 0;

    // Height of a text: one line height per line it holds (CR LF, CR or LF end a line).
    double height(const PrintFont &font, QStringView text) const;
};

const TextMetrics &textMetrics();

// The mark a cut line ends with, so that what is left never reads as whole.
constexpr char16_t CutMark = 0x2026;

// Text as it fits in width twips printed in font: whole when it fits, else its front as
// read, cut between whole characters, with CutMark at the cut inside the field it falls
// in. Isolates the cut falls into are closed (TextDirection's carryIsolates); empty when
// not even the mark fits.
QString fittedText(const PrintFont &font, const QString &text, double width);

// Tests install fixed metrics to assert exact positions; an empty pointer restores
// the font metrics.
void setTextMetricsForTesting(std::shared_ptr<const TextMetrics> metrics);

} // namespace platform
