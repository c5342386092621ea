#include "printing/frmPreview.h"

#include "printing/PdfDestination.h"
#include "printing/ReportRun.h"
#include "printing/ReportRunWatch.h"

#include "helpers/DatabaseState.h"
#include "helpers/frmHelp.h"
#include "platform/RuntimeError.h"
#include "platform/print/PreviewWidget.h"
#include "platform/print/PrintOutput.h"
#include "platform/print/PrintSurface.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <cmath>

namespace {
constexpr int ZoomStep = 25;
// The window's layout as it is resized, in twips: below the narrowest width the pages keep
// their size; right of the pages a column of buttons this wide, set off by a gap; the row
// of view buttons stands this much above the pages' bottom edge.
constexpr int NarrowestPagesWindow = 2500;
constexpr int ButtonColumnWidth = 2000;
constexpr int ButtonColumnGap = 500;
constexpr int ViewButtonsRise = 250;

QPointer<frmPreview> &slot()
{
    static QPointer<frmPreview> form;
    return form;
}

// The zoom limits are compared as whole numbers.
int whole(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                    int height)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    platform::setGeometryTwips(b, left, top, width, height);
    return b;
}
} // namespace

const QString frmPreview::UnprintableDocument = QStringLiteral("Pocket Report - side 1");

frmPreview::frmPreview() : mSurface(std::make_unique<platform::PrintSurface>())
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    platform::setClientSizeTwips(this, 9636, 6948);
    setKeyPreview(true);
    InstallPdfDestination();

    vp = new platform::PreviewWidget(*mSurface, this);
    vp->setObjectName(QStringLiteral("vp"));
    platform::setGeometryTwips(vp, 120, 60, 6720, 6885);

    cmdPrevious = button(this, "cmdPrevious", QStringLiteral("P&revious Page"), 7920, 315, 1215, 615);
    cmdNext = button(this, "cmdNext", QStringLiteral("&Next Page"), 7920, 1005, 1215, 615);
    cmdZoomIn = button(this, "cmdZoomIn", QStringLiteral("Zoom &In"), 7920, 2100, 1215, 615);
    cmdZoomOut = button(this, "cmdZoomOut", QStringLiteral("Zoom &Out"), 7920, 2775, 1215, 615);
    cmdPrint = button(this, "cmdPrint", QStringLiteral("&Print"), 7920, 3825, 1215, 615);
    cmdHelp = button(this, "cmdHelp", QStringLiteral("&Help"), 7920, 5295, 1215, 615);
    cmdClose = button(this, "cmdClose", QStringLiteral("&Close"), 7920, 6030, 1215, 615);
    cmdThumbnail = button(this, "cmdThumbnail", QStringLiteral("Thumbnail"), 2715, 6690, 990, 270);
    cmdTwoPages = button(this, "cmdTwoPages", QStringLiteral("Two Pages"), 3735, 6690, 990, 270);
    cmdPageWidth = button(this, "cmdPageWidth", QStringLiteral("Page Width"), 4755, 6690, 990, 270);
    cmdWholePage = button(this, "cmdWholePage", QStringLiteral("Whole Page"), 5775, 6690, 990, 270);
    for (QPushButton *b : {cmdPrevious, cmdNext, cmdZoomIn, cmdZoomOut, cmdPrint, cmdHelp, cmdClose})
        platform::widenToCaption(b);
    // The small font of the row of zoom modes over the bottom edge of the pages.
    for (QPushButton *mode : {cmdThumbnail, cmdTwoPages, cmdPageWidth, cmdWholePage}) {
        QFont small = mode->font();
        small.setPointSizeF(6.75);
        mode->setFont(small);
        mode->raise();
    }

    connect(cmdNext, &QPushButton::clicked, this, &frmPreview::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmPreview::cmdPrevious_Click);
    connect(cmdZoomIn, &QPushButton::clicked, this, &frmPreview::cmdZoomIn_Click);
    connect(cmdZoomOut, &QPushButton::clicked, this, &frmPreview::cmdZoomOut_Click);
    connect(cmdThumbnail, &QPushButton::clicked, this, &frmPreview::cmdThumbnail_Click);
    connect(cmdTwoPages, &QPushButton::clicked, this, &frmPreview::cmdTwoPages_Click);
    connect(cmdWholePage, &QPushButton::clicked, this, &frmPreview::cmdWholePage_Click);
    connect(cmdPageWidth, &QPushButton::clicked, this, &frmPreview::cmdPageWidth_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPreview::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmPreview::cmdClose_Click);
    setCancelButton(cmdClose);
    connect(cmdHelp, &QPushButton::clicked, this, &frmPreview::cmdHelp_Click);
    connect(mSurface.get(), &platform::PrintSurface::zoomChanged, this, &frmPreview::vp_ZoomChanged);
    // A report that starts a document while the window is already shown gets no
    // activation; the Print button follows the document all the same.
    connect(mSurface.get(), &platform::PrintSurface::contentChanged, this, &frmPreview::updatePrintButton);

    ReportRunWatch &watch = ReportRunWatch::instance();
    watch.setPreviewWindow(this);
    connect(&watch, &ReportRunWatch::runningChanged, this,
            [this](bool running) { cmdPrint->setEnabled(!running); });
    cmdPrint->setEnabled(!watch.running());
    vp_ZoomChanged();
}

