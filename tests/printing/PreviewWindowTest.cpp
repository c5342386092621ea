#include "printing/PrintModeSwitch.h"
#include "printing/ReportRun.h"
#include "printing/frmPreview.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"

#include "platform/print/PreviewWidget.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSupport.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::PrintSurface;

QPushButton *buttonOf(frmPreview &form, const char *name)
{
    return form.findChild<QPushButton *>(QString::fromLatin1(name));
}

void click(frmPreview &form, const char *name)
{
    QPushButton *b = buttonOf(form, name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

class PreviewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        UnloadPreview();
        platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
        platform::PrintOutput::forgetChosenPrinterForTesting();
    }
    void TearDown() override
    {
        UnloadPreview();
        platform::setPrintSupportFoldersForTesting({});
        platform::PrintOutput::setPrinterLookupForTesting(nullptr);
        platform::PrintOutput::forgetChosenPrinterForTesting();
    }

    // A finished document of the given pages, shown as a report shows it.
    frmPreview &preview(int pages, const QString &name = QStringLiteral("Phone List"))
    {
        PrintSurface &vp = PreviewSurface();
        vp.setPreview(true);
        vp.setDocName(name);
        vp.setAction(PrintSurface::StartDoc);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                vp.setAction(PrintSurface::NewPage);
            vp.setCurrentX(1440);
            vp.setCurrentY(720);
            vp.printLine(QStringLiteral("Page %1").arg(page));
        }
        frmPreview &form = frmPreview::instance();
        form.showModeless();
        vp.setAction(PrintSurface::EndDoc);
        return form;
    }
};

TEST_F(PreviewWindowTest, WindowCarriesItsControlsAndIsMadeOnce)
{
    frmPreview &form = frmPreview::instance();
    EXPECT_EQ(form.objectName(), "frmPreview");
    EXPECT_EQ(form.windowTitle(), "Print Preview");
    EXPECT_NE(form.findChild<platform::PreviewWidget *>("vp"), nullptr);
    const std::vector<std::pair<const char *, const char *>> captions{{"cmdPrevious", "P&revious Page"},
                                                                      {"cmdNext", "&Next Page"},
                                                                      {"cmdZoomIn", "Zoom &In"},
                                                                      {"cmdZoomOut", "Zoom &Out"},
                                                                      {"cmdPrint", "&Print"},
                                                                      {"cmdHelp", "&Help"},
                                                                      {"cmdClose", "&Close"},
                                                                      {"cmdThumbnail", "Thumbnail"},
                                                                      {"cmdTwoPages", "Two Pages"},
                                                                      {"cmdPageWidth", "Page Width"},
                                                                      {"cmdWholePage", "Whole Page"}};
    for (const auto &[name, caption] : captions) {
        QPushButton *b = buttonOf(form, name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->text(), caption);
    }
    EXPECT_EQ(&frmPreview::instance(), &form);
    EXPECT_EQ(&PreviewSurface(), &form.surface());
    // The surface of a new window starts in print mode.
    EXPECT_FALSE(form.surface().preview());
}

TEST_F(PreviewWindowTest, ZoomInStopsAtTheLargestZoomAndDisablesItself)
{
    frmPreview &form = preview(1);
    PrintSurface &vp = form.surface();
    const int max = static_cast<int>(vp.zoomMax());
    vp.setZoom(max - 10);
    EXPECT_TRUE(form.cmdZoomIn->isEnabled());
    click(form, "cmdZoomIn");
    EXPECT_EQ(vp.zoom(), max);
    EXPECT_FALSE(form.cmdZoomIn->isEnabled());
    EXPECT_TRUE(form.cmdZoomOut->isEnabled());
    form.cmdZoomIn_Click();
    EXPECT_EQ(vp.zoom(), max);

    vp.setZoom(100);
    click(form, "cmdZoomIn");
    EXPECT_EQ(vp.zoom(), 125);
    EXPECT_TRUE(form.cmdZoomIn->isEnabled());
}

