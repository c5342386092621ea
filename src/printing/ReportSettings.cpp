#include "printing/ReportSettings.h"

#include "printing/MailingLabels.h"
#include "printing/frmPreview.h"

#include "helpers/DatabaseState.h"
#include "helpers/ValueHelpers.h"
#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/print/PrintDocument.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/PrinterObject.h"
#include "platform/print/TextMetrics.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::optional<ReportSettingsRow> readRow(platform::Database &db, const QString &type, const QString &name)
{
    gSql = reportSettingsQuery(type, name);
    std::unique_ptr<platform::Recordset> rs = db.openRecordset(gSql);
    if (rs->recordCount() == 0) {
        rs->close();
        return std::nullopt;
    }
    rs->moveFirst();
    ReportSettingsRow row;
    for (int n = 0; n < 6; ++n)
        row.setting[n] = NullToString(rs->value(QStringLiteral("Setting%1").arg(n + 1))).toString();
    rs->close();
    return row;
}

// What a stored value of the report is wanted for, to name it in the message.
enum class Value { StartX, StartY, FontSize };

QString describe(Value value)
{
    switch (value) {
    case Value::StartX:
        return QStringLiteral("starting horizontal print position");
    case Value::StartY:
        return QStringLiteral("starting vertical print position");
    case Value::FontSize:
        return QStringLiteral("font size");
    }
    return {};
}

double numberOf(const QString &reportName, Value value, const QString &text)
{
    const std::optional<double> number = ReportSettingNumber(text);
    if (!number)
        throw platform::RuntimeError(
            platform::err::TypeMismatch,
            QStringLiteral("The %1 stored for \"%2\" is \"%3\", which is not a number.  Correct it under "
                           "Options, Report Options.")
                .arg(describe(value), reportName, text));
    return *number;
}

// A whole number of the given width, rounded as every conversion to a whole number is
// (halves to the even neighbour).
template <typename Int> Int wholeNumberOf(const QString &reportName, Value value, const QString &text)
{
    const double rounded = std::nearbyint(numberOf(reportName, value, text));
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
        throw platform::RuntimeError(
            platform::err::Overflow,
            QStringLiteral("The %1 stored for \"%2\" is %3, which is out of range (%4 to %5).  Correct it "
                           "under Options, Report Options.")
                .arg(describe(value), reportName, Trim(text))
                .arg(std::numeric_limits<Int>::min())
                .arg(std::numeric_limits<Int>::max()));
    return static_cast<Int>(rounded);
}

// A value converted, checked against what prints on the page.
template <typename Number>
Number withinPage(const QString &reportName, Value value, const QString &text, Number number, double smallest,
                  double largest)
{
    if (number >= smallest && number <= largest)
        return number;
    throw platform::RuntimeError(
        platform::err::Overflow,
        QStringLiteral("The %1 stored for \"%2\" is %3, which does not print on the paper (%4 to %5).  "
                       "Correct it under Options, Report Options.")
            .arg(describe(value), reportName, Trim(text))
            .arg(smallest)
            .arg(largest));
}

} // namespace

ReportSettingRanges reportSettingRanges(const QString &name, const QSizeF &page, const platform::PrintFont &font)
{
    const double line = platform::textMetrics().lineHeight(font);
    double insetX = 0, insetY = 0, down = line;
    if (name == reportname::Labels1Up4 || name == reportname::Labels1Up3) {
        insetX = insetY = LabelStartInset;
        down = LabelLinesForFontSize(name, font.size) * line;
    } else if (name == reportname::Labels2Up || name == reportname::Labels3Up) {
        insetX = insetY = LabelStartInset;
    } else if (name == reportname::Pocket) {
        // The first panel opens with the category caption, empty unless a category is shown,
        // and a blank line: the first contact's name is the first line sure to print.
        insetY = PocketStartInset;
        down = 3 * line;
    }
    const double edge = platform::PrintDocument::UnprintableEdge;
    auto largest = [](double room) { return qint32(std::max(0.0, std::floor(room))); };
    return {largest(page.width() - edge - insetX - line), largest(page.height() - edge - insetY - down)};
}

QSizeF reportPage(platform::Database &db, const QString &name)
{
    const QSizeF paper = PreviewSurface().paperSize();
    const bool envelope = name == reportname::EnvelopeMain || name == reportname::EnvelopeReturn;
    return envelope && EnvelopeOrientationLandscape(db) ? paper.transposed() : paper;
}

