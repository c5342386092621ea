#include "pictures/PictureBox.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/StdPicture.h"

#include <QPainter>
#include <cstring>

using namespace platform;

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setFixedSize(CanvasWidth, CanvasHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (mCanvas.Create(CanvasWidth, CanvasHeight, 24))
        SetStretchBltMode(mCanvas.hdc(), HALFTONE);
    Cls();
}

void PictureBox::Cls()
{
    if (ready()) {
        const int stride = mCanvas.BytesPerScanLine();
        for (int y = 0; y < CanvasHeight; ++y) {
            std::uint8_t *row = mCanvas.DIBitsPtr() + std::size_t(y) * std::size_t(stride);
            for (int x = 0; x < CanvasWidth; ++x) {
                row[x * 3] = std::uint8_t(mBackColor.blue());
                row[x * 3 + 1] = std::uint8_t(mBackColor.green());
                row[x * 3 + 2] = std::uint8_t(mBackColor.red());
            }
        }
    }
    refreshShown();
}

bool PictureBox::PaintPicture(const StdPicture &picture, int width, int height)
{
    if (!ready() || width <= 0 || height <= 0 || picture.Width() <= 0 || picture.Height() <= 0)
        return false;
    HDC source = CreateCompatibleDC(nullptr);
    if (source == nullptr)
        return false;
    HBITMAP previous = SelectObject(source, picture.Handle());
    bool painted = false;
    if (previous != nullptr) {
        painted = StretchBlt(mCanvas.hdc(), 0, 0, width, height, source, 0, 0, picture.Width(),
                             picture.Height(), SRCCOPY);
        SelectObject(source, previous);
    }
    DeleteDC(source);
    refreshShown();
    return painted;
}

void PictureBox::refreshShown()
{
    if (!ready()) {
        mShown = QImage(CanvasWidth, CanvasHeight, QImage::Format_RGB888);
        mShown.fill(mBackColor);
    } else {
        // The bitmap keeps its rows bottom-up as blue, green, red.
        if (mShown.isNull() || mShown.format() != QImage::Format_BGR888)
            mShown = QImage(CanvasWidth, CanvasHeight, QImage::Format_BGR888);
        const int stride = mCanvas.BytesPerScanLine();
        for (int y = 0; y < CanvasHeight; ++y)
            std::memcpy(mShown.scanLine(y),
                        mCanvas.DIBitsPtr() + std::size_t(CanvasHeight - 1 - y) * std::size_t(stride),
                        std::size_t(CanvasWidth) * 3);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, mShown);
}
