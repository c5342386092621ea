#pragma once

namespace testsupport {

// While it lives, every text is measured with fixed metrics: each character is
// charWidthPerPoint x size twips wide and each line lineHeightPerPoint x size high
// (by default 10 pt gives 100 twips a character and 200 a line; 8 pt 80 and 160).
class FixedMetricsScope {
  public:
    explicit FixedMetricsScope(double charWidthPerPoint = 10.0, double lineHeightPerPoint = 20.0);
    ~FixedMetricsScope();

    FixedMetricsScope(const FixedMetricsScope &) = delete;
    FixedMetricsScope &operator=(const FixedMetricsScope &) = delete;
};

} // namespace testsupport
