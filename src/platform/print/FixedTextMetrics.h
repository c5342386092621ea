#pragma once

#include "platform/print/TextMetrics.h"

namespace platform {

// Every character the same width and every line the same height, both in proportion
// to the font size, so that tests and benchmarks can predict each position exactly.
class FixedTextMetrics : public TextMetrics {
  public:
    explicit FixedTextMetrics(double charWidthPerPoint = 10.0, double lineHeightPerPoint = 20.0);

    double width(const PrintFont &font, QStringView text) const override;
    double lineHeight(const PrintFont &font) const override;

  private:
    double mCharWidthPerPoint;
    double mLineHeightPerPoint;
};

} // namespace platform
