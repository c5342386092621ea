#include "addressbooks/PocketPanels.h"

#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"

#include "platform/RuntimeError.h"
#include "platform/base/TextBoundaries.h"
#include "platform/print/PrintCanvas.h"

#include "helpers/ValueHelpers.h"

#include <QVariant>
#include <algorithm>

namespace {

// Where the second phone of a pair starts: the middle of the panel.
constexpr int PhonePairMiddle = 2160;
// The panel height the lines share, in twips.
constexpr int PanelLinesHeight = 6324;

// Every field of the book is printed set apart in its own direction, on its one line.
QString field(const QString &value)
{
    return JoinedField(value, FieldJoin::IsolatedLine);
}

QString phoneLabel(const QString &description, const QString &phone)
{
    return IsNonBlank(phone)
               ? QStringLiteral("(") + field(platform::leftCharacters(description, 4)) + QStringLiteral(") ")
               : QStringLiteral("    ");
}

void appendAddress(QStringList &lines, DisplayedRecords &r, const QString &prefix)
{
    const auto text = [&](const char *name) { return FieldText(r, prefix + QLatin1String(name)); };
    for (const char *street : {"Address1", "Address2", "Address3"}) {
        const QString value = text(street);
        if (IsNonBlank(value))
            lines << field(RTrim(value));
    }
    const QString city = text("City");
    const QString state = text("State");
    const QString postalCode = text("PostalCode");
    if (IsNonBlank(city) || IsNonBlank(state) || IsNonBlank(postalCode))
        lines << CityLine(city, state, postalCode, FieldJoin::IsolatedLine);
    const QString country = text("Country");
    if (IsNonBlank(country))
        lines << field(RTrim(country));
}

} // namespace

PocketPanels::PocketPanels(int depth) : mDepth(depth) {}

QString PocketPanels::numberLine(int panel)
{
    return QString(RecordLength / 2 - 2, u' ') + u' ' + QString::number(panel);
}

void PocketPanels::writeRecord(const QString &text)
{
    // Trailing blanks never print, so a record keeps only what shows.
    mRecords.push_back(RTrim(platform::leftCharacters(text, RecordLength)));
}

void PocketPanels::writeLine(const QString &text)
{
    writeRecord(text);
    ++mUsed;
    if (mUsed == mDepth - 1)
        closePanel();
}

void PocketPanels::closePanel()
{
    for (; mUsed < mDepth - 1; ++mUsed)
        mRecords.emplace_back();
    writeRecord(numberLine(mPanel));
    mUsed = 0;
    ++mPanel;
}

void PocketPanels::finish()
{
    if (mUsed > 0)
        closePanel();
    while ((mPanel - 1) % 4 != 0)
        closePanel();
}

std::size_t PocketPanels::memoryBytes() const
{
    std::size_t bytes = mRecords.capacity() * sizeof(QString);
    for (const QString &record : mRecords) {
        // A text's block: its header and its characters with the closing zero.
        if (!record.isNull())
            bytes += 16 + (static_cast<std::size_t>(record.capacity()) + 1) * sizeof(QChar);
    }
    return bytes;
}

PocketLayout::PocketLayout(const platform::PrintCanvas &canvas, bool lastNameFirst)
    : canvas(canvas), lastNameFirst(lastNameFirst),
      spaceWidth(static_cast<int>(WholeNumber(canvas.textWidth(QStringLiteral(" "))))),
      dashWidth(static_cast<int>(WholeNumber(canvas.textWidth(QStringLiteral("-")))))
{
    // A font without width would divide by nothing.
    spaceWidth = std::max(spaceWidth, 1);
    dashWidth = std::max(dashWidth, 1);
}

int PocketPanelDepth(double lineHeight)
{
    const double depth = lineHeight > 0 ? std::nearbyint(PanelLinesHeight / lineHeight) : 0.0;
    if (depth > 32767)
        throw platform::RuntimeError(6, QStringLiteral("Overflow"));
    // A panel needs its number line and room for at least one line of a contact.
    if (depth < 2)
        throw platform::RuntimeError(
            6, QStringLiteral("The pocket book's font is too large: a panel has no room for a line."));
    return static_cast<int>(depth);
}

QString PocketCaptionLine(const PocketLayout &Layout, const QString &Caption)
{
    const qint64 x = std::max<qint64>(0, WholeNumber(PocketPanelWidth - Layout.canvas.textWidth(Caption)) / 2);
    return QString(x / Layout.spaceWidth, u' ') + field(Caption);
}