TEST_F(PreviewWindowTest, ZoomOutStepsDownAndStopsAtTheSmallestZoom)
{
    frmPreview &form = preview(1);
    PrintSurface &vp = form.surface();
    const int min = static_cast<int>(vp.zoomMin());
    vp.setZoom(100);
    click(form, "cmdZoomOut");
    EXPECT_EQ(vp.zoom(), 75);
    vp.setZoom(25);
    click(form, "cmdZoomOut");
    EXPECT_EQ(vp.zoom(), min);
    EXPECT_FALSE(form.cmdZoomOut->isEnabled());
    // 26 less a step is 1, below the smallest zoom: the surface holds its limit.
    vp.setZoom(26);
    EXPECT_TRUE(form.cmdZoomOut->isEnabled());
    form.cmdZoomOut_Click();
    EXPECT_EQ(vp.zoom(), min);
    EXPECT_FALSE(form.cmdZoomOut->isEnabled());
    EXPECT_TRUE(form.cmdZoomIn->isEnabled());
}

TEST_F(PreviewWindowTest, ModeButtonsChooseTheFourZoomModes)
{
    frmPreview &form = preview(3);
    PrintSurface &vp = form.surface();
    const std::vector<std::pair<const char *, int>> modes{{"cmdThumbnail", PrintSurface::ZoomThumbnail},
                                                          {"cmdTwoPages", PrintSurface::ZoomTwoPages},
                                                          {"cmdWholePage", PrintSurface::ZoomWholePage},
                                                          {"cmdPageWidth", PrintSurface::ZoomPageWidth}};
    for (const auto &[name, mode] : modes) {
        click(form, name);
        EXPECT_EQ(vp.zoomMode(), mode) << name;
    }
    // A zoom button leaves the mode for a plain percentage again.
    const double fitted = vp.zoom();
    click(form, "cmdZoomOut");
    EXPECT_EQ(vp.zoomMode(), PrintSurface::ZoomPercentage);
    EXPECT_LT(vp.zoom(), fitted);
}

TEST_F(PreviewWindowTest, PagesMoveByButtonsAndPageKeysWithinTheDocument)
{
    frmPreview &form = preview(3);
    PrintSurface &vp = form.surface();
    auto *counter = form.vp->findChild<QLabel *>("pageCounter");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(vp.previewPage(), 1);
    EXPECT_EQ(counter->text(), "1/3");
    click(form, "cmdNext");
    EXPECT_EQ(vp.previewPage(), 2);
    EXPECT_EQ(counter->text(), "2/3");
    QTest::keyClick(form.cmdClose, Qt::Key_PageDown);
    EXPECT_EQ(vp.previewPage(), 3);
    QTest::keyClick(form.cmdClose, Qt::Key_PageDown);
    EXPECT_EQ(vp.previewPage(), 3);
    EXPECT_EQ(counter->text(), "3/3");
    QTest::keyClick(form.cmdClose, Qt::Key_PageUp);
    EXPECT_EQ(vp.previewPage(), 2);
    click(form, "cmdPrevious");
    click(form, "cmdPrevious");
    EXPECT_EQ(vp.previewPage(), 1);
    // Other keys do nothing.
    QTest::keyClick(form.cmdClose, Qt::Key_Down);
    EXPECT_EQ(vp.previewPage(), 1);
}

TEST_F(PreviewWindowTest, PrintIsHiddenOnlyForTheFirstSideOfThePocketBook)
{
    frmPreview &form = preview(1, QStringLiteral("Pocket Report - side 1"));
    EXPECT_FALSE(form.cmdPrint->isVisible());
    preview(1, QStringLiteral("Pocket Report - side 2"));
    EXPECT_TRUE(form.cmdPrint->isVisible());
    form.cmdClose_Click();
    preview(1, QStringLiteral("Pocket Report - side 1"));
    EXPECT_FALSE(form.cmdPrint->isVisible());
    form.cmdClose_Click();
    preview(1, QStringLiteral("Condensed List"));
    EXPECT_TRUE(form.cmdPrint->isVisible());
}