frmPreview::~frmPreview()
{
    // The preview widget draws from the surface; it goes first.
    delete vp;
    vp = nullptr;
}

frmPreview &frmPreview::instance()
{
    return platform::instanceOf(slot());
}

frmPreview *frmPreview::existing()
{
    frmPreview *form = slot().data();
    return form && !form->isUnloaded() ? form : nullptr;
}

platform::PrintSurface &PreviewSurface()
{
    return frmPreview::instance().surface();
}

void frmPreview::cmdNext_Click()
{
    mSurface->setPreviewPage(mSurface->previewPage() + 1);
}

void frmPreview::cmdPrevious_Click()
{
    mSurface->setPreviewPage(mSurface->previewPage() - 1);
}

void frmPreview::cmdZoomIn_Click()
{
    const double zoom = mSurface->zoom();
    if (zoom + ZoomStep > whole(mSurface->zoomMax()))
        mSurface->setZoom(whole(mSurface->zoomMax()));
    else
        mSurface->setZoom(zoom + ZoomStep);
}

void frmPreview::cmdZoomOut_Click()
{
    // The surface keeps the zoom within its limits, so a step below the smallest zoom
    // stops there.
    const double zoom = mSurface->zoom();
    if (zoom > ZoomStep)
        mSurface->setZoom(zoom - ZoomStep);
    else
        mSurface->setZoom(whole(mSurface->zoomMin()));
}

void frmPreview::cmdThumbnail_Click()
{
    mSurface->setZoomMode(platform::PrintSurface::ZoomThumbnail);
}

void frmPreview::cmdTwoPages_Click()
{
    mSurface->setZoomMode(platform::PrintSurface::ZoomTwoPages);
}

void frmPreview::cmdWholePage_Click()
{
    mSurface->setZoomMode(platform::PrintSurface::ZoomWholePage);
}

void frmPreview::cmdPageWidth_Click()
{
    mSurface->setZoomMode(platform::PrintSurface::ZoomPageWidth);
}

void frmPreview::cmdPrint_Click()
{
    // A document still being drawn is printed once its report has ended.
    if (ReportRun::running())
        return;
    try {
        // The print dialog offers the printer and the pages to print, as the help says.
        platform::DialogRequest request;
        request.kind = platform::DialogKind::Print;
        request.title = QStringLiteral("Print");
        request.printer = &platform::PrintOutput::chosenPrinter();
        request.maxPage = mSurface->pageCount();
        request.fileName = platform::PrintOutput::proposedPdfPath(mSurface->docName());
        platform::DialogAnswer answer;
        do {
            answer = platform::runDialog(request);
            if (!answer.accepted)
                return;
            platform::PrintOutput::choosePrinter();
            // A file printer pointed at the open address book is refused, and the dialog asks again.
        } while (TellIfOpenBookFile(platform::PrintOutput::chosenPrinterFile()));
        mSurface->printPages(answer.fromPage, answer.toPage);
    } catch (const platform::PrintCancelled &) {
        // The user cancelled where the file goes, or its writing: nothing was printed.
    } catch (const platform::RuntimeError &error) {
        platform::MsgBox(error.description(), platform::vbOKOnly);
    }
}

void frmPreview::cmdClose_Click()
{
    // Nobody is left to look at a document still being drawn: its report stops.
    if (mSurface->preview())
        ReportRunWatch::instance().requestStop();
    if (mSurface->orientation() == 1)
        mSurface->setOrientation(0);
    // Hiding hands the activation back to the window below, the main list among them.
    hide();
}

