#include "BookFixtures.h"
#include "addressbooks/PocketBook.h"
#include "printing/FormEnvelope.h"
#include "printing/MailingLabels.h"
#include "printing/PrintModeSwitch.h"
#include "printing/ReportOptionsForm.h"
#include "printing/ReportSettings.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FixedMetricsScope.h"
#include "support/TempDatabase.h"

#include "platform/print/PrintSurface.h"
#include "platform/print/TextMetrics.h"
#include "start/modMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

// Every layout that prints from a start of the report options, with its largest starts on
// letter paper in fixed metrics (20 twips a point): the paper less the quarter inch printers
// cannot reach, the layout's own inset, and a line of its font (a whole label for labels that
// never cross a page end). The envelopes lie landscape, as the shipped orientation row says.
const struct Layout {
    const char *report;
    const char *size;
    int largestX; // none for the pocket book, whose panels have columns of their own
    int largestY;
    const char *first; // what the first line begins with
} Layouts[] = {
    {"Labels 1 x 2-5/8 3-up", "10", 11320, 14920, "P1"},
    {"Labels 1 x 4 2-up", "10", 11320, 14920, "P1"},
    {"Labels 1-1/2 x 4 1-up", "10", 11320, 13720, "P1"},     // seven lines of 10 pt
    {"Labels 15/16 x 3-1/2 1-up", "10", 11320, 14120, "P1"}, // five
    {"Envelope Main Address", "12", 15240, 11640, "P1"},
    {"Envelope Return Address", "10", 15280, 11680, "9 Oak"},
    // The first name comes under the caption line, empty here, and a blank line.
    {"Pocket Report", "8", -1, 14640, "P1"},
};

class ReportStartsTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gDb = platform::Database::open(temp.path());
        gDb->execute("Delete * From tblSettings Where Type='REPORT' And Name<>'Envelope Orientation'");
        gDb->execute("Update tblSettings Set Setting1='9 Oak' Where Type='RETURNADDRESS1'");
        gDb->execute("Update tblSettings Set Name='1' Where Type='RETURNADDRESSCHOICE'");
    }
    void TearDown() override
    {
        UnloadPreview();
        gDatabase.reset();
    }

    // One contact in the layout, messages OK'd: what they said, the run's first page.
    std::pair<QStringList, platform::PrintPage> print(const QString &report)
    {
        MemoryRecords records = bookRecords({{{"FirstName", "P1"}, {"LastName", "Lee"}, {"First_Address1", "1 Main"}}});
        DialogScript script;
        if (report.startsWith(QStringLiteral("Labels")))
            script.answerInput(QStringLiteral("1"));
        script.backOutOfTheRest();
        UnloadPreview(); // a fresh surface holds no document
        PreviewSurface().setPreview(true);
        if (report == reportname::Pocket)
            PrintPocketReport(records, QString(), false);
        else if (report.startsWith(QStringLiteral("Envelope")))
            PrintEnvelopes(records, 1);
        else
            std::map<QString, void (*)(DisplayedRecords &, qint32)>{{reportname::Labels3Up, &Labels3upMenu_Click},
                                                                    {reportname::Labels2Up, &Labels2UpMenu_Click},
                                                                    {reportname::Labels1Up4, &Labels1UpMenu1_Click},
                                                                    {reportname::Labels1Up3, &Labels1UpMenu2_Click}}
                .at(report)(records, 0);
        QStringList told;
        for (const platform::DialogRequest &request : script.shown(platform::DialogKind::Message))
            told << request.text;
        const platform::PrintDocument &document = PreviewSurface().document();
        return {told, document.pages.empty() ? platform::PrintPage() : document.pages.front()};
    }

    // The starts typed into the report options window and saved: the message, empty when taken.
    QString saveInReportOptions(const Layout &layout, int x, int y)
    {
        ReportOptionsForm *form = new ReportOptionsForm;
        form->load();
        form->lbReports->setCurrentRow(int(ReportNames().indexOf(QLatin1String(layout.report))));
        form->lbReports_Click();
        form->txtXStart->setText(QString::number(x));
        form->txtYStart->setText(QString::number(y));
        form->cmbFonts->setEditText(QStringLiteral("Arial"));
        form->txtFontSize->setText(QLatin1String(layout.size));
        DialogScript script;
        script.backOutOfTheRest();
        form->cmdSave_Click();
        if (!form->isUnloaded())
            form->unload();
        delete form;
        return script.shown().empty() ? QString() : script.shown().back().text;
    }

    TempDatabase temp;
    testsupport::FixedMetricsScope metrics;
};

// Report Options takes each layout's largest starts, which print its first line wholly on the
// first page; one twip further across or down is refused, and told before anything prints
// when it is stored.
TEST_F(ReportStartsTest, TheLargestStartsPrintTheFirstLineOnThePaperAndOneTwipMoreIsRefused)
{
    for (const Layout &layout : Layouts) {
        SCOPED_TRACE(layout.report);
        const QString report = QLatin1String(layout.report);
        const bool across = layout.largestX >= 0;
        for (const bool down : {true, false}) {
            if (!down && !across)
                continue;
            const char *which = down ? "vertical" : "horizontal";
            SCOPED_TRACE(which);
            const int largest = down ? layout.largestY : layout.largestX;
            const int x = across ? layout.largestX + !down : 0, y = layout.largestY + down;
            const std::string starting = std::string("The starting ") + which + " print position ";
            EXPECT_EQ(saveInReportOptions(layout, x, y).toStdString(),
                      starting + "must be a whole number of twips from -1440 to " + std::to_string(largest) +
                          ".");
            gDb->execute(QStringLiteral("Insert Into tblSettings (Type, Name, Setting1, Setting2, Setting3, Setting4) "
                                        "Values ('REPORT', '%1', '%2', '%3', 'Arial', '%4')")
                             .arg(report)
                             .arg(x)
                             .arg(y)
                             .arg(QLatin1String(layout.size)));
            const auto [told, page] = print(report);
            EXPECT_EQ(told.join(u'|').toStdString(),
                      starting + "stored for \"" + layout.report + "\" is " + std::to_string(largest + 1) +
                          ", which does not print on the paper (-1440 to " + std::to_string(largest) +
                          ").  Correct it under Options, Report Options.");
            EXPECT_TRUE(page.empty()) << "drawn before it was told";
            gDb->execute(QStringLiteral("Delete From tblSettings Where Type='REPORT' And Name='%1'").arg(report));
        }

        ASSERT_EQ(saveInReportOptions(layout, across ? layout.largestX : 0, layout.largestY).toStdString(), "");
        const auto [told, page] = print(report);
        EXPECT_TRUE(told.isEmpty()) << told.join(u'|').toStdString();
        const auto first = std::find_if(page.begin(), page.end(), [&](const platform::PrintRun &run) {
            return run.text.trimmed().startsWith(QLatin1String(layout.first));
        });
        ASSERT_NE(first, page.end()) << "the first line is not on the first page";
        const QSizeF paper = PreviewSurface().document().pageSize();
        EXPECT_GE(std::min(first->x, first->y), 0);
        EXPECT_LE(first->x + platform::textMetrics().width(first->font, first->text), paper.width());
        EXPECT_LE(first->y + platform::textMetrics().lineHeight(first->font), paper.height());
    }
}

} // namespace