std::optional<double> ReportSettingNumber(const QString &text)
{
    const QString number = Trim(text);
    if (number.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QLocale::c().toDouble(number, &ok);
    if (!ok)
        value = QLocale::system().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

const QStringList &ReportNames()
{
    static const QStringList names{reportname::Labels3Up,           reportname::Labels1Up4,
                                   reportname::Labels1Up3,          reportname::Labels2Up,
                                   reportname::EnvelopeMain,        reportname::EnvelopeReturn,
                                   reportname::EnvelopeOrientation, reportname::Pocket};
    return names;
}

QString reportSettingsQuery(const QString &type, const QString &name)
{
    // The names are the program's own; a quote in one would still not end the text.
    QString quoted = name;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("Select * from tblSettings Where Type='") + type + QStringLiteral("' And Name='") +
           quoted + QLatin1Char('\'');
}

std::optional<ReportSettingsRow> ReadReportSettings(platform::Database &db, const QString &name)
{
    return readRow(db, QStringLiteral("REPORT"), name);
}

std::optional<ReportSettingsRow> ReadReportDefaults(platform::Database &db, const QString &name)
{
    return readRow(db, QStringLiteral("REPORTdefault"), name);
}

void LoadReportSettings(platform::Database &db, platform::PrintCanvas &canvas, const QString &ReportName,
                        qint16 &X, qint32 &Y, qint16 &Y2)
{
    const std::optional<ReportSettingsRow> row = ReadReportSettings(db, ReportName);
    if (!row) {
        canvas.setCurrentX(0);
        canvas.setCurrentY(0);
        X = 0;
        Y = 0;
        Y2 = 0;
        return;
    }
    // Everything is converted before anything is applied, so a bad value leaves the
    // canvas as it was.
    const qint16 wholeX = wholeNumberOf<qint16>(ReportName, Value::StartX, row->x());
    const qint32 wholeY = wholeNumberOf<qint32>(ReportName, Value::StartY, row->y());
    const float size = static_cast<float>(withinPage(ReportName, Value::FontSize, row->size(),
                                                     numberOf(ReportName, Value::FontSize, row->size()),
                                                     ReportSettingRanges::SmallestFontSize,
                                                     ReportSettingRanges::LargestFontSize));
    // The first line is measured in the font the layout prints it in.
    platform::PrintFont font = canvas.font();
    font.name = row->font();
    font.size = size;
    const ReportSettingRanges ranges = reportSettingRanges(
        ReportName, canvas.documentOpen() ? canvas.document().pageSize() : canvas.paperSize(), font);
    const qint16 x = withinPage(ReportName, Value::StartX, row->x(), wholeX, ReportSettingRanges::SmallestStart,
                                ranges.largestX);
    const qint32 y = withinPage(ReportName, Value::StartY, row->y(), wholeY, ReportSettingRanges::SmallestStart,
                                ranges.largestY);
    const qint16 y2 = wholeNumberOf<qint16>(ReportName, Value::StartY, row->y());
    canvas.setCurrentX(numberOf(ReportName, Value::StartX, row->x()));
    canvas.setCurrentY(numberOf(ReportName, Value::StartY, row->y()));
    canvas.setFontName(row->font());
    canvas.setFontSize(size);
    X = x;
    Y = y;
    Y2 = y2;
}

void LoadReportSettingsPreview(const QString &ReportName, qint16 &X, qint32 &Y, qint16 &Y2)
{
    LoadReportSettings(*gDb, PreviewSurface(), ReportName, X, Y, Y2);
}

void LoadReportSettingsPrinter(const QString &ReportName, qint16 &X, qint32 &Y, qint16 &Y2)
{
    // The printer takes its position as single-precision numbers.
    platform::PrinterObject &printer = platform::Printer();
    LoadReportSettings(*gDb, printer, ReportName, X, Y, Y2);
    printer.setCurrentX(static_cast<float>(printer.currentX()));
    printer.setCurrentY(static_cast<float>(printer.currentY()));
}

bool EnvelopeOrientationLandscape(platform::Database &db)
{
    const std::optional<ReportSettingsRow> row = ReadReportSettings(db, reportname::EnvelopeOrientation);
    return row && row->setting[0].toUpper() == QStringLiteral("LANDSCAPE");
}

std::optional<PocketReportOptions> ReadPocketReportOptions(platform::Database &db)
{
    const std::optional<ReportSettingsRow> row = ReadReportSettings(db, reportname::Pocket);
    if (!row)
        return std::nullopt;
    return PocketReportOptions{row->setting[4] == QStringLiteral("1"),
                               row->setting[5] == QStringLiteral("1")};
}