TEST_F(PreviewWindowTest, CloseHidesLeavesPortraitAndKeepsTheDocument)
{
    PrintSurface &vp = PreviewSurface();
    vp.setOrientation(1);
    frmPreview &form = preview(2, QStringLiteral("5-1/2 x 8-1/2 Address Book"));
    ASSERT_EQ(form.surface().document().orientation, 1);
    click(form, "cmdClose");
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isUnloaded());
    EXPECT_EQ(vp.orientation(), 0);
    // The document keeps the orientation it was drawn in, and the flag stays.
    EXPECT_EQ(vp.document().orientation, 1);
    EXPECT_EQ(vp.pageCount(), 2);
    EXPECT_TRUE(vp.preview());
    EXPECT_EQ(&frmPreview::instance(), &form);
}

TEST_F(PreviewWindowTest, TitleBarCloseHidesLikeClose)
{
    PreviewSurface().setOrientation(1);
    frmPreview &form = preview(2);
    form.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isUnloaded());
    EXPECT_EQ(frmPreview::existing(), &form);
    EXPECT_EQ(form.surface().orientation(), 0);
    EXPECT_TRUE(form.surface().preview());
    EXPECT_EQ(form.surface().pageCount(), 2);
    // Unloaded by code (printer setup, program end) it goes.
    EXPECT_TRUE(form.unload());
    EXPECT_EQ(frmPreview::existing(), nullptr);
}

TEST_F(PreviewWindowTest, ResizeStretchesThePagesAndMovesTheButtons)
{
    frmPreview &form = preview(1);
    using namespace platform;
    setClientSizeTwips(&form, 12000, 9000);
    QCoreApplication::processEvents();
    const int left = static_cast<int>(pixelsToTwipsX(form.vp->x()));
    const int top = static_cast<int>(pixelsToTwipsY(form.vp->y()));
    // One pixel is 15 twips at 96 dpi: compare within a pixel.
    EXPECT_NEAR(pixelsToTwipsX(form.vp->width()), 12000 - 2 * left - 2000, 15);
    EXPECT_NEAR(pixelsToTwipsY(form.vp->height()), 9000 - top - left, 15);
    const double buttonsLeft = left + pixelsToTwipsX(form.vp->width()) + 500;
    for (QPushButton *b : {form.cmdNext, form.cmdPrevious, form.cmdPrint, form.cmdZoomIn, form.cmdZoomOut,
                           form.cmdHelp, form.cmdClose})
        EXPECT_NEAR(pixelsToTwipsX(b->x()), buttonsLeft, 15) << b->objectName().toStdString();
    EXPECT_NEAR(pixelsToTwipsY(form.cmdPrevious->y()), 315, 15);
    const double modesTop = top + pixelsToTwipsY(form.vp->height()) - 250;
    for (QPushButton *b : {form.cmdThumbnail, form.cmdTwoPages, form.cmdPageWidth, form.cmdWholePage})
        EXPECT_NEAR(pixelsToTwipsY(b->y()), modesTop, 15) << b->objectName().toStdString();
    EXPECT_NEAR(pixelsToTwipsX(form.cmdTwoPages->x()), 3735, 15);

    // 2500 twips or narrower: the pages keep their size, the buttons still follow.
    const QSize pages = form.vp->size();
    setClientSizeTwips(&form, 2400, 7000);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.vp->size(), pages);
    EXPECT_NEAR(pixelsToTwipsX(form.cmdClose->x()), buttonsLeft, 15);
}

