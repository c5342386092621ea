#include "platform/print/TextMetrics.h"

#include "platform/print/FontTextMetrics.h"

namespace platform {

namespace {
std::shared_ptr<const TextMetrics> &metricsOverride()
{
    static std::shared_ptr<const TextMetrics> metrics;
    return metrics;
}
} // namespace

double TextMetrics::height(const PrintFont &font, QStringView text) const
{
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (text[i] == u'\n') {
            ++lines;
        }
    }
    return lines * lineHeight(font);
}

qsizetype TextMetrics::fittingLength(const PrintFont &font, QStringView text, double maxWidth) const
{
    double total = 0.0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        total += width(font, text.mid(i, 1));
        if (total > maxWidth)
            return i;
    }
    return text.size();
}

const TextMetrics &textMetrics()
{
    if (const auto &metrics = metricsOverride())
        return *metrics;
    return FontTextMetrics::instance();
}

void setTextMetricsForTesting(std::shared_ptr<const TextMetrics> metrics)
{
    metricsOverride() = std::move(metrics);
}

} // namespace platform
