#include "support/PrintedPages.h"

#include "platform/print/PageRenderer.h"
#include "platform/print/PrintOutput.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtMath>

#include <QtEndian>
#include <algorithm>
#include <map>
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

namespace {

// The objects of a PDF by number, each as its bytes (held one byte a character).
QHash<int, QString> pdfObjects(const QByteArray &data)
{
    QHash<int, QString> objects;
    static const QRegularExpression object(QStringLiteral(R"((\d+) 0 obj(.*?)endobj)"),
                                           QRegularExpression::DotMatchesEverythingOption);
    for (auto it = object.globalMatch(QString::fromLatin1(data)); it.hasNext();) {
        const auto match = it.next();
        objects.insert(match.captured(1).toInt(), match.captured(2));
    }
    return objects;
}

QString pdfStream(const QString &object)
{
    static const QRegularExpression stream(QStringLiteral("stream\r?\n(.*)endstream"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QByteArray raw = stream.match(object).captured(1).toLatin1();
    if (!object.left(300).contains(QStringLiteral("FlateDecode")))
        return QString::fromLatin1(raw);
    // qUncompress wants the size first; it grows its buffer when the guess is short.
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(raw.size() * 16), sized.data());
    return QString::fromLatin1(qUncompress(sized + raw));
}

// A font's ToUnicode map, as Qt writes it (ranges only): glyph to the characters it stands for.
QHash<int, QString> toUnicode(const QString &cmap)
{
    QHash<int, QString> map;
    const auto utf16 = [](const QString &hex) {
        const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
        QString text;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
        return text;
    };
    static const QRegularExpression ranges(QStringLiteral("beginbfrange(.*?)endbfrange"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression listed(QStringLiteral(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*\[([^\]]*)\])"));
    static const QRegularExpression counted(
        QStringLiteral(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (auto it = ranges.globalMatch(cmap); it.hasNext();) {
        QString block = it.next().captured(1);
        for (auto l = listed.globalMatch(block); l.hasNext();) {
            const auto m = l.next();
            int glyph = m.captured(1).toInt(nullptr, 16);
            for (auto h = hex.globalMatch(m.captured(3)); h.hasNext();)
                map.insert(glyph++, utf16(h.next().captured(1)));
        }
        block.remove(listed);
        for (auto c = counted.globalMatch(block); c.hasNext();) {
            const auto m = c.next();
            const QString base = utf16(m.captured(3));
            for (int glyph = m.captured(1).toInt(nullptr, 16), k = 0; glyph <= m.captured(2).toInt(nullptr, 16);
                 ++glyph, ++k)
                map.insert(glyph, base.left(base.size() - 1) + QChar(base.back().unicode() + k));
        }
    }
    return map;
}

} // namespace

std::vector<QString> pdfDrawnLines(const platform::PrintDocument &document, int pageIndex)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    platform::PrintOutput::writePdf(document, path, pageIndex + 1, pageIndex + 1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QHash<int, QString> objects = pdfObjects(file.readAll());
    static const QRegularExpression page(QStringLiteral(R"(/Type /Page\b(?!s).*/Contents (\d+) 0 R.*/Resources (\d+) 0 R)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QString content, resources;
    for (const QString &object : objects) {
        const auto m = page.match(object);
        if (m.hasMatch()) {
            content = pdfStream(objects.value(m.captured(1).toInt()));
            resources = objects.value(m.captured(2).toInt());
        }
    }
    QHash<QString, QHash<int, QString>> fonts;
    static const QRegularExpression fontRef(QStringLiteral(R"(/(F\d+) (\d+) 0 R)"));
    static const QRegularExpression unicodeRef(QStringLiteral(R"(/ToUnicode (\d+) 0 R)"));
    for (auto it = fontRef.globalMatch(resources); it.hasNext();) {
        const auto m = it.next();
        const auto map = unicodeRef.match(objects.value(m.captured(2).toInt()));
        fonts.insert(m.captured(1), map.hasMatch() ? toUnicode(pdfStream(objects.value(map.captured(1).toInt())))
                                                   : QHash<int, QString>());
    }
    static const QRegularExpression token(QStringLiteral(
        R"(([-\d.]+) ([-\d.]+) ([-\d.]+) ([-\d.]+) ([-\d.]+) ([-\d.]+) cm|/(F\d+) [\d.]+ Tf|([-\d.]+) ([-\d.]+) Td <([0-9A-Fa-f]+)> Tj|BT| Tm\n)"));
    std::map<long, std::vector<std::pair<double, QString>>> lines;
    double scale = 1.0, left = 0.0, baseline = 0.0, x = 0.0;
    QString font;
    for (auto it = token.globalMatch(content); it.hasNext();) {
        const auto m = it.next();
        const QString t = m.captured(0);
        if (t.endsWith(QStringLiteral(" cm"))) {
            // The page's own transform (twips to points) is not a run's.
            if (std::abs(m.captured(1).toDouble() - 0.06) > 1e-6) {
                scale = m.captured(1).toDouble();
                left = m.captured(5).toDouble();
                baseline = m.captured(6).toDouble();
            }
        } else if (t.endsWith(QStringLiteral("Tf"))) {
            font = m.captured(7);
        } else if (t == QStringLiteral("BT") || t.endsWith(QStringLiteral("Tm\n"))) {
            x = 0.0;
        } else {
            x += m.captured(8).toDouble();
            const QString glyphs = m.captured(10);
            for (qsizetype i = 0; i + 4 <= glyphs.size(); i += 4) {
                const int glyph = glyphs.mid(i, 4).toInt(nullptr, 16);
                const QString character = glyph == 0 ? QStringLiteral("□") : fonts.value(font).value(glyph, QStringLiteral("?"));
                lines[std::lround(baseline)].emplace_back(left + scale * x, character);
            }
        }
    }
    std::vector<QString> drawn;
    for (auto &[y, glyphs] : lines) {
        std::stable_sort(glyphs.begin(), glyphs.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        QString line;
        for (const auto &glyph : glyphs)
            line += glyph.second;
        // Qt's PDF maps the blank to a tab.
        drawn.push_back(line.replace(u'\t', u' '));
    }
    return drawn;
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

QStringList printedContactFields()
{
    QStringList fields{"Prefix", "FirstName",    "MiddleName",       "LastName",
                       "Suffix", "Organization", "AddressForLabels", "Email_Address"};
    for (const char *set : {"First_", "Second_"}) {
        for (const char *f :
             {"Address_Desc", "Address1", "Address2", "Address3", "City", "State", "PostalCode", "Country"})
            fields << QLatin1String(set) + QLatin1String(f);
    }
    for (int n = 1; n <= 6; ++n)
        fields << QStringLiteral("Phone%1").arg(n) << QStringLiteral("Phone%1_Desc").arg(n);
    return fields;
}

} // namespace testsupport
