#include "platform/print/FixedTextMetrics.h"

#include "platform/base/TextDirection.h"

namespace platform {

FixedTextMetrics::FixedTextMetrics(double charWidthPerPoint, double lineHeightPerPoint)
    : mCharWidthPerPoint(charWidthPerPoint), mLineHeightPerPoint(lineHeightPerPoint)
{
}

double FixedTextMetrics::width(const PrintFont &font, QStringView text) const
{
    // Marks of direction take no room here either.
    qsizetype characters = text.size();
    for (const QChar c : text)
        characters -= isDirectionMark(c.unicode());
    return static_cast<double>(characters) * mCharWidthPerPoint * font.size;
}

double FixedTextMetrics::lineHeight(const PrintFont &font) const
{
    return mLineHeightPerPoint * font.size;
}

} // namespace platform
