#include "BookFixtures.h"
#include "addressbooks/PocketBook.h"
#include "printing/FormEnvelope.h"
#include "printing/MailingLabels.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportOptionsForm.h"
#include "printing/ReportRun.h"
#include "printing/ReportSettings.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/TempDatabase.h"

#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/print/PrinterObject.h"
#include "platform/print/TextMetrics.h"
#include "platform/ui/MsgBox.h"
#include "start/modMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace {

// Every layout that prints from a start of the report options, with its largest starts in
// fixed metrics (a line 20 twips a point high, 10 twips a point wide a character) on letter
// paper, 12240 by 15840: short of the quarter inch the printers cannot reach, less the
// layout's own quarter inch where it sets its first line in, less the room of that line
// (for the labels that run down a stock, of the whole label, which never crosses a page
// end). The envelopes lie landscape, as the shipped orientation row says.
struct Layout {
    const char *report;
    const char *size; // the font size stored with the starts
    int largestX;     // none for the pocket book, whose panels have columns of their own
    int largestY;
    const char *first;          // the text the first line begins with
    bool printerObject = false; // the pocket book's variant that draws on the printer object
};

const Layout Layouts[] = {
    {"Labels 1 x 2-5/8 3-up", "10", 11320, 14920, "P1"},
    {"Labels 1 x 4 2-up", "10", 11320, 14920, "P1"},
    // Seven lines of 10 pt, five of 10 pt.
    {"Labels 1-1/2 x 4 1-up", "10", 11320, 13720, "P1"},
    {"Labels 15/16 x 3-1/2 1-up", "10", 11320, 14120, "P1"},
    {"Envelope Main Address", "12", 15240, 11640, "P1"},
    {"Envelope Return Address", "10", 15280, 11680, "9 Oak"},
    // Its first name comes under an empty caption line and a blank one.
    {"Pocket Report", "8", -1, 14640, "P1"},
    {"Pocket Report", "8", -1, 14640, "P1", true},
};

class ReportStartsTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        gDb->execute("Delete * From tblSettings Where Type='REPORT' And Name<>'Envelope Orientation'");
        gDb->execute("Update tblSettings Set Name='1' Where Type='RETURNADDRESSCHOICE'");
        gDb->execute("Update tblSettings Set Setting1='9 Oak' Where Type='RETURNADDRESS1'");
        UnloadPreview();
        PreviewSurface().setPreview(true);
        platform::Printer().reset();
        ReportRun::setEventIntervalForTesting(0);
        // The printer object's side 1 is caught here, as no printer is installed.
        platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
        platform::PrintOutput::setPdfPathChooser([this](const QString &name) {
            if (name.isEmpty())
                printed = platform::Printer().document();
            return folder.filePath(QStringLiteral("printed.pdf"));
        });
    }
    void TearDown() override
    {
        UnloadPreview();
        platform::Printer().reset();
        platform::PrintOutput::setPrinterLookupForTesting(nullptr);
        platform::PrintOutput::setPdfPathChooser({});
        platform::PrintOutput::forgetChosenPrinterForTesting();
        ReportRun::setEventIntervalForTesting(20);
        gDatabase.reset();
    }

    void store(const Layout &layout, int x, int y)
    {
        gDb->execute(
            QStringLiteral("Delete From tblSettings Where Type='REPORT' And Name='%1'").arg(layout.report));
        gDb->execute(
            QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) "
                           "Values ('REPORT', '%1', '%2', '%3', 'Arial', '%4')")
                .arg(QLatin1String(layout.report))
                .arg(layout.largestX < 0 ? 0 : x)
                .arg(y)
                .arg(QLatin1String(layout.size)));
    }

    struct Printed {
        std::optional<platform::PrintDocument> document; // none when nothing was drawn
        QStringList told;                                // the messages, in order
    };
    // Prints one contact in the layout, one copy of a label, side 1 of a booklet.
    Printed print(const Layout &layout)
    {
        printed.reset();
        const QString report = QLatin1String(layout.report);
        MemoryRecords records =
            bookRecords({{{"FirstName", "P1"}, {"LastName", "Lee"}, {"First_Address1", "1 Main"}}});
        DialogScript script;
        if (report != reportname::Pocket && !report.startsWith(QStringLiteral("Envelope")))
            script.answerInput(QStringLiteral("1"));
        // The messages are OK'd; the printer variant is not to turn the paper over.
        script.backOutOfTheRest();
        if (report == reportname::Pocket && layout.printerObject)
            PrintPocketReportAlternate(records, QString(), false);
        else if (report == reportname::Pocket)
            PrintPocketReport(records, QString(), false);
        else if (report.startsWith(QStringLiteral("Envelope")))
            PrintEnvelopes(records, 1);
        else
            std::map<QString, void (*)(DisplayedRecords &, qint32)>{
                {reportname::Labels3Up, &Labels3upMenu_Click},
                {reportname::Labels2Up, &Labels2UpMenu_Click},
                {reportname::Labels1Up4, &Labels1UpMenu1_Click},
                {reportname::Labels1Up3, &Labels1UpMenu2_Click}}
                .at(report)(records, 0);
        Printed result;
        for (const platform::DialogRequest &request : script.shown(platform::DialogKind::Message))
            if (request.title != PocketHalfwayTitle)
                result.told << request.text;
        if (layout.printerObject)
            result.document = printed;
        else if (PreviewSurface().pageCount() > 0)
            result.document = PreviewSurface().document();
        return result;
    }

    // The report options window with the layout's starts typed in and saved: the message it
    // gave, empty when it took them.
    std::string saveInReportOptions(const Layout &layout, int x, int y)
    {
        auto form = std::make_unique<ReportOptionsForm>();
        form->load();
        form->lbReports->setCurrentRow(int(ReportNames().indexOf(QLatin1String(layout.report))));
        form->lbReports_Click();
        if (layout.largestX >= 0) {
            form->txtXStart->setText(QString::number(x));
            form->cmbFonts->setEditText(QStringLiteral("Arial"));
            form->txtFontSize->setText(QLatin1String(layout.size));
        }
        form->txtYStart->setText(QString::number(y));
        DialogScript script;
        script.backOutOfTheRest();
        form->cmdSave_Click();
        if (!form->isUnloaded())
            form->unload();
        return script.shown().empty() ? std::string() : script.shown().back().text.toStdString();
    }

    TempDatabase temp;
    testsupport::FixedMetricsScope metrics;
    QTemporaryDir folder;
    std::optional<platform::PrintDocument> printed;
};

