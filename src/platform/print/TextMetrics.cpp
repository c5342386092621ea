#include "platform/print/TextMetrics.h"

#include "platform/print/FontTextMetrics.h"

#include "platform/base/TextBoundaries.h"
#include "platform/base/TextDirection.h"

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

QString fittedText(const PrintFont &font, const QString &text, double width)
{
    const TextMetrics &metrics = textMetrics();
    if (metrics.width(font, text) <= width)
        return text;
    const QString mark(QChar{CutMark});
    const double room = width - metrics.width(font, mark);
    if (room < 0)
        return QString();
    qsizetype fits = metrics.fittingLength(font, text, room);
    const TextBoundaries bounds(text);
    while (fits > 0 && !bounds.isCharacterBoundary(fits))
        --fits;
    // Blanks before the cut would part the mark from what it cuts.
    while (fits > 0 && text[fits - 1] == u' ')
        --fits;
    QString line = text.left(fits);
    QString rest = text.mid(fits);
    // A field that ends just at the cut ends before the mark: the cut is after it.
    int open = 0;
    for (const QChar c : line) {
        if (c == LeftToRightIsolate || c == RightToLeftIsolate || c == FirstStrongIsolate)
            ++open;
        else if (c == PopDirectionalIsolate && open > 0)
            --open;
    }
    while (open > 0 && rest.startsWith(QChar(PopDirectionalIsolate))) {
        line += rest.front();
        rest.remove(0, 1);
        --open;
    }
    line += mark;
    carryIsolates(line, rest);
    return line;
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
