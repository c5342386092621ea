#pragma once

#include "platform/gdi/GdiScope.h"
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <memory>

namespace platform {
class StdPicture;
}

// A device-independent bitmap held in a memory device context, so that it can be
// drawn into, blitted from and read through the context.
class cImage {
  public:
    cImage() = default;
    cImage(const cImage &) = delete;
    cImage &operator=(const cImage &) = delete;

    std::int32_t Width() const { return mInfo.bmiHeader.biWidth; }
    std::int32_t Height() const { return mInfo.bmiHeader.biHeight; }
    std::int16_t BitCount() const { return std::int16_t(mInfo.bmiHeader.biBitCount); }
    platform::HDC hdc() const { return mDC.get(); }
    std::uint8_t *DIBitsPtr() const { return static_cast<std::uint8_t *>(mBits); }
    std::int32_t BytesPerScanLine() const;

    bool Create(std::int32_t lWidth, std::int32_t lHeight, std::int16_t iBitCount);
    // iBitCount 0 chooses the picture's own depth (24 for 16 and 32 bits) and hands it back.
    bool CopyStdPicture(const platform::StdPicture &TheStdPicture, std::int16_t &iBitCount);
    bool CopyStdPicture(const platform::StdPicture &TheStdPicture);
    bool CopyHDC(platform::HDC lHDC, std::int32_t lWidth, std::int32_t lHeight, std::int16_t iBitCount = 0,
                 std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0);
    bool CopyPalletHDC(platform::HDC lHDC);
    void PaintHDC(platform::HDC lHDC, std::int32_t lDestLeft = 0, std::int32_t lDestTop = 0,
                  std::uint32_t eRop = platform::SRCCOPY) const;

    std::unique_ptr<cImage> Greyscale() const;
    std::unique_ptr<cImage> Resample(std::int32_t lWidth, std::int32_t lHeight) const;
    std::unique_ptr<cImage> Mirror(bool Vertical) const;
    // Only quarter turns: any other angle (0 included) gives no image.
    std::unique_ptr<cImage> Rotate(std::int32_t Degrees) const;

    // The colour table as the header carries it.
    const platform::RGBQUAD *Colours() const { return mInfo.bmiColors; }

  private:
    void DeleteDIB();
    std::unique_ptr<cImage> Transformed(std::int32_t width, std::int32_t height,
                                        const platform::POINT points[3]) const;

    // In the order they are made: going, the bitmap is first taken out of the context,
    // then deleted, and the context last.
    platform::ScopedDC mDC;
    platform::ScopedBitmap mDIB;
    platform::ScopedSelection mSelection;
    void *mBits = nullptr;
    platform::BITMAPINFO mInfo{};
    platform::RGBQUAD mWorkColours[256] = {};
};