std::string traceOf(const Layout &layout)
{
    return std::string(layout.report) + (layout.printerObject ? " on the printer object" : "");
}

// The largest starts the window takes put the layout's first line on the first page, wholly
// on the paper; one more twip across or down is refused with the range.
TEST_F(ReportStartsTest, ReportOptionsTakeTheLargestStartsThatPrintTheFirstLineOnThePaper)
{
    for (const Layout &layout : Layouts) {
        SCOPED_TRACE(traceOf(layout));
        const auto told = [](const char *which, int largest) {
            return QStringLiteral(
                       "The starting %1 print position must be a whole number of twips from -1440 to %2.")
                .arg(QLatin1String(which))
                .arg(largest)
                .toStdString();
        };
        if (layout.largestX >= 0) {
            EXPECT_EQ(saveInReportOptions(layout, layout.largestX + 1, layout.largestY),
                      told("horizontal", layout.largestX));
        }
        EXPECT_EQ(saveInReportOptions(layout, layout.largestX, layout.largestY + 1),
                  told("vertical", layout.largestY));
        ASSERT_EQ(saveInReportOptions(layout, layout.largestX, layout.largestY), "");

        const Printed result = print(layout);
        EXPECT_TRUE(result.told.isEmpty()) << result.told.join(u'|').toStdString();
        ASSERT_TRUE(result.document) << "nothing was drawn";
        const std::optional<platform::PrintDocument> &document = result.document;
        ASSERT_GE(document->pageCount(), 1);
        const QSizeF page = document->pageSize();
        const platform::PrintRun *first = nullptr;
        for (const platform::PrintRun &run : document->pages.front()) {
            if (!first && run.text.trimmed().startsWith(QLatin1String(layout.first)))
                first = &run;
        }
        ASSERT_NE(first, nullptr) << "the first line is not on the first page";
        const platform::TextMetrics &metrics = platform::textMetrics();
        EXPECT_GE(first->x, 0);
        EXPECT_GE(first->y, 0);
        EXPECT_LE(first->x + metrics.width(first->font, first->text), page.width());
        EXPECT_LE(first->y + metrics.lineHeight(first->font), page.height());
    }
}

// A stored start one twip further than the largest is told, naming the range, before
// anything is drawn.
TEST_F(ReportStartsTest, AStoredStartPastTheLargestIsToldBeforeTheReportPrints)
{
    for (const Layout &layout : Layouts) {
        SCOPED_TRACE(traceOf(layout));
        struct Past {
            const char *which;
            int x, y, stored, largest;
        };
        std::vector<Past> pasts{
            {"vertical", layout.largestX, layout.largestY + 1, layout.largestY + 1, layout.largestY}};
        if (layout.largestX >= 0)
            pasts.push_back(
                {"horizontal", layout.largestX + 1, layout.largestY, layout.largestX + 1, layout.largestX});
        for (const Past &past : pasts) {
            SCOPED_TRACE(past.which);
            store(layout, past.x, past.y);
            const Printed result = print(layout);
            EXPECT_EQ(result.told.join(u'|').toStdString(),
                      QStringLiteral("The starting %1 print position stored for \"%2\" is %3, which does "
                                     "not print on the paper (-1440 to %4).  Correct it under Options, "
                                     "Report Options.")
                          .arg(QLatin1String(past.which), QLatin1String(layout.report))
                          .arg(past.stored)
                          .arg(past.largest)
                          .toStdString());
            const bool drawn =
                result.document && std::any_of(result.document->pages.begin(), result.document->pages.end(),
                                               [](const platform::PrintPage &p) { return !p.empty(); });
            EXPECT_FALSE(drawn);
        }
    }
}

} // namespace
