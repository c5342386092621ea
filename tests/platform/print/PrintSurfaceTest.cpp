#include "platform/print/PrintSurface.h"
#include "platform/RuntimeError.h"
#include "platform/base/TextDirection.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/TextMetrics.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"

#include <QDir>
#include <QPrinterInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::PrintSurface;
using testsupport::pageLines;
using testsupport::textAt;

// Fixed metrics (10 pt: 100 twips a character, 200 a line), no printer, and every
// document that goes to the printer saved as a PDF in a temporary folder.
class PrintSurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
        platform::PrintOutput::setPdfPathChooser([this](const QString &name) {
            chosenFor << name;
            return pdfPath;
        });
        pdfPath = dir.filePath(QStringLiteral("out.pdf"));
    }
    void TearDown() override
    {
        platform::PrintOutput::setPrinterLookupForTesting({});
        platform::PrintOutput::setPdfPathChooser({});
    }

    void start(const QString &name = QStringLiteral("Phone List"))
    {
        vp.setDocName(name);
        vp.setAction(PrintSurface::StartDoc);
    }

    testsupport::FixedMetricsScope metrics;
    QTemporaryDir dir;
    QString pdfPath;
    QStringList chosenFor;
    PrintSurface vp;
};

TEST_F(PrintSurfaceTest, PrintLineEndsTheLineAndReturnsToTheLeftMargin)
{
    start();
    vp.setCurrentX(10080);
    vp.setCurrentY(720);
    vp.printLine(QStringLiteral("1/2/2020"));
    EXPECT_EQ(vp.currentX(), PrintSurface::DefaultMarginLeft);
    EXPECT_EQ(vp.currentY(), 920);
    vp.setCurrentX(1080);
    vp.setFontBold(true);
    vp.printLine(QStringLiteral("Lee, Ann"));
    vp.setFontBold(false);
    vp.setCurrentX(1440);
    vp.printLine(QStringLiteral("555-0100"));
    EXPECT_EQ(pageLines(vp.document(), 1),
              (std::vector<std::string>{"(10080,720) 1/2/2020", "(1080,920) [b] Lee, Ann",
                                        "(1440,1120) 555-0100"}));
}

TEST_F(PrintSurfaceTest, PrintNoLineEndStaysOnTheLineJustAfterTheText)
{
    start();
    vp.setCurrentX(720);
    vp.setCurrentY(1000);
    vp.setFontBold(true);
    vp.setFontStyle7(true);
    vp.printNoLineEnd(QStringLiteral("Lee"));
    EXPECT_EQ(vp.currentX(), 1020);
    EXPECT_EQ(vp.currentY(), 1000);
    vp.setFontBold(false);
    vp.setFontStyle7(false);
    vp.setCurrentX(vp.currentX() + 100);
    vp.printNoLineEnd(QStringLiteral("Home: "));
    vp.printLine(QStringLiteral("555-0100"));
    EXPECT_EQ(pageLines(vp.document(), 1), (std::vector<std::string>{
                                               "(720,1000) [b] [i] Lee",
                                               "(1120,1000) Home: ",
                                               "(1720,1000) 555-0100",
                                           }));
    EXPECT_EQ(vp.currentY(), 1200);
}

TEST_F(PrintSurfaceTest, BlankLinesMoveDownWithoutLeavingRuns)
{
    start();
    vp.setCurrentY(720);
    vp.printLine(QStringLiteral(" "));
    vp.printLine(QString());
    vp.setFontSize(8);
    vp.printLine(QStringLiteral("  "));
    EXPECT_EQ(vp.currentY(), 720 + 200 + 200 + 160);
    EXPECT_TRUE(vp.document().pages.front().empty());
}

TEST_F(PrintSurfaceTest, FontChangesAreRecordedPerRun)
{
    start();
    vp.setCurrentY(720);
    vp.setFontName(QStringLiteral("Times New Roman"));
    vp.setFontSize(12);
    vp.printLine(QStringLiteral("Heading"));
    vp.setFontName(QStringLiteral("Arial"));
    vp.setFontSize(8);
    vp.printLine(QStringLiteral("small"));
    EXPECT_EQ(pageLines(vp.document(), 1), (std::vector<std::string>{"(1440,720) Times New Roman 12 Heading",
                                                                     "(1440,960) Arial 8 small"}));
    EXPECT_EQ(vp.fontName(), QStringLiteral("Arial"));
    EXPECT_EQ(vp.fontSize(), 8.0);
    const platform::PrintRun *heading = testsupport::findRun(vp.document(), 1, QStringLiteral("Heading"));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->font.size, 12.0);
    EXPECT_EQ(testsupport::findRun(vp.document(), 1, QStringLiteral("Head")), nullptr);
}

