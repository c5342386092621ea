#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace platform {
class Database;
class PrintCanvas;
struct PrintFont;
} // namespace platform

// Where each printed layout starts on the page and in which font. The user edits them
// in the report options window; they live as rows of tblSettings, one per report name:
// Type "REPORT" for the user's values and "REPORTdefault" for the standard values the
// window's Reset restores (those come with the database and are never written). Every
// read goes to the open database (gDb); nothing is cached.

namespace reportname {
inline const QString Labels3Up = QStringLiteral("Labels 1 x 2-5/8 3-up");
inline const QString Labels1Up4 = QStringLiteral("Labels 1-1/2 x 4 1-up");
inline const QString Labels1Up3 = QStringLiteral("Labels 15/16 x 3-1/2 1-up");
inline const QString Labels2Up = QStringLiteral("Labels 1 x 4 2-up");
inline const QString EnvelopeMain = QStringLiteral("Envelope Main Address");
inline const QString EnvelopeReturn = QStringLiteral("Envelope Return Address");
inline const QString EnvelopeOrientation = QStringLiteral("Envelope Orientation");
inline const QString Pocket = QStringLiteral("Pocket Report");
} // namespace reportname

// A number as typed or stored: blanks around it are allowed; none when the text is
// not a number.
std::optional<double> ReportSettingNumber(const QString &text);

// How far inside the start its row gives a layout prints its first line, in twips. The
// labels keep a quarter inch clear of it across and down; the pocket book's panel rows start
// a quarter inch below it (its panels stand in columns of their own, whatever the start
// across). The envelopes print at the start itself.
constexpr int LabelStartInset = 360;
constexpr int PocketStartInset = 360;

// What a report's row may hold so that the report prints on its paper: a start (twips from
// the page's top left corner) from an inch beyond that corner, which layouts that inset their
// text or run down a stock still print from, to where the layout's first line, set in as
// the layout sets it, still has room short of the quarter inch along the page's far edges
// that printers cannot reach: a line of the row's font down (a whole label for the labels
// that run down a stock, which never split one over a page end; the pocket book's lines down
// to its first name) and as much across; a font size in points.
struct ReportSettingRanges {
    static constexpr qint32 SmallestStart = -1440;
    static constexpr double SmallestFontSize = 1;
    static constexpr double LargestFontSize = 127;
    qint32 largestX = 0;
    qint32 largestY = 0;
};
ReportSettingRanges reportSettingRanges(const QString &name, const QSizeF &page, const platform::PrintFont &font);
// The page the named report prints on: the print surface's paper, turned for envelopes that
// print landscape.
QSizeF reportPage(platform::Database &db, const QString &name);

// The eight report names, in the order the options window lists them.
const QStringList &ReportNames();

// The query text that finds the row of a kind ("REPORT" or "REPORTdefault") and name.
QString reportSettingsQuery(const QString &type, const QString &name);

// One settings row as stored: Setting1 to Setting6, Null read as "".
struct ReportSettingsRow {
    QString setting[6];
    const QString &x() const { return setting[0]; }    // start X, twips
    const QString &y() const { return setting[1]; }    // start Y, twips
    const QString &font() const { return setting[2]; } // font name
    const QString &size() const { return setting[3]; } // font size, points
};

// The REPORT row of that name, none when the database has none. Sets gSql.
std::optional<ReportSettingsRow> ReadReportSettings(platform::Database &db, const QString &name);
// The REPORTdefault row of that name.
std::optional<ReportSettingsRow> ReadReportDefaults(platform::Database &db, const QString &name);

// Apply the REPORT row ReportName before a layout is drawn: the start position becomes
// the current position and its font the current font, on the preview window's print
// surface or on the printer object. X is the start X, Y and Y2 the start Y. Without a
// row the position is (0, 0), the font is left as it is and X, Y, Y2 come back 0.
// A stored value that is not a number, or does not fit, or would not print on the page the
// canvas holds (see reportSettingRanges), raises a RuntimeError whose text names the report
// and the range, for the calling report's own error handling to show before anything prints.
void LoadReportSettingsPreview(const QString &ReportName, qint16 &X, qint32 &Y, qint16 &Y2);
void LoadReportSettingsPrinter(const QString &ReportName, qint16 &X, qint32 &Y, qint16 &Y2);
// The same on any database and canvas (what both of the above do, for tests and tools).
void LoadReportSettings(platform::Database &db, platform::PrintCanvas &canvas, const QString &ReportName,
                        qint16 &X, qint32 &Y, qint16 &Y2);

// Envelopes print landscape when the "Envelope Orientation" row says so in any case;
// a missing row reads as portrait.
bool EnvelopeOrientationLandscape(platform::Database &db);

// The pocket address book's two switches ("1" on, anything else off); none without a
// row, so the caller knows whether the user ever saved them.
struct PocketReportOptions {
    bool alternatePrint = false;
    bool lastNameFirst = false;
};
std::optional<PocketReportOptions> ReadPocketReportOptions(platform::Database &db);