TEST_F(PreviewWindowTest, TooLowAWindowKeepsThePagesAndStillMovesTheButtons)
{
    frmPreview &form = preview(1);
    using namespace platform;
    setClientSizeTwips(&form, 9636, 6948);
    QCoreApplication::processEvents();
    const QSize pages = form.vp->size();
    setClientSizeTwips(&form, 8000, 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.vp->size(), pages);
    const double buttonsLeft = pixelsToTwipsX(form.vp->x() + form.vp->width()) + 500;
    EXPECT_NEAR(pixelsToTwipsX(form.cmdNext->x()), buttonsLeft, 15);
}

TEST_F(PreviewWindowTest, PrintWithoutAPrinterOffersAPdfFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    frmPreview &form = preview(2, QStringLiteral("Condensed List"));
    {
        DialogScript script;
        script.answerPrint().answerSaveFile(path);
        click(form, "cmdPrint");
        ASSERT_EQ(script.shown().size(), 2u);
        const platform::DialogRequest &asked = script.shown()[1];
        EXPECT_EQ(asked.kind, platform::DialogKind::SaveFile);
        EXPECT_EQ(asked.fileName, "Condensed List.pdf");
        EXPECT_EQ(asked.filter, "PDF Files (*.pdf)|*.pdf");
    }
    EXPECT_TRUE(QFileInfo::exists(path));

    // The ".pdf" added after the dialog names a file the dialog never asked about: it is asked
    // about then, No goes back to the dialog, and only the file asked about is replaced.
    const QStringList files{dir.filePath("notes.mdb"), dir.filePath("notes.mdb.pdf"), dir.filePath("list.v2.pdf")};
    for (const QString &file : files)
        writeFileBytes(file, "earlier");
    {
        DialogScript script;
        script.answerPrint().answerSaveFile(files[0]).answerMessage(platform::vbNo);
        script.answerSaveFile(dir.filePath("list.v2")).answerMessage(platform::vbYes);
        click(form, "cmdPrint");
        EXPECT_EQ(script.shown()[2].text, "notes.mdb.pdf already exists.\r\nDo you want to replace it?");
        EXPECT_EQ(script.shown()[3].fileName, files[1]) << "asked again";
    }
    EXPECT_EQ(readFileBytes(files[0]) + readFileBytes(files[1]), "earlierearlier");
    EXPECT_EQ(pdfPageCount(readFileBytes(files[2])), 2);

    // Cancel prints nothing.
    const QString other = dir.filePath(QStringLiteral("other.pdf"));
    {
        DialogScript script;
        script.answerPrint().cancelFile();
        click(form, "cmdPrint");
    }
    EXPECT_FALSE(QFileInfo::exists(other));
}

TEST_F(PreviewWindowTest, PrintOffersThePagesAndPrintsOnlyThoseChosen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two.pdf"));
    frmPreview &form = preview(5);
    DialogScript script;
    script.answerPrint(2, 3).answerSaveFile(path);
    click(form, "cmdPrint");
    const auto asked = script.shown(platform::DialogKind::Print);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].maxPage, 5);
    EXPECT_EQ(pdfPageCount(readFileBytes(path)), 2);
}

TEST_F(PreviewWindowTest, ThePrinterAndPaperChosenInSetupReachThePrintedReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chosen.pdf"));
    {
        // The user picks the file printer and A4 paper.
        DialogScript script;
        script.answerPrinterSetup(true, [&](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(path);
            printer->setPageSize(QPageSize(QPageSize::A4));
        });
        platform::CommonDialog dialog;
        dialog.dlgFlags = platform::CommonDialog::cdlPDPrintSetup;
        ASSERT_TRUE(dialog.dlgShowPrinter());
    }
    UnloadPreview();
    PrintSurface &vp = PreviewSurface();
    EXPECT_NEAR(vp.paperSize().width(), 11906, 1) << "reports are laid out on the chosen paper";
    vp.setPreview(false);
    vp.setDocName(QStringLiteral("Phone List"));
    // The file printer asks where each document goes, in the folder chosen.
    const QString listPath = dir.filePath(QStringLiteral("Phone List.pdf"));
    {
        DialogScript script;
        script.answerSaveFile(listPath);
        vp.setAction(PrintSurface::StartDoc);
        const auto asked = script.shown(platform::DialogKind::SaveFile);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(QDir(asked[0].initialDir), QDir(dir.path()));
        EXPECT_EQ(asked[0].fileName, "Phone List.pdf");
    }
    vp.printLine(QStringLiteral("Ann Lee"));
    vp.setAction(PrintSurface::EndDoc);
    const QByteArray pdf = readFileBytes(listPath);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595")) << "printed on A4";
}

