#include "pictures/cImage.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiScope.h"
#include "platform/gdi/StdPicture.h"

#include <cmath>

using namespace platform;

std::int32_t cImage::BytesPerScanLine() const
{
    const std::int32_t w = Width();
    switch (BitCount()) {
    case 1:
        return ((w - 1) / 8 + 4) & ~3;
    case 4:
        return ((w - 1) / 2 + 4) & ~3;
    case 8:
        return (w + 3) & ~3;
    default:
        return ((w + 1) * 3) & ~3;
    }
}

bool cImage::Create(std::int32_t lWidth, std::int32_t lHeight, std::int16_t iBitCount)
{
    DeleteDIB();
    if (iBitCount == 1 || iBitCount == 4 || iBitCount == 8) {
        const ScopedDC display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        mDC = ScopedDC(CreateCompatibleDC(display.get()));
    } else if (iBitCount == 24) {
        mDC = ScopedDC(CreateCompatibleDC(nullptr));
    }
    if (!mDC)
        return false;

    BITMAPINFOHEADER &h = mInfo.bmiHeader;
    h.biSize = 40;
    h.biWidth = lWidth;
    h.biHeight = lHeight;
    h.biPlanes = 1;
    h.biBitCount = std::uint16_t(iBitCount);
    h.biCompression = BI_RGB;
    h.biSizeImage = std::uint32_t(BytesPerScanLine()) * std::uint32_t(lHeight);
    if (iBitCount != 24) {
        const int n = (1 << iBitCount) - 1;
        for (int i = 0; i <= n; ++i) {
            const auto grey = std::uint8_t(std::lround(i * 255.0 / n));
            mInfo.bmiColors[i].rgbBlue = grey;
            mInfo.bmiColors[i].rgbGreen = grey;
            mInfo.bmiColors[i].rgbRed = grey;
        }
    }
    mDIB = ScopedBitmap(CreateDIBSection(mDC.get(), &mInfo, DIB_RGB_COLORS, &mBits, nullptr, 0));
    if (mDIB) {
        mSelection = ScopedSelection(mDC.get(), mDIB.get());
        return true;
    }
    mDC.reset();
    return false;
}

bool cImage::CopyStdPicture(const StdPicture &TheStdPicture)
{
    std::int16_t depth = 0;
    return CopyStdPicture(TheStdPicture, depth);
}

