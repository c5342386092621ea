#include "support/PrintedPages.h"

#include <cmath>

namespace testsupport {

namespace {
QString number(double value)
{
    return QString::number(value, 'g', 10);
}
} // namespace

std::vector<platform::PrintRun> runsOnPage(const platform::PrintDocument &document, int page)
{
    if (page < 1 || page > document.pageCount())
        return {};
    return document.pages[static_cast<std::size_t>(page - 1)];
}

QString textAt(const platform::PrintDocument &document, int page, double x, double y)
{
    for (const platform::PrintRun &run : runsOnPage(document, page)) {
        if (std::abs(run.x - x) <= 0.5 && std::abs(run.y - y) <= 0.5)
            return run.text;
    }
    return QString();
}

const platform::PrintRun *findRun(const platform::PrintDocument &document, int page, const QString &text)
{
    if (page < 1 || page > document.pageCount())
        return nullptr;
    for (const platform::PrintRun &run : document.pages[static_cast<std::size_t>(page - 1)]) {
        if (run.text == text)
            return &run;
    }
    return nullptr;
}

std::string describe(const platform::PrintRun &run)
{
    QString line = QStringLiteral("(%1,%2)").arg(number(run.x), number(run.y));
    if (run.font.name != QStringLiteral("Arial") || run.font.size != 10.0)
        line += QStringLiteral(" %1 %2").arg(run.font.name, number(run.font.size));
    if (run.font.bold)
        line += QStringLiteral(" [b]");
    if (run.font.italic)
        line += QStringLiteral(" [i]");
    line += u' ' + run.text;
    return line.toStdString();
}

std::vector<std::string> pageLines(const platform::PrintDocument &document, int page)
{
    std::vector<std::string> lines;
    for (const platform::PrintRun &run : runsOnPage(document, page))
        lines.push_back(describe(run));
    return lines;
}

} // namespace testsupport
