#include "platform/gdi/GdiBitmap.h"

#include <new>

namespace platform {

namespace {
// Larger bitmaps are refused like the platform refuses them, instead of exhausting memory.
constexpr std::size_t MaxBitmapBytes = std::size_t(1) << 31;
} // namespace

int GdiBitmap::strideFor(int width, int bitCount)
{
    return int(((std::int64_t(width) * bitCount + 31) / 32) * 4);
}

std::unique_ptr<GdiBitmap> GdiBitmap::make(int width, int height, int bitCount, bool topDown)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return nullptr;
    const std::size_t stride = std::size_t(strideFor(width, bitCount));
    if (stride * std::size_t(height) > MaxBitmapBytes || stride > MaxBitmapBytes)
        return nullptr;
    std::unique_ptr<GdiBitmap> bitmap(new GdiBitmap);
    try {
        bitmap->mBits.assign(stride * std::size_t(height), 0);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    bitmap->mWidth = width;
    bitmap->mHeight = height;
    bitmap->mBitCount = bitCount;
    bitmap->mStride = int(stride);
    bitmap->mTopDown = topDown;
    return bitmap;
}

int GdiBitmap::index(int x, int y) const
{
    const std::uint8_t *r = row(y);
    switch (mBitCount) {
    case 1:
        return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? (r[x >> 1] & 0x0F) : (r[x >> 1] >> 4);
    case 8:
        return r[x];
    default:
        return 0;
    }
}

void GdiBitmap::setIndex(int x, int y, int value)
{
    std::uint8_t *r = row(y);
    switch (mBitCount) {
    case 1: {
        const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
        r[x >> 3] = (value & 1) ? std::uint8_t(r[x >> 3] | bit) : std::uint8_t(r[x >> 3] & ~bit);
        break;
    }
    case 4:
        if (x & 1)
            r[x >> 1] = std::uint8_t((r[x >> 1] & 0xF0) | (value & 0x0F));
        else
            r[x >> 1] = std::uint8_t((r[x >> 1] & 0x0F) | ((value & 0x0F) << 4));
        break;
    case 8:
        r[x] = std::uint8_t(value);
        break;
    default:
        break;
    }
}

std::uint32_t GdiBitmap::pixel(int x, int y) const
{
    if (indexed())
        return rgbOf(mColours[index(x, y)]);
    const std::uint8_t *p = row(y) + std::size_t(x) * std::size_t(mBitCount / 8);
    return (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

void GdiBitmap::setPixel(int x, int y, std::uint32_t rgb)
{
    if (indexed()) {
        setIndex(x, y, nearestIndex(rgb));
        return;
    }
    std::uint8_t *p = row(y) + std::size_t(x) * std::size_t(mBitCount / 8);
    p[0] = std::uint8_t(rgb);
    p[1] = std::uint8_t(rgb >> 8);
    p[2] = std::uint8_t(rgb >> 16);
}

int GdiBitmap::nearestIndex(std::uint32_t rgb) const
{
    rgb &= 0xFFFFFF;
    if (!mCacheValid) {
        mCacheKey.assign(CacheSize, 0xFFFFFFFFu);
        mCacheIndex.assign(CacheSize, 0);
        mCacheValid = true;
    }
    const std::size_t slot = ((rgb * 2654435761u) >> 20) & (CacheSize - 1);
    if (mCacheKey[slot] == rgb)
        return mCacheIndex[slot];
    const int r = int(rgb >> 16), g = int((rgb >> 8) & 0xFF), b = int(rgb & 0xFF);
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < colourCount(); ++i) {
        const int dr = r - mColours[i].rgbRed, dg = g - mColours[i].rgbGreen, db = b - mColours[i].rgbBlue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    mCacheKey[slot] = rgb;
    mCacheIndex[slot] = std::uint8_t(best);
    return best;
}

} // namespace platform