QString PocketPhonePair(const PocketLayout &Layout, const QString &Label1, const QString &Phone1,
                        const QString &Label2, const QString &Phone2)
{
    const QString second = phoneLabel(Label2, Phone2) + field(Phone2);
    if (!IsNonBlank(Phone1))
        return second;
    const QString first = phoneLabel(Label1, Phone1) + field(Phone1);
    qint64 x = PhonePairMiddle - WholeNumber(Layout.canvas.textWidth(first));
    if (x < 0)
        x = Layout.spaceWidth;
    // Past the middle, or a few twips short of it, one blank still keeps them apart.
    const qint64 blanks = std::max<qint64>(1, x / Layout.spaceWidth);
    return first + QString(blanks, u' ') + second;
}

QString PocketNameLine(DisplayedRecords &Records, bool LastNameFirst)
{
    if (!LastNameFirst)
        return ContactNameLine(Records, FieldJoin::IsolatedLine);
    const QString last = FieldText(Records, QStringLiteral("LastName"));
    const QString first = FieldText(Records, QStringLiteral("FirstName"));
    const QString middle = FieldText(Records, QStringLiteral("MiddleName"));
    const QString suffix = FieldText(Records, QStringLiteral("Suffix"));
    const bool comma = IsNonBlank(last) && (IsNonBlank(first) || IsNonBlank(middle));
    const QString suffixPart = comma && IsNonBlank(suffix) ? QStringLiteral(" ") + field(Trim(suffix)) : QString();
    return field(RTrim(last)) + suffixPart + (comma ? QStringLiteral(", ") : QString()) + field(RTrim(first)) + u' ' +
           field(RTrim(middle));
}

QStringList PocketContactLines(DisplayedRecords &Records, const PocketLayout &Layout, bool FirstContact,
                               const QString &Caption)
{
    QStringList lines;
    if (FirstContact)
        lines << PocketCaptionLine(Layout, Caption) << QString();
    lines << PocketNameLine(Records, Layout.lastNameFirst);
    const QString organization = FieldText(Records, QStringLiteral("Organization"));
    if (IsNonBlank(organization))
        lines << field(RTrim(organization));
    for (int n = 1; n <= 5; n += 2) {
        const QString phone1 = FieldText(Records, QStringLiteral("Phone%1").arg(n));
        const QString phone2 = FieldText(Records, QStringLiteral("Phone%1").arg(n + 1));
        if (IsNonBlank(phone1) || IsNonBlank(phone2))
            lines << PocketPhonePair(Layout, FieldText(Records, QStringLiteral("Phone%1_Desc").arg(n)), phone1,
                                     FieldText(Records, QStringLiteral("Phone%1_Desc").arg(n + 1)), phone2);
    }
    appendAddress(lines, Records, QStringLiteral("First_"));
    appendAddress(lines, Records, QStringLiteral("Second_"));
    const QString email = FieldText(Records, QStringLiteral("Email_Address"));
    if (IsNonBlank(email))
        lines << QStringLiteral("E-mail: ") + field(RTrim(email));
    if (NotesPrint(Records)) {
        // The notes wrap over lines of their own, their line ends kept.
        gPrinting.gPrintTextBuffer =
            JoinedField(Trim(FieldText(Records, QStringLiteral("Notes"))), FieldJoin::Isolated);
        for (int n = 0; n < PocketNoteLines && !gPrinting.gPrintTextBuffer.isEmpty(); ++n)
            lines << GetNextPrintLine(gPrinting.gPrintTextBuffer, PocketPanelWidth, Layout.canvas.font());
    }
    lines << QString(PocketPanelWidth / Layout.dashWidth, u'-');
    return lines;
}

PocketPanels LayOutPocketPanels(DisplayedRecords &Records, const PocketLayout &Layout, int Depth,
                                const QString &Caption, const std::function<void()> &BetweenContacts)
{
    PocketPanels panels(Depth);
    bool first = true;
    Records.moveFirst();
    while (!Records.eof()) {
        const QStringList lines = PocketContactLines(Records, Layout, first, Caption);
        // A contact that does not fit the rest of the panel starts the next one; one
        // longer than a whole panel goes on from panel to panel.
        if (panels.linesUsed() > 0 && panels.linesUsed() + lines.size() > Depth - 1)
            panels.closePanel();
        for (const QString &line : lines)
            panels.writeLine(line);
        Records.moveNext();
        first = false;
        if (BetweenContacts && !Records.eof())
            BetweenContacts();
    }
    panels.finish();
    return panels;
}