void frmPreview::vp_ZoomChanged()
{
    const double zoom = mSurface->zoom();
    cmdZoomIn->setEnabled(zoom < whole(mSurface->zoomMax()));
    cmdZoomOut->setEnabled(zoom > whole(mSurface->zoomMin()));
}

void frmPreview::Form_Activate()
{
    updatePrintButton();
}

void frmPreview::updatePrintButton()
{
    cmdPrint->setVisible(mSurface->docName() != UnprintableDocument);
}

void frmPreview::Form_QueryUnload(bool &cancel, int unloadMode)
{
    // Closed from its title bar the window is only hidden, as by Close: unloading it
    // would drop the surface, with the document and the preview flag the Reports menu
    // shows, and pull it from under a report that is drawing.
    if (unloadMode == vbFormControlMenu) {
        cancel = true;
        cmdClose_Click();
    }
}

void frmPreview::Form_KeyDown(int &keyCode, Qt::KeyboardModifiers)
{
    if (keyCode == Qt::Key_PageDown)
        cmdNext_Click();
    else if (keyCode == Qt::Key_PageUp)
        cmdPrevious_Click();
}

void frmPreview::resizeEvent(QResizeEvent *event)
{
    platform::Form::resizeEvent(event);
    Form_Resize();
}

void frmPreview::Form_Resize()
{
    using namespace platform;
    const int w = static_cast<int>(pixelsToTwipsX(width()));
    const int h = static_cast<int>(pixelsToTwipsY(height()));
    const int left = static_cast<int>(pixelsToTwipsX(vp->x()));
    const int top = static_cast<int>(pixelsToTwipsY(vp->y()));
    // Too low or too narrow a window would give the pages no size: that step is
    // skipped and the buttons still follow.
    if (w > NarrowestPagesWindow) {
        const int vpWidth = w - 2 * left - ButtonColumnWidth;
        const int vpHeight = h - top - left;
        if (vpWidth >= 0 && vpHeight >= 0)
            setGeometryTwips(vp, left, top, vpWidth, vpHeight);
    }
    const int vpWidth = static_cast<int>(pixelsToTwipsX(vp->width()));
    const int vpHeight = static_cast<int>(pixelsToTwipsY(vp->height()));
    const int buttonsLeft = left + vpWidth + ButtonColumnGap;
    for (QPushButton *b : {cmdNext, cmdPrevious, cmdPrint, cmdZoomIn, cmdZoomOut, cmdHelp, cmdClose})
        b->move(twipsToPixelsX(buttonsLeft), b->y());
    const int modesTop = top + vpHeight - ViewButtonsRise;
    for (QPushButton *b : {cmdThumbnail, cmdTwoPages, cmdPageWidth, cmdWholePage})
        b->move(b->x(), twipsToPixelsY(modesTop));
}

void frmPreview::cmdHelp_Click()
{
    frmHelp &help = frmHelp::instance();
    help.lblHeading1->setText(QStringLiteral("Print Preview"));
    help.lblBody1->setText(helpText());
    help.showModal(this);
}

QString frmPreview::helpText()
{
    const QString paragraph = QStringLiteral("\r\n\r\n");
    return QStringLiteral("You can view any page of this report prior to printing, and ") +
           QStringLiteral(
               "print any page or range of pages.  Scroll through the report using the Previous Page or "
               "Next Page buttons, or with the Page Up and Page Down keys on your keyboard.") +
           paragraph +
           QStringLiteral(
               "Expand the screen to full-size by double-clicking anywhere on the top title bar of the "
               "window.  ") +
           QStringLiteral(
               "Make the report any size by zooming in or out using the Zoom buttons.  You can also zoom "
               "in and out using your mouse.  ") +
           QStringLiteral("Just double-click your left mouse button anywhere on the report to zoom in, or "
                          "double-click your right mouse button to zoom out.  ") +
           paragraph +
           QStringLiteral(
               "The buttons at the bottom of the Print Preview screen also let you scroll through pages of "
               "the report, ") +
           QStringLiteral(
               "zoom in or out, and view one or multiple pages of the report at the same time.  A page "
               "counter near the lower left of the window ") +
           QStringLiteral(
               "shows the current page and the total pages.  For example, if it says 2/10 this means you "
               "are currently viewing ") +
           QStringLiteral("page 2 of a 10-page report.");
}
