#include "support/FixedMetricsScope.h"

#include "platform/print/FixedTextMetrics.h"

#include <memory>

namespace testsupport {

FixedMetricsScope::FixedMetricsScope(double charWidthPerPoint, double lineHeightPerPoint)
{
    platform::setTextMetricsForTesting(
        std::make_shared<platform::FixedTextMetrics>(charWidthPerPoint, lineHeightPerPoint));
}

FixedMetricsScope::~FixedMetricsScope()
{
    platform::setTextMetricsForTesting(nullptr);
}

} // namespace testsupport
