#pragma once

#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// A device-independent bitmap in the Windows memory layout: rows padded to 4 bytes,
// bottom-up unless made top-down, 1/4/8-bit pixels as colour-table indexes (most
// significant bits first), 24-bit as blue, green, red and 32-bit as blue, green, red, unused.
class GdiBitmap {
  public:
    // Null when the size or depth cannot be had (a non-positive width, a zero height,
    // an unsupported depth, or more memory than a bitmap may take).
    static std::unique_ptr<GdiBitmap> make(int width, int height, int bitCount, bool topDown);

    static int strideFor(int width, int bitCount);

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    int bitCount() const { return mBitCount; }
    int stride() const { return mStride; }
    bool topDown() const { return mTopDown; }
    bool indexed() const { return mBitCount <= 8; }
    int colourCount() const { return mBitCount <= 8 ? 1 << mBitCount : 0; }

    std::uint8_t *bits() { return mBits.data(); }
    const std::uint8_t *bits() const { return mBits.data(); }

    // Row y counted from the top of the picture, whatever the memory order.
    std::uint8_t *row(int y) { return mBits.data() + std::size_t(memoryRow(y)) * std::size_t(mStride); }
    const std::uint8_t *row(int y) const
    {
        return mBits.data() + std::size_t(memoryRow(y)) * std::size_t(mStride);
    }
    int memoryRow(int y) const { return mTopDown ? y : mHeight - 1 - y; }

    RGBQUAD *colours() { return mColours; }
    const RGBQUAD *colours() const { return mColours; }

    // Colours as 0x00RRGGBB.
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, std::uint32_t rgb);
    int index(int x, int y) const;
    void setIndex(int x, int y, int index);

    // The colour-table entry nearest to a colour (least squared distance; the lower
    // index on a tie), cached because blits ask for the same colours again and again.
    int nearestIndex(std::uint32_t rgb) const;
    void coloursChanged() { mCacheValid = false; }

    // The device context this bitmap is selected into, if any.
    DeviceContext *selectedInto = nullptr;
    bool stock = false;

  private:
    GdiBitmap() = default;

    int mWidth = 0;
    int mHeight = 0;
    int mBitCount = 0;
    int mStride = 0;
    bool mTopDown = false;
    std::vector<std::uint8_t> mBits;
    RGBQUAD mColours[256] = {};

    static constexpr int CacheSize = 4096;
    mutable std::vector<std::uint32_t> mCacheKey;
    mutable std::vector<std::uint8_t> mCacheIndex;
    mutable bool mCacheValid = false;
};

inline std::uint32_t rgbOf(const RGBQUAD &q)
{
    return (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}

} // namespace platform
