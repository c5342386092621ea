#include "support/PrintedPages.h"

#include "platform/print/PageRenderer.h"
#include "platform/print/PrintOutput.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtMath>

#include <algorithm>
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

QImage renderPage(const platform::PrintDocument &document, int pageIndex, int dpi)
{
    const QSizeF twips = document.pageSize();
    QImage image(qCeil(twips.width() * dpi / 1440.0), qCeil(twips.height() * dpi / 1440.0),
                 QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    platform::PageRenderer::render(painter, document, pageIndex, QRectF(QPointF(0, 0), QSizeF(image.size())),
                                   true);
    return image;
}

QImage pdfPage(const platform::PrintDocument &document, int pageIndex, int dpi)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    platform::PrintOutput::writePdf(document, pdf, pageIndex + 1, pageIndex + 1);
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                       QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
    return QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
}

QRectF inkInTwips(const QImage &image, int dpi)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    const double k = 1440.0 / dpi;
    return QRectF(QPointF(left * k, top * k), QPointF((right + 1) * k, (bottom + 1) * k));
}

} // namespace testsupport