bool cImage::CopyStdPicture(const StdPicture &TheStdPicture, std::int16_t &iBitCount)
{
    BITMAP description{};
    GetObjectA(TheStdPicture.Handle(), sizeof(BITMAP), &description);
    bool requested = true;
    if (iBitCount == 0) {
        const int own = description.bmBitsPixel;
        iBitCount = std::int16_t(own == 1 || own == 4 || own == 8 || own == 24 ? own : 24);
        requested = false;
    }
    if (!Create(description.bmWidth, description.bmHeight, iBitCount))
        return false;

    ScopedDC context;
    if (iBitCount != 24) {
        const ScopedDC screen(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        if (!screen)
            return false;
        context = ScopedDC(CreateCompatibleDC(screen.get()));
    } else {
        const ScopedWindowDC screen(GetDesktopWindow());
        if (!screen)
            return false;
        context = ScopedDC(CreateCompatibleDC(screen.get()));
    }
    if (!context)
        return false;

    HDC work = context.get();
    const ScopedSelection picture(work, TheStdPicture.Handle());
    if (iBitCount != 24) {
        if (!requested) {
            const unsigned read = GetDIBColorTable(work, 0, 1u << iBitCount, mWorkColours);
            if (read > 0)
                SetDIBColorTable(mDC.get(), 0, read, mWorkColours);
        }
        GetDIBits(work, TheStdPicture.Handle(), 0, unsigned(description.bmHeight), mBits, &mInfo,
                  DIB_RGB_COLORS);
    } else {
        BitBlt(mDC.get(), 0, 0, Width(), Height(), work, 0, 0, SRCCOPY);
    }
    return true;
}

bool cImage::CopyHDC(HDC lHDC, std::int32_t lWidth, std::int32_t lHeight, std::int16_t iBitCount,
                     std::int32_t lSrcLeft, std::int32_t lSrcTop)
{
    unsigned read = 0;
    if (iBitCount == 0) {
        read = GetDIBColorTable(lHDC, 0, 256, mWorkColours);
        if (read == 1 || read == 2)
            iBitCount = 1;
        else if (read >= 3 && read <= 16)
            iBitCount = 4;
        else if (read >= 17 && read <= 256)
            iBitCount = 8;
        else
            iBitCount = 24;
    }
    if (!Create(lWidth, lHeight, iBitCount))
        return false;
    if (read > 0)
        SetDIBColorTable(mDC.get(), 0, read, mWorkColours);
    BitBlt(mDC.get(), 0, 0, lWidth, lHeight, lHDC, lSrcLeft, lSrcTop, SRCCOPY);
    return true;
}

bool cImage::CopyPalletHDC(HDC lHDC)
{
    const unsigned read = GetDIBColorTable(lHDC, 0, 1u << BitCount(), mWorkColours);
    if (read == 0)
        return false;
    return SetDIBColorTable(mDC.get(), 0, read, mWorkColours) == read;
}

void cImage::PaintHDC(HDC lHDC, std::int32_t lDestLeft, std::int32_t lDestTop, std::uint32_t eRop) const
{
    BitBlt(lHDC, lDestLeft, lDestTop, Width(), Height(), mDC.get(), 0, 0, eRop);
}

std::unique_ptr<cImage> cImage::Greyscale() const
{
    auto grey = std::make_unique<cImage>();
    grey->Create(Width(), Height(), 8);
    BitBlt(grey->hdc(), 0, 0, Width(), Height(), mDC.get(), 0, 0, SRCCOPY);
    return grey;
}

std::unique_ptr<cImage> cImage::Resample(std::int32_t lWidth, std::int32_t lHeight) const
{
    auto image = std::make_unique<cImage>();
    image->Create(lWidth, lHeight, BitCount());
    if (BitCount() != 24)
        image->CopyPalletHDC(mDC.get());
    if (lWidth == Width() && lHeight == Height()) {
        BitBlt(image->hdc(), 0, 0, lWidth, lHeight, mDC.get(), 0, 0, SRCCOPY);
    } else {
        if (SetStretchBltMode(image->hdc(), HALFTONE) == 0)
            SetStretchBltMode(image->hdc(), COLORONCOLOR);
        StretchBlt(image->hdc(), 0, 0, lWidth, lHeight, mDC.get(), 0, 0, Width(), Height(), SRCCOPY);
    }
    return image;
}

std::unique_ptr<cImage> cImage::Transformed(std::int32_t width, std::int32_t height,
                                            const POINT points[3]) const
{
    auto image = std::make_unique<cImage>();
    image->Create(width, height, BitCount());
    if (BitCount() != 24)
        image->CopyPalletHDC(mDC.get());
    PlgBlt(image->hdc(), points, mDC.get(), 0, 0, Width(), Height(), nullptr, 0, 0);
    return image;
}

std::unique_ptr<cImage> cImage::Mirror(bool Vertical) const
{
    const std::int32_t w = Width(), h = Height();
    if (Vertical) {
        const POINT upsideDown[3] = {{0, h}, {w, h}, {0, 0}};
        return Transformed(w, h, upsideDown);
    }
    const POINT leftToRight[3] = {{w, 0}, {0, 0}, {w, h}};
    return Transformed(w, h, leftToRight);
}

std::unique_ptr<cImage> cImage::Rotate(std::int32_t Degrees) const
{
    std::int32_t angle = Degrees % 360;
    if (angle < 0)
        angle += 360;
    const std::int32_t w = Width(), h = Height();
    if (angle == 90) {
        const POINT quarterLeft[3] = {{0, w}, {0, 0}, {h, w}};
        return Transformed(h, w, quarterLeft);
    }
    if (angle == 180) {
        const POINT halfTurn[3] = {{w, h}, {0, h}, {w, 0}};
        return Transformed(w, h, halfTurn);
    }
    if (angle == 270) {
        const POINT quarterRight[3] = {{h, 0}, {h, w}, {0, 0}};
        return Transformed(h, w, quarterRight);
    }
    return nullptr;
}

void cImage::DeleteDIB()
{
    mSelection.reset();
    mDIB.reset();
    mDC.reset();
    mBits = nullptr;
}