// While the pages go into the file the progress window counts them; Cancel there leaves
// the file the user chose to replace as it was, and says nothing more.
TEST_F(PreviewWindowTest, WritingAFileShowsThePagesWrittenAndStopsOnCancel)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    writeFileBytes(path, "an earlier file");
    frmPreview &form = preview(3);
    std::vector<platform::ProgressWindow::Step> steps;
    platform::ProgressWindow::setHookForTesting([&](const platform::ProgressWindow::Step &step) {
        steps.push_back(step);
        return step.done == 2;
    });
    {
        DialogScript script;
        script.answerPrint().answerSaveFile(path);
        click(form, "cmdPrint");
        EXPECT_TRUE(script.shown(platform::DialogKind::Message).empty());
    }
    platform::ProgressWindow::setHookForTesting({});
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].title, "Phone List");
    EXPECT_EQ(steps[1].text, "2 of 3 pages written to \"list.pdf\"");
    EXPECT_EQ(readFileBytes(path), "an earlier file");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A document printed into a file after another asks where again, in the same folder, and
// proposes a name that replaces no file there; the first file stays as it was.
TEST_F(PreviewWindowTest, EachPrintIntoAFileAsksAndKeepsTheFilesBefore)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("Phone List.pdf"));
    frmPreview &form = preview(2);
    {
        // The file printer, with the file the user names in the print dialog.
        DialogScript script;
        script.answerPrint(0, 0, [&](QPrinter *printer) { printer->setOutputFileName(first); });
        click(form, "cmdPrint");
    }
    const QByteArray printed = readFileBytes(first);
    ASSERT_EQ(pdfPageCount(printed), 2);

    PrintSurface &vp = PreviewSurface();
    vp.setPreview(false);
    const struct {
        QString document;
        QString proposed;
    } prints[] = {{QStringLiteral("Date Report"), QStringLiteral("Date Report.pdf")},
                  {QStringLiteral("Phone List"), QStringLiteral("Phone List (2).pdf")}};
    for (const auto &print : prints) {
        DialogScript script;
        script.answerSaveFile(dir.filePath(print.proposed));
        vp.setDocName(print.document);
        vp.setAction(PrintSurface::StartDoc);
        vp.printLine(print.document);
        vp.setAction(PrintSurface::EndDoc);
        const auto asked = script.shown(platform::DialogKind::SaveFile);
        ASSERT_EQ(asked.size(), 1u) << print.document.toStdString();
        EXPECT_EQ(QDir(asked[0].initialDir), QDir(dir.path()));
        EXPECT_EQ(asked[0].fileName, print.proposed);
        EXPECT_EQ(pdfPageCount(readFileBytes(dir.filePath(print.proposed))), 1);
    }
    EXPECT_EQ(readFileBytes(first), printed);
}

TEST_F(PreviewWindowTest, PrintFailureIsShownNotSwallowed)
{
    QTemporaryDir dir;
    frmPreview &form = preview(1);
    DialogScript script;
    script.answerPrint()
        .answerSaveFile(dir.filePath(QStringLiteral("missing/folder/x.pdf")))
        .answerMessage(platform::vbOK);
    click(form, "cmdPrint");
    const auto messages = script.shown(platform::DialogKind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("could not be written")) << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].buttons, platform::vbOKOnly);
}

