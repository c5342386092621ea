#include "platform/print/PrintSurface.h"

#include "platform/print/PrintOutput.h"

#include <algorithm>
#include <utility>

namespace platform {

PrintSurface::PrintSurface(QObject *parent)
    : QObject(parent), PrintCanvas(DefaultMarginTop, DefaultMarginLeft, DefaultMarginBottom)
{
    // A new surface is made after every printer setup, so it lays out on the paper chosen.
    setPaperSize(PrintOutput::paperTwips());
}

void PrintSurface::setAction(int action)
{
    switch (action) {
    case StartDoc:
        startDocument();
        break;
    case NewPage:
        newPage();
        break;
    case EndDoc:
        endDocument();
        break;
    default:
        break;
    }
}

void PrintSurface::startDocument()
{
    mPdfPath.clear();
    if (!mPreview) {
        const std::optional<QString> destination = PrintOutput::askDestination(mDocName);
        if (!destination)
            throw PrintCancelled();
        mPdfPath = *destination;
    }
    openDocument(mDocName, mOrientation, mDocFlag34, mDocSetting91);
    setPreviewPage(1);
}

void PrintSurface::endDocument()
{
    if (!documentOpen())
        return;
    closeDocument();
    emit contentChanged();
    if (!mPreview) {
        const QString path = std::exchange(mPdfPath, QString());
        PrintOutput::sendTo(document(), path);
    }
}

void PrintSurface::dropDocument()
{
    mPdfPath.clear();
    discardDocument();
    setPreviewPage(1);
}

void PrintSurface::setOrientation(int orientation)
{
    mOrientation = orientation == 1 ? 1 : 0;
}

void PrintSurface::setMeasureText(const QString &text)
{
    mMeasuredWidth = textWidth(text);
    mMeasuredHeight = textHeight(text);
}

void PrintSurface::setZoom(double percent)
{
    if (mZoomMode != ZoomPercentage) {
        mZoomMode = ZoomPercentage;
        emit zoomModeChanged();
    }
    applyZoom(percent);
}

void PrintSurface::fitZoom(double percent)
{
    applyZoom(percent);
}

void PrintSurface::applyZoom(double percent)
{
    const double clamped = std::clamp(percent, MinZoom, MaxZoom);
    if (clamped == mZoom)
        return;
    mZoom = clamped;
    emit zoomChanged();
}

void PrintSurface::setZoomMode(int mode)
{
    const int chosen = (mode >= ZoomPercentage && mode <= ZoomPageWidth) ? mode : ZoomPercentage;
    mZoomMode = chosen;
    // Emitted even when unchanged: choosing the same mode again refits the pages.
    emit zoomModeChanged();
}

void PrintSurface::setPreviewPage(int page)
{
    const int clamped = std::clamp(page, 1, std::max(1, pageCount()));
    if (clamped == mPreviewPage)
        return;
    mPreviewPage = clamped;
    emit previewPageChanged();
}

void PrintSurface::printDoc(bool)
{
    if (document().pages.empty())
        return;
    PrintOutput::sendToPrinter(document());
}

void PrintSurface::printPages(int fromPage, int toPage)
{
    if (document().pages.empty())
        return;
    PrintOutput::sendAsChosen(document(), fromPage, toPage);
}

void PrintSurface::documentChanged()
{
    emit contentChanged();
}

} // namespace platform
