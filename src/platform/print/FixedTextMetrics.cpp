#include "platform/print/FixedTextMetrics.h"

namespace platform {

FixedTextMetrics::FixedTextMetrics(double charWidthPerPoint, double lineHeightPerPoint)
    : mCharWidthPerPoint(charWidthPerPoint), mLineHeightPerPoint(lineHeightPerPoint)
{
}

double FixedTextMetrics::width(const PrintFont &font, QStringView text) const
{
    return static_cast<double>(text.size()) * mCharWidthPerPoint * font.size;
}

double FixedTextMetrics::lineHeight(const PrintFont &font) const
{
    return mLineHeightPerPoint * font.size;
}

} // namespace platform
