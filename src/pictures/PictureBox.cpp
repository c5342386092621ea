#include "pictures/PictureBox.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiScope.h"
#include "platform/gdi/StdPicture.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

using namespace platform;

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setFixedSize(CanvasWidth, CanvasHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (mCanvas.Create(CanvasWidth, CanvasHeight, 24)) {
        SetStretchBltMode(mCanvas.hdc(), HALFTONE);
        // The window shows the bitmap itself; its rows lie bottom-up, so it is drawn mirrored.
        mRows = QImage(mCanvas.DIBitsPtr(), CanvasWidth, CanvasHeight, mCanvas.BytesPerScanLine(),
                       QImage::Format_BGR888);
    }
    Cls();
}

const cImage &PictureBox::canvas() const
{
    fillBackground(0, 0);
    return mCanvas;
}

void PictureBox::Cls()
{
    // The clear is done once it is known what the next painting leaves uncovered.
    mClearPending = true;
    update();
}

void PictureBox::fillBackground(int coveredWidth, int coveredHeight) const
{
    if (!mClearPending || !ready())
        return;
    mClearPending = false;
    const std::uint8_t bgr[3] = {std::uint8_t(mBackColor.blue()), std::uint8_t(mBackColor.green()),
                                 std::uint8_t(mBackColor.red())};
    const std::size_t stride = std::size_t(mCanvas.BytesPerScanLine());
    std::uint8_t *bits = mCanvas.DIBitsPtr();
    const int coveredRight = std::clamp(coveredWidth, 0, int(CanvasWidth));
    const int coveredBottom = std::clamp(coveredHeight, 0, int(CanvasHeight));
    // One whole row of the background, copied wherever it is needed.
    std::vector<std::uint8_t> background(std::size_t(CanvasWidth) * 3);
    for (int x = 0; x < CanvasWidth; ++x)
        std::memcpy(&background[std::size_t(x) * 3], bgr, 3);
    for (int y = 0; y < CanvasHeight; ++y) {
        std::uint8_t *row = bits + std::size_t(CanvasHeight - 1 - y) * stride;
        const int from = y < coveredBottom ? coveredRight : 0;
        if (from < CanvasWidth)
            std::memcpy(row + std::size_t(from) * 3, background.data(), std::size_t(CanvasWidth - from) * 3);
    }
}

bool PictureBox::PaintPicture(const StdPicture &picture, int width, int height)
{
    if (!ready() || width <= 0 || height <= 0 || picture.Width() <= 0 || picture.Height() <= 0)
        return false;
    fillBackground(width, height);
    const ScopedDC source(CreateCompatibleDC(nullptr));
    bool painted = false;
    if (source) {
        const ScopedSelection selected(source.get(), picture.Handle());
        if (selected)
            painted = StretchBlt(mCanvas.hdc(), 0, 0, width, height, source.get(), 0, 0, picture.Width(),
                                 picture.Height(), SRCCOPY);
    }
    update();
    return painted;
}

QImage PictureBox::image() const
{
    if (!ready()) {
        QImage blank(CanvasWidth, CanvasHeight, QImage::Format_RGB888);
        blank.fill(mBackColor);
        return blank;
    }
    fillBackground(0, 0);
    return mRows.mirrored(false, true);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!ready()) {
        painter.fillRect(rect(), mBackColor);
        return;
    }
    fillBackground(0, 0);
    painter.translate(0, CanvasHeight);
    painter.scale(1, -1);
    painter.drawImage(0, 0, mRows);
}
