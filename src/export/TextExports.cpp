#include "export/TextExports.h"

#include "export/ExportFile.h"
#include "export/ExportFrame.h"
#include "printing/ContactLines.h"
#include "printing/DisplayedRecords.h"
#include "printing/GLOBAL.h"
#include "printing/PrintText.h"

#include "helpers/ValueHelpers.h"
#include "platform/print/PrinterObject.h"

#include <QStringList>

namespace {

const QString TextFilter = QStringLiteral("All Files (*.*)|*.*|Text Files & (*.txt)|*.txt");
const QString ListLocated = QStringLiteral("The exported list is located in file ");
const QString Blank = QStringLiteral(" ");

// The printed width the condensed lines are wrapped to, in twips.
constexpr int CondensedWidth = 9360;

void writeLabelBlock(DisplayedRecords &r, ExportFile &file)
{
    const QString set = LabelAddressSet(r);
    const auto field = [&](const QString &name) { return FieldText(r, name); };
    QStringList lines;
    const auto include = [&](const QString &line) {
        if (IsNonBlank(line))
            lines.append(line);
    };
    include(ContactNameLine(r));
    // The organisation is left off a home address.
    if (!field(set + QStringLiteral("Address_Desc")).toUpper().contains(QStringLiteral("HOME")))
        include(field(QStringLiteral("Organization")));
    for (const char *name : {"Address1", "Address2", "Address3"})
        include(field(set + QLatin1String(name)));
    include(CityLine(field(set + QStringLiteral("City")), field(set + QStringLiteral("State")),
                     field(set + QStringLiteral("PostalCode"))));
    include(RTrim(field(set + QStringLiteral("Country"))));
    include(RTrim(field(QStringLiteral("Email_Address"))));
    for (int n = 1; n <= 6; ++n) {
        const QString number = field(QStringLiteral("Phone%1").arg(n));
        if (IsNonBlank(number))
            lines.append(RTrim(field(QStringLiteral("Phone%1_Desc").arg(n))) + QStringLiteral("  ") +
                         RTrim(number));
    }
    for (const QString &line : lines) {
        // A line that opens with a character below the blank (a tab) stays out.
        if (line > Blank)
            file.writeLine(line);
    }
    file.writeLine(Blank);
}

QString condensedDetailText(DisplayedRecords &r)
{
    QString address = RunningAddressText(r, LabelAddressSet(r));
    if (IsNonBlank(address))
        address = QStringLiteral("Address: ") + address + QStringLiteral("  ");
    address = Trim(address);
    const QString email = FieldText(r, QStringLiteral("Email_Address"));
    if (IsNonBlank(email))
        address += QStringLiteral("  Email:") + RTrim(email) + QStringLiteral("  ");
    return QStringLiteral("    ") + Trim(Trim(RunningPhoneText(r)) + QStringLiteral("  ") + address);
}

void writeCondensedBlock(DisplayedRecords &r, ExportFile &file)
{
    file.writeLine(CondensedHeadingLine(r));
    const QString detail = condensedDetailText(r);
    if (IsNonBlank(detail)) {
        gPrinting.gPrintTextBuffer = detail;
        bool first = true;
        while (!gPrinting.gPrintTextBuffer.isEmpty()) {
            // Measured as printed text in the printer's font, which never needs a printer
            // to be installed.
            const QString line =
                GetNextPrintLine(gPrinting.gPrintTextBuffer, CondensedWidth, platform::Printer().font());
            file.writeLine(first ? line : QStringLiteral("    ") + line);
            first = false;
        }
    }
    file.writeLine(Blank);
}

// Both text exports ask the same way apart from their first sentence.
void runTextExport(DisplayedRecords &records, platform::CommonDialog &dialog, const QString &what,
                   void (*contact)(DisplayedRecords &, ExportFile &))
{
    ExportPieces pieces;
    pieces.confirmation =
        QStringLiteral("This feature will export a basic list of names, addresses, phone, and "
                       "E-mail") +
        what +
        QStringLiteral(" from all displayed records to a standard text file readable by "
                       "Notepad and other programs.\r\n\r\nProceed?");
    pieces.filter = TextFilter;
    pieces.defaultFileName = QStringLiteral("NameOut.txt");
    pieces.completionWords = ListLocated;
    pieces.contact = contact;
    RunExport(records, dialog, pieces);
}

} // namespace

void ExportLabelFormat(DisplayedRecords &Records, platform::CommonDialog &CMDialog1)
{
    runTextExport(Records, CMDialog1, QStringLiteral(" (one field per line)"), &writeLabelBlock);
}

void ExportCondensed(DisplayedRecords &Records, platform::CommonDialog &CMDialog1)
{
    runTextExport(Records, CMDialog1, QString(), &writeCondensedBlock);
}