// Without the printing library a report still shows, laid out on Letter; printing it tells
// the user why nothing is printed, and prints once the library is back.
TEST_F(PreviewWindowTest, WithoutThePrintingLibraryAReportShowsAndPrintingSaysWhy)
{
    QTemporaryDir empty;
    platform::setPrintSupportFoldersForTesting({empty.path()});
    frmPreview &form = preview(2);
    EXPECT_FALSE(platform::printSupportLoaded());
    EXPECT_EQ(PreviewSurface().paperSize(),
              QSizeF(platform::PrintDocument::LetterWidth, platform::PrintDocument::LetterHeight));
    {
        DialogScript script;
        script.answerMessage(platform::vbOK);
        click(form, "cmdPrint");
        const auto messages = script.shown(platform::DialogKind::Message);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].text.startsWith("Printing is not available")) << messages[0].text.toStdString();
        EXPECT_TRUE(script.shown(platform::DialogKind::Print).empty());
    }

    platform::setPrintSupportFoldersForTesting({});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    DialogScript script;
    script.answerPrint().answerSaveFile(path);
    click(form, "cmdPrint");
    EXPECT_TRUE(platform::printSupportLoaded());
    EXPECT_EQ(pdfPageCount(readFileBytes(path)), 2);
}

TEST_F(PreviewWindowTest, PrintWaitsWhileAReportRuns)
{
    frmPreview &form = preview(1);
    {
        ReportRun run;
        ASSERT_TRUE(run.started());
        EXPECT_FALSE(form.cmdPrint->isEnabled());
        // Even called directly it prints nothing: no save dialog is asked for.
        DialogScript script;
        form.cmdPrint_Click();
        EXPECT_TRUE(script.shown().empty());
    }
    EXPECT_TRUE(form.cmdPrint->isEnabled());
}

TEST_F(PreviewWindowTest, SwitchChecksItsEntryAndSetsThePreviewFlag)
{
    QAction previewMode(QStringLiteral("Preview Reports"));
    QAction printMode(QStringLiteral("Print Reports"));
    previewMode.setCheckable(true);
    printMode.setCheckable(true);
    printMode.setChecked(true);

    PreviewMode_Click(&previewMode, &printMode);
    EXPECT_TRUE(previewMode.isChecked());
    EXPECT_FALSE(printMode.isChecked());
    EXPECT_TRUE(PreviewSurface().preview());
    PreviewMode_Click(&previewMode, &printMode);
    EXPECT_TRUE(previewMode.isChecked());
    EXPECT_TRUE(PreviewSurface().preview());

    PrintMode_Click(&previewMode, &printMode);
    EXPECT_FALSE(previewMode.isChecked());
    EXPECT_TRUE(printMode.isChecked());
    EXPECT_FALSE(PreviewSurface().preview());
    QCoreApplication::processEvents();
}

TEST_F(PreviewWindowTest, PrinterSetupRemakesTheSurfaceAndKeepsTheSwitch)
{
    QAction previewMode(QStringLiteral("Preview Reports"));
    previewMode.setCheckable(true);
    previewMode.setChecked(true);
    PreviewSurface().setPreview(true);
    PrintSurface *before = &PreviewSurface();
    UnloadPreview();
    RestorePreviewMode(&previewMode);
    EXPECT_TRUE(PreviewSurface().preview());
    EXPECT_NE(&PreviewSurface(), before);

    previewMode.setChecked(false);
    UnloadPreview();
    RestorePreviewMode(&previewMode);
    EXPECT_FALSE(PreviewSurface().preview());
}