TEST_F(PrintSurfaceTest, SizeBelowOnePointIsTakenAsOnePoint)
{
    vp.setFontSize(0);
    EXPECT_EQ(vp.fontSize(), 1.0);
    vp.setMeasureText(QStringLiteral("x"));
    EXPECT_EQ(vp.measuredHeight(), 20.0);
}

TEST_F(PrintSurfaceTest, LineEndsInsideATextPrintSeparateLines)
{
    start();
    vp.setCurrentX(2000);
    vp.setCurrentY(720);
    vp.printLine(QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(pageLines(vp.document(), 1), (std::vector<std::string>{"(2000,720) one", "(1440,920) two"}));
}

TEST_F(PrintSurfaceTest, NewPageByActionOrCallStartsAtTheTopLeftMargins)
{
    start();
    vp.setCurrentY(720);
    vp.printLine(QStringLiteral("page one"));
    vp.setAction(PrintSurface::NewPage);
    EXPECT_EQ(vp.currentY(), PrintSurface::DefaultMarginTop);
    vp.setCurrentY(720);
    vp.printLine(QStringLiteral("page two"));
    vp.newPage();
    vp.setCurrentX(3000);
    vp.setCurrentY(5000);
    vp.printLine(QStringLiteral("page three"));
    ASSERT_EQ(vp.pageCount(), 3);
    EXPECT_EQ(textAt(vp.document(), 2, 1440, 720), QStringLiteral("page two"));
    EXPECT_EQ(textAt(vp.document(), 3, 3000, 5000), QStringLiteral("page three"));
    EXPECT_EQ(textAt(vp.document(), 1, 1440, 720), QStringLiteral("page one"));
}

TEST_F(PrintSurfaceTest, TextPastTheBottomFlowsOntoANewPage)
{
    start();
    // 15840 high, bottom margin 720: a 200-twip line from 14920 would end at 15120.
    vp.setCurrentY(14920);
    vp.printLine(QStringLiteral("last"));
    EXPECT_EQ(vp.pageCount(), 1);
    vp.printLine(QStringLiteral("flows"));
    ASSERT_EQ(vp.pageCount(), 2);
    EXPECT_EQ(textAt(vp.document(), 2, 1440, 720), QStringLiteral("flows"));
    EXPECT_EQ(vp.currentY(), 920);
}

TEST_F(PrintSurfaceTest, ALineCarriedOntoANewPageKeepsItsColumn)
{
    vp.setOrientation(1);
    start(QStringLiteral("5-1/2 x 8-1/2 Address Book"));
    vp.setCurrentY(11400);
    vp.setCurrentX(9360);
    vp.printLine(QStringLiteral("right half"));
    ASSERT_EQ(vp.pageCount(), 2);
    EXPECT_EQ(textAt(vp.document(), 2, 9360, 720), QStringLiteral("right half"));
}

TEST_F(PrintSurfaceTest, MarginsSetToZeroLetALineFillThePage)
{
    start();
    vp.setMargin50(0);
    vp.setMargin51(0);
    vp.setMargin52(0);
    vp.setCurrentY(15640);
    vp.printLine(QStringLiteral("bottom"));
    vp.printLine(QStringLiteral("next"));
    EXPECT_EQ(textAt(vp.document(), 1, 1440, 15640), QStringLiteral("bottom"));
    EXPECT_EQ(textAt(vp.document(), 2, 0, 0), QStringLiteral("next"));
}

// A line running past the paper's edge keeps its start as read, in either direction, and
// ends with "…" at the edge; one that ends at the edge prints whole.
TEST_F(PrintSurfaceTest, ALineCutAtThePapersEdgeKeepsItsStartAsRead)
{
    const QString hebrew = QString::fromUtf8("עולה ").repeated(40), cut(QChar{platform::CutMark});
    for (const auto &[text, kept] : {std::pair{QString(108, u'W'), QString(108, u'W')},
                                     std::pair{QString(109, u'W'), QString(107, u'W') + cut},
                                     std::pair{platform::isolatedField(hebrew), hebrew.left(107) + cut}}) {
        start();
        vp.printLine(text);
        QString run = testsupport::runsOnPage(vp.document(), 1).at(0).text;
        run.remove(QChar(platform::RightToLeftIsolate)).remove(QChar(platform::PopDirectionalIsolate));
        EXPECT_EQ(run.toStdString(), kept.toStdString());
    }
}

TEST_F(PrintSurfaceTest, OrientationIsTakenByTheNextDocumentOnly)
{
    vp.setOrientation(1);
    EXPECT_EQ(vp.orientation(), 1);
    start(QStringLiteral("5-1/2 x 8-1/2 Address Book"));
    vp.setCurrentY(12000);
    vp.printLine(QStringLiteral("near the bottom of a landscape page"));
    vp.setAction(PrintSurface::EndDoc);
    // Closing the preview sets portrait; the held document stays landscape.
    vp.setOrientation(0);
    EXPECT_EQ(vp.document().orientation, 1);
    EXPECT_EQ(vp.document().pageSize(), QSizeF(15840, 12240));
    EXPECT_EQ(vp.pageCount(), 2);
    vp.setOrientation(7);
    EXPECT_EQ(vp.orientation(), 0);
}

TEST_F(PrintSurfaceTest, PaperSizeIsTakenByTheNextDocument)
{
    vp.setPaperSize(QSizeF(12240, 20160)); // Legal
    vp.setPaperSize(QSizeF(0, 100));
    vp.setOrientation(1);
    start();
    EXPECT_EQ(vp.document().pageSize(), QSizeF(20160, 12240));
}

TEST_F(PrintSurfaceTest, DocumentKeepsItsNameAndFlags)
{
    vp.setDocFlag34(false);
    vp.setDocSetting91(0);
    start(QStringLiteral("Envelope"));
    vp.setDocName(QStringLiteral("Other"));
    EXPECT_EQ(vp.document().name, QStringLiteral("Envelope"));
    EXPECT_FALSE(vp.document().docFlag34);
    EXPECT_EQ(vp.docName(), QStringLiteral("Other"));
}

TEST_F(PrintSurfaceTest, MeasuringPrintsNothing)
{
    start();
    vp.setFontSize(8);
    vp.setMeasureText(QStringLiteral("Friends"));
    EXPECT_EQ(vp.measuredWidth(), 560);
    EXPECT_EQ(vp.measuredHeight(), 160);
    EXPECT_TRUE(vp.document().pages.front().empty());
    EXPECT_EQ(vp.currentY(), PrintSurface::DefaultMarginTop);
}

TEST_F(PrintSurfaceTest, EndingADocumentThatIsNotOpenDoesNothing)
{
    vp.setAction(PrintSurface::EndDoc);
    EXPECT_EQ(vp.pageCount(), 0);
    EXPECT_TRUE(chosenFor.isEmpty());
    start();
    vp.printLine(QStringLiteral("once"));
    vp.setAction(PrintSurface::EndDoc);
    vp.setAction(PrintSurface::EndDoc);
    EXPECT_EQ(chosenFor, QStringList{QStringLiteral("Phone List")});
}

TEST_F(PrintSurfaceTest, StartingADocumentDiscardsAnUnfinishedOne)
{
    vp.setPreview(true);
    start(QStringLiteral("Condensed List"));
    vp.printLine(QStringLiteral("half"));
    vp.newPage();
    vp.setPreviewPage(2);
    start(QStringLiteral("Phone List"));
    EXPECT_EQ(vp.document().name, QStringLiteral("Phone List"));
    EXPECT_EQ(vp.pageCount(), 1);
    EXPECT_TRUE(vp.document().pages.front().empty());
    EXPECT_EQ(vp.previewPage(), 1);
    EXPECT_TRUE(vp.documentOpen());
}

TEST_F(PrintSurfaceTest, NothingIsRecordedOutsideADocument)
{
    vp.printLine(QStringLiteral("stray"));
    vp.newPage();
    EXPECT_EQ(vp.pageCount(), 0);
}

TEST_F(PrintSurfaceTest, InPreviewTheEndedDocumentStaysForThePreview)
{
    vp.setPreview(true);
    start();
    vp.printLine(QStringLiteral("shown"));
    QSignalSpy content(&vp, &PrintSurface::contentChanged);
    vp.setAction(PrintSurface::EndDoc);
    EXPECT_FALSE(vp.documentOpen());
    EXPECT_EQ(content.count(), 1);
    EXPECT_TRUE(chosenFor.isEmpty());
    EXPECT_FALSE(QFile::exists(pdfPath));
    vp.printDoc(true);
    EXPECT_EQ(chosenFor, QStringList{QStringLiteral("Phone List")});
    EXPECT_TRUE(QFile::exists(pdfPath));
}

TEST_F(PrintSurfaceTest, WithoutPreviewTheEndedDocumentGoesToThePrinter)
{
    start();
    vp.printLine(QStringLiteral("printed"));
    vp.setAction(PrintSurface::EndDoc);
    EXPECT_EQ(chosenFor, QStringList{QStringLiteral("Phone List")});
    EXPECT_TRUE(QFile::exists(pdfPath));
}

TEST_F(PrintSurfaceTest, PrinterFailureReachesTheCaller)
{
    // The folder is there when the file is chosen and gone when the document is ended.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("gone")));
    pdfPath = dir.filePath(QStringLiteral("gone/out.pdf"));
    start();
    vp.printLine(QStringLiteral("lost"));
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively());
    try {
        vp.setAction(PrintSurface::EndDoc);
        FAIL() << "no error raised";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), platform::err::PathNotFound);
        EXPECT_TRUE(error.description().contains(QStringLiteral("out.pdf")));
    }
    // The document is ended all the same and stays as drawn.
    EXPECT_FALSE(vp.documentOpen());
    EXPECT_EQ(textAt(vp.document(), 1, 1440, 720), QStringLiteral("lost"));
}