TEST_F(PreviewWindowTest, ProgramEndLeavesPortraitAndUnloads)
{
    frmPreview &form = frmPreview::instance();
    form.surface().setOrientation(1);
    ClosePreviewAtExit();
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_EQ(frmPreview::existing(), nullptr);
    // Without a window nothing is made just to close it.
    ClosePreviewAtExit();
    EXPECT_EQ(frmPreview::existing(), nullptr);
}

} // namespace

namespace {

TEST_F(PreviewWindowTest, HelpShowsThePreviewPageOfTheHelpWindowModally)
{
    frmPreview &form = preview(1);
    QString heading;
    QString body;
    DialogScript script;
    script.onModal(QStringLiteral("frmHelp"), [&](QWidget *help) {
        heading = help->findChild<QLabel *>("lblHeading1")->text();
        body = help->findChild<QLabel *>("lblBody1")->text();
        DialogScript::click(help, QStringLiteral("OKButton"));
    });
    click(form, "cmdHelp");
    EXPECT_EQ(heading, "Print Preview");
    EXPECT_EQ(body, frmPreview::helpText());
    EXPECT_TRUE(
        body.startsWith("You can view any page of this report prior to printing, and print any page"));
    EXPECT_TRUE(body.contains("Page Down keys on your keyboard.\r\n\r\nExpand the screen to full-size"));
    EXPECT_TRUE(body.contains("to zoom out.  \r\n\r\nThe buttons at the bottom"));
    EXPECT_TRUE(body.contains("if it says 2/10 this means you are currently viewing page 2 of"));
    EXPECT_TRUE(body.endsWith("page 2 of a 10-page report."));
    ASSERT_EQ(script.shown(platform::DialogKind::ModalForm).size(), 1u);
}

// Escape closes the help window as its OK does, then the preview as its Close does (kept,
// only hidden), from the page area that holds the focus.
TEST_F(PreviewWindowTest, EscapeClosesHelpThenThePreview)
{
    PreviewSurface().setOrientation(1);
    frmPreview &form = preview(2);
    DialogScript script;
    bool helpClosed = false;
    script.onModal(QStringLiteral("frmHelp"), [&](QWidget *help) {
        QTest::keyClick(help->focusWidget(), Qt::Key_Escape);
        helpClosed = !help->isVisible();
    });
    click(form, "cmdHelp");
    EXPECT_TRUE(helpClosed);
    ASSERT_TRUE(form.isVisible());
    form.vp->setFocus();
    QTest::keyClick(form.vp, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isUnloaded());
    EXPECT_EQ(form.surface().orientation(), 0);
    EXPECT_EQ(form.surface().pageCount(), 2);
}

TEST_F(PreviewWindowTest, OpensWithItsWholeFrameOnTheScreen)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    frmPreview &form = frmPreview::instance();
    // Left below the screen's bottom edge by an earlier session.
    form.move(available.left() + 20, available.bottom() - 50);
    form.showModeless();
    EXPECT_TRUE(available.contains(form.frameGeometry()));
    // Its designed size, which fits this screen.
    EXPECT_EQ(form.width(), platform::twipsToPixelsX(9636));
    EXPECT_EQ(form.height(), platform::twipsToPixelsY(6948));
}

} // namespace

// The page area is a stop of the Tab key: it shows a frame while it has the focus.
TEST_F(PreviewWindowTest, ThePageAreaShowsTheFocus)
{
    DialogScript script;
    frmPreview &form = frmPreview::instance();
    form.showModeless();
    QApplication::setActiveWindow(&form);
    auto *pages = form.findChild<platform::PreviewWidget *>("vp")->findChild<QScrollArea *>();
    ASSERT_NE(pages, nullptr);
    const QRect area = QRect(pages->mapTo(&form, QPoint()), pages->size()).adjusted(-3, -3, 3, 3);
    buttonOf(form, "cmdClose")->setFocus();
    const QImage unfocused = form.grab(area).toImage();
    pages->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(form.focusWidget(), pages);
    EXPECT_NE(form.grab(area).toImage(), unfocused);
}