TEST_F(PrintSurfaceTest, ZoomStaysWithinItsLimitsAndSignalsEachChange)
{
    QSignalSpy changed(&vp, &PrintSurface::zoomChanged);
    vp.setZoom(150);
    vp.setZoom(150);
    EXPECT_EQ(changed.count(), 1);
    vp.setZoom(vp.zoomMax() + 25);
    EXPECT_EQ(vp.zoom(), vp.zoomMax());
    vp.setZoom(1);
    EXPECT_EQ(vp.zoom(), vp.zoomMin());
    EXPECT_EQ(changed.count(), 3);
    EXPECT_LT(vp.zoomMin(), 25);
    EXPECT_GT(vp.zoomMax(), 100);
}

TEST_F(PrintSurfaceTest, ZoomModeIsKeptByFittingAndLeftBySettingAZoom)
{
    QSignalSpy modes(&vp, &PrintSurface::zoomModeChanged);
    vp.setZoomMode(PrintSurface::ZoomWholePage);
    vp.fitZoom(42);
    EXPECT_EQ(vp.zoomMode(), PrintSurface::ZoomWholePage);
    EXPECT_EQ(vp.zoom(), 42);
    vp.setZoom(67);
    EXPECT_EQ(vp.zoomMode(), PrintSurface::ZoomPercentage);
    EXPECT_EQ(modes.count(), 2);
    vp.setZoomMode(9);
    EXPECT_EQ(vp.zoomMode(), PrintSurface::ZoomPercentage);
}

TEST_F(PrintSurfaceTest, PreviewPageStaysWithinTheDocument)
{
    vp.setPreview(true);
    start();
    vp.newPage();
    vp.newPage();
    QSignalSpy moved(&vp, &PrintSurface::previewPageChanged);
    vp.setPreviewPage(vp.previewPage() + 1);
    vp.setPreviewPage(vp.previewPage() + 1);
    vp.setPreviewPage(vp.previewPage() + 1);
    EXPECT_EQ(vp.previewPage(), 3);
    vp.setPreviewPage(0);
    EXPECT_EQ(vp.previewPage(), 1);
    EXPECT_EQ(moved.count(), 3);
}

} // namespace
