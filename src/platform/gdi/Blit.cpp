// The three blits of the small GDI: straight copies with raster operations, stretched
// copies by area averaging or nearest pixel, and the parallelogram map.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

bool ropUsesSource(std::uint32_t rop)
{
    return rop != BLACKNESS && rop != WHITENESS && rop != DSTINVERT;
}

bool ropKnown(std::uint32_t rop)
{
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case SRCERASE:
    case NOTSRCCOPY:
    case NOTSRCERASE:
    case MERGEPAINT:
    case DSTINVERT:
    case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

// Raster operations work on the colours bit by bit, channel by channel.
std::uint32_t applyRop(std::uint32_t rop, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t r = 0;
    switch (rop) {
    case SRCCOPY:
        r = s;
        break;
    case SRCPAINT:
        r = s | d;
        break;
    case SRCAND:
        r = s & d;
        break;
    case SRCINVERT:
        r = s ^ d;
        break;
    case SRCERASE:
        r = s & ~d;
        break;
    case NOTSRCCOPY:
        r = ~s;
        break;
    case NOTSRCERASE:
        r = ~(s | d);
        break;
    case MERGEPAINT:
        r = ~s | d;
        break;
    case DSTINVERT:
        r = ~d;
        break;
    case BLACKNESS:
        r = 0;
        break;
    case WHITENESS:
        r = 0xFFFFFF;
        break;
    default:
        r = s;
        break;
    }
    return r & 0xFFFFFF;
}

// A memory context with a bitmap to draw on or read from.
GdiBitmap *surfaceOf(HDC hdc)
{
    if (liveContext(hdc) == nullptr || hdc->kind() != DeviceContext::Kind::Memory)
        return nullptr;
    return hdc->bitmap;
}

void readColours(const GdiBitmap &bitmap, int x, int y, int count, std::uint32_t *out)
{
    for (int i = 0; i < count; ++i)
        out[i] = bitmap.pixel(x + i, y);
}

void writeColours(GdiBitmap &bitmap, int x, int y, int count, const std::uint32_t *colours, std::uint32_t rop)
{
    if (rop == SRCCOPY) {
        for (int i = 0; i < count; ++i)
            bitmap.setPixel(x + i, y, colours[i]);
        return;
    }
    for (int i = 0; i < count; ++i)
        bitmap.setPixel(x + i, y, applyRop(rop, colours[i], bitmap.pixel(x + i, y)));
}

// A whole row as blue, green, red bytes: the row itself for 24 bits, a conversion otherwise.
const std::uint8_t *bgrRow(const GdiBitmap &bitmap, int y, std::vector<std::uint8_t> &scratch)
{
    if (bitmap.bitCount() == 24)
        return bitmap.row(y);
    scratch.resize(std::size_t(bitmap.width()) * 3);
    const std::uint8_t *row = bitmap.row(y);
    if (bitmap.bitCount() == 32) {
        for (int x = 0; x < bitmap.width(); ++x)
            std::memcpy(&scratch[std::size_t(x) * 3], row + std::size_t(x) * 4, 3);
        return scratch.data();
    }
    for (int x = 0; x < bitmap.width(); ++x) {
        const std::uint32_t c = bitmap.pixel(x, y);
        scratch[std::size_t(x) * 3] = std::uint8_t(c);
        scratch[std::size_t(x) * 3 + 1] = std::uint8_t(c >> 8);
        scratch[std::size_t(x) * 3 + 2] = std::uint8_t(c >> 16);
    }
    return scratch.data();
}

bool sameColourTables(const GdiBitmap &a, const GdiBitmap &b)
{
    return a.bitCount() == b.bitCount() &&
           std::memcmp(a.colours(), b.colours(), sizeof(RGBQUAD) * std::size_t(a.colourCount())) == 0;
}

// Copies one clipped row segment; the fast cases move bytes, the rest go through colours.
void copyRow(GdiBitmap &dest, int dx, int dy, const GdiBitmap &source, int sx, int sy, int count,
             std::uint32_t rop, std::vector<std::uint32_t> &buffer)
{
    const int dBytes = dest.bitCount() / 8, sBytes = source.bitCount() / 8;
    if (rop == SRCCOPY && !dest.indexed() && !source.indexed()) {
        std::uint8_t *d = dest.row(dy) + std::size_t(dx) * std::size_t(dBytes);
        const std::uint8_t *s = source.row(sy) + std::size_t(sx) * std::size_t(sBytes);
        if (dBytes == sBytes) {
            std::memmove(d, s, std::size_t(count) * std::size_t(dBytes));
            return;
        }
        if (&dest != &source) {
            for (int i = 0; i < count; ++i) {
                std::memcpy(d + std::size_t(i) * std::size_t(dBytes),
                            s + std::size_t(i) * std::size_t(sBytes), 3);
                if (dBytes == 4)
                    d[std::size_t(i) * 4 + 3] = 0;
            }
            return;
        }
    }
    if (rop == SRCCOPY && dest.indexed() && sameColourTables(dest, source)) {
        std::vector<int> indexes(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            indexes[std::size_t(i)] = source.index(sx + i, sy);
        for (int i = 0; i < count; ++i)
            dest.setIndex(dx + i, dy, indexes[std::size_t(i)]);
        return;
    }
    buffer.resize(std::size_t(count));
    readColours(source, sx, sy, count, buffer.data());
    writeColours(dest, dx, dy, count, buffer.data(), rop);
}

// Area averaging along one axis: for each destination pixel, the source pixels its
// span covers and the share of the span each one takes.
struct Tap {
    int index;
    float weight;
};

struct AxisWeights {
    std::vector<int> first; // per destination pixel, offset into taps
    std::vector<Tap> taps;
};

AxisWeights areaWeights(int destCount, int sourceOrigin, int sourceCount, int sourceLimit)
{
    AxisWeights w;
    w.first.reserve(std::size_t(destCount) + 1);
    const double scale = double(sourceCount) / double(destCount);
    for (int i = 0; i < destCount; ++i) {
        w.first.push_back(int(w.taps.size()));
        const double a = i * scale, b = (i + 1) * scale;
        const int from = int(std::floor(a)), to = int(std::ceil(b));
        for (int j = from; j < to; ++j) {
            const double overlap = std::min(b, double(j + 1)) - std::max(a, double(j));
            if (overlap <= 0)
                continue;
            const int index = std::clamp(sourceOrigin + j, 0, sourceLimit - 1);
            w.taps.push_back(Tap{index, float(overlap / (b - a))});
        }
    }
    w.first.push_back(int(w.taps.size()));
    return w;
}

std::uint8_t roundChannel(float v)
{
    return std::uint8_t(std::clamp(int(std::floor(v + 0.5f)), 0, 255));
}

// The rows of one axis pass: each source row filtered across once, kept while the
// destination rows that read it are made (they read source rows in increasing order).
class AcrossRows {
  public:
    AcrossRows(const GdiBitmap &source, const AxisWeights &across, int clipLeft, int clipRight, int width)
        : mSource(source), mAcross(across), mClipLeft(clipLeft), mClipRight(clipRight), mWidth(width)
    {
    }

    const float *row(int sourceRow, std::size_t keep)
    {
        for (Entry &e : mEntries)
            if (e.row == sourceRow)
                return e.values.data();
        if (mEntries.size() < keep) {
            mEntries.push_back({-1, std::vector<float>(std::size_t(mWidth) * 3)});
        } else {
            // The oldest row is one no later destination row reads again.
            std::rotate(mEntries.begin(), mEntries.begin() + 1, mEntries.end());
        }
        Entry &e = mEntries.back();
        e.row = sourceRow;
        const std::uint8_t *src = bgrRow(mSource, sourceRow, mScratch);
        for (int c = mClipLeft; c < mClipRight; ++c) {
            float b = 0, g = 0, r = 0;
            for (int k = mAcross.first[std::size_t(c)]; k < mAcross.first[std::size_t(c) + 1]; ++k) {
                const Tap &col = mAcross.taps[std::size_t(k)];
                const std::uint8_t *p = src + std::size_t(col.index) * 3;
                b += p[0] * col.weight;
                g += p[1] * col.weight;
                r += p[2] * col.weight;
            }
            float *v = &e.values[std::size_t(c) * 3];
            v[0] = b;
            v[1] = g;
            v[2] = r;
        }
        return e.values.data();
    }

  private:
    struct Entry {
        int row;
        std::vector<float> values;
    };
    const GdiBitmap &mSource;
    const AxisWeights &mAcross;
    int mClipLeft, mClipRight, mWidth;
    std::vector<Entry> mEntries;
    std::vector<std::uint8_t> mScratch;
};

void stretchAveraged(GdiBitmap &dest, int x, int y, int width, int height, const GdiBitmap &source, int sx,
                     int sy, int sw, int sh, std::uint32_t rop, int clipLeft, int clipRight, int clipTop,
                     int clipBottom)
{
    const AxisWeights across = areaWeights(width, sx, sw, source.width());
    const AxisWeights down = areaWeights(height, sy, sh, source.height());
    std::size_t mostTaps = 1;
    for (std::size_t i = 0; i + 1 < down.first.size(); ++i)
        mostTaps = std::max(mostTaps, std::size_t(down.first[i + 1] - down.first[i]));
    AcrossRows rows(source, across, clipLeft, clipRight, width);
    std::vector<float> sums(std::size_t(width) * 3);
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(width));
    const bool direct = rop == SRCCOPY && dest.bitCount() == 24;
    for (int i = clipTop; i < clipBottom; ++i) {
        std::fill(sums.begin() + clipLeft * 3, sums.begin() + clipRight * 3, 0.0f);
        for (int t = down.first[std::size_t(i)]; t < down.first[std::size_t(i) + 1]; ++t) {
            const Tap &tap = down.taps[std::size_t(t)];
            const float *filtered = rows.row(tap.index, mostTaps + 1);
            for (int c = clipLeft * 3; c < clipRight * 3; ++c)
                sums[std::size_t(c)] += filtered[c] * tap.weight;
        }
        if (direct) {
            std::uint8_t *d = dest.row(y + i) + std::size_t(x + clipLeft) * 3;
            for (int c = clipLeft * 3; c < clipRight * 3; ++c)
                *d++ = roundChannel(sums[std::size_t(c)]);
            continue;
        }
        for (int c = clipLeft; c < clipRight; ++c) {
            const float *s = &sums[std::size_t(c) * 3];
            colours[std::size_t(c)] = (std::uint32_t(roundChannel(s[2])) << 16) |
                                      (std::uint32_t(roundChannel(s[1])) << 8) | roundChannel(s[0]);
        }
        writeColours(dest, x + clipLeft, y + i, clipRight - clipLeft, colours.data() + clipLeft, rop);
    }
}

// The same averaging in whole numbers for the common case, a colour picture into a
// 24-bit one: the pixels of a loaded photograph fitted into a picture box.
struct FixedTaps {
    int perPixel = 0;           // taps for every destination pixel, padded with zero weights
    std::vector<int> index;     // perPixel entries per destination pixel
    std::vector<std::int32_t> weight;
};

constexpr int FixedWeightBits = 8;

FixedTaps fixedTaps(const AxisWeights &w)
{
    FixedTaps f;
    const std::size_t count = w.first.size() - 1;
    for (std::size_t i = 0; i < count; ++i)
        f.perPixel = std::max(f.perPixel, w.first[i + 1] - w.first[i]);
    f.index.resize(count * std::size_t(f.perPixel));
    f.weight.resize(count * std::size_t(f.perPixel));
    for (std::size_t i = 0; i < count; ++i) {
        int sum = 0, largest = -1;
        const int from = w.first[i], taps = w.first[i + 1] - from;
        for (int k = 0; k < f.perPixel; ++k) {
            const std::size_t at = i * std::size_t(f.perPixel) + std::size_t(k);
            if (k < taps) {
                const Tap &tap = w.taps[std::size_t(from + k)];
                f.index[at] = tap.index;
                f.weight[at] = std::int32_t(std::lround(tap.weight * (1 << FixedWeightBits)));
                sum += f.weight[at];
                if (largest < 0 || f.weight[at] > f.weight[i * std::size_t(f.perPixel) + std::size_t(largest)])
                    largest = k;
            } else {
                f.index[at] = taps > 0 ? w.taps[std::size_t(from)].index : 0;
                f.weight[at] = 0;
            }
        }
        // The weights of a pixel add up to exactly one, so a plain area stays its colour.
        if (largest >= 0)
            f.weight[i * std::size_t(f.perPixel) + std::size_t(largest)] += (1 << FixedWeightBits) - sum;
    }
    return f;
}

// One destination row from the source rows already combined down: each pixel the
// weighted sum of the few combined pixels its span covers.
template <int Taps, int PixelBytes>
void acrossRow(const std::uint16_t *combined, const FixedTaps &across, int clipLeft, int clipRight, int totalBits,
               std::uint8_t *d)
{
    // The weights of a pixel add up to one, so a sum never passes 255 once shifted back.
    const std::uint32_t rounding = 1u << (totalBits - 1);
    const int *index = &across.index[std::size_t(clipLeft) * Taps];
    const std::int32_t *weight = &across.weight[std::size_t(clipLeft) * Taps];
    for (int c = clipLeft; c < clipRight; ++c, d += 3, index += Taps, weight += Taps) {
        // All the channels of a pixel side by side (the fourth of a 32-bit pixel unused),
        // which the compiler can keep in one vector register.
        std::uint32_t sum[PixelBytes];
        for (int ch = 0; ch < PixelBytes; ++ch)
            sum[ch] = rounding;
        for (int k = 0; k < Taps; ++k) {
            const std::uint16_t *p = combined + std::size_t(index[k]) * PixelBytes;
            const auto w = std::uint32_t(weight[k]);
            for (int ch = 0; ch < PixelBytes; ++ch)
                sum[ch] += p[ch] * w;
        }
        for (int ch = 0; ch < 3; ++ch)
            d[ch] = std::uint8_t(sum[ch] >> totalBits);
    }
}

#if defined(__SSE2__)
// The same for 32-bit source pixels, the four channels of a pixel in one register: each
// 16-bit channel times its 16-bit weight gives a 32-bit product from its low and high halves.
template <int Taps>
void acrossRowSse(const std::uint16_t *combined, const FixedTaps &across, int clipLeft, int clipRight,
                  int totalBits, std::uint8_t *d)
{
    const __m128i rounding = _mm_set1_epi32(1 << (totalBits - 1));
    const __m128i shift = _mm_cvtsi32_si128(totalBits);
    const int *index = &across.index[std::size_t(clipLeft) * Taps];
    const std::int32_t *weight = &across.weight[std::size_t(clipLeft) * Taps];
    for (int c = clipLeft; c < clipRight; ++c, d += 3, index += Taps, weight += Taps) {
        __m128i sum = rounding;
        for (int k = 0; k < Taps; ++k) {
            const __m128i pixel =
                _mm_loadl_epi64(reinterpret_cast<const __m128i *>(combined + std::size_t(index[k]) * 4));
            const __m128i w = _mm_set1_epi16(std::int16_t(weight[k]));
            const __m128i low = _mm_mullo_epi16(pixel, w);
            const __m128i high = _mm_mulhi_epu16(pixel, w);
            sum = _mm_add_epi32(sum, _mm_unpacklo_epi16(low, high));
        }
        sum = _mm_srl_epi32(sum, shift);
        alignas(16) std::uint32_t out[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(out), sum);
        d[0] = std::uint8_t(out[0]);
        d[1] = std::uint8_t(out[1]);
        d[2] = std::uint8_t(out[2]);
    }
}
#endif

template <int PixelBytes>
bool acrossRowFewTaps(const std::uint16_t *combined, const FixedTaps &across, int clipLeft, int clipRight,
                      int totalBits, std::uint8_t *d)
{
#if defined(__SSE2__)
    if constexpr (PixelBytes == 4) {
        switch (across.perPixel) {
        case 1:
            acrossRowSse<1>(combined, across, clipLeft, clipRight, totalBits, d);
            return true;
        case 2:
            acrossRowSse<2>(combined, across, clipLeft, clipRight, totalBits, d);
            return true;
        case 3:
            acrossRowSse<3>(combined, across, clipLeft, clipRight, totalBits, d);
            return true;
        default:
            return false;
        }
    }
#endif
    switch (across.perPixel) {
    case 1:
        acrossRow<1, PixelBytes>(combined, across, clipLeft, clipRight, totalBits, d);
        return true;
    case 2:
        acrossRow<2, PixelBytes>(combined, across, clipLeft, clipRight, totalBits, d);
        return true;
    case 3:
        acrossRow<3, PixelBytes>(combined, across, clipLeft, clipRight, totalBits, d);
        return true;
    default:
        return false;
    }
}

void acrossRowAnyTaps(const std::uint16_t *combined, std::size_t pixelBytes, const FixedTaps &across,
                      int clipLeft, int clipRight, int totalBits, std::uint8_t *d)
{
    const std::int32_t rounding = 1 << (totalBits - 1);
    const int n = across.perPixel;
    for (int c = clipLeft; c < clipRight; ++c, d += 3) {
        std::int32_t b = rounding, g = rounding, r = rounding;
        for (int k = 0; k < n; ++k) {
            const std::size_t at = std::size_t(c) * std::size_t(n) + std::size_t(k);
            const std::uint16_t *p = combined + std::size_t(across.index[at]) * pixelBytes;
            b += p[0] * across.weight[at];
            g += p[1] * across.weight[at];
            r += p[2] * across.weight[at];
        }
        d[0] = std::uint8_t(std::clamp(b >> totalBits, 0, 255));
        d[1] = std::uint8_t(std::clamp(g >> totalBits, 0, 255));
        d[2] = std::uint8_t(std::clamp(r >> totalBits, 0, 255));
    }
}

bool stretchAveragedWhole(GdiBitmap &dest, int x, int y, int width, int height, const GdiBitmap &source, int sx,
                          int sy, int sw, int sh, std::uint32_t rop, int clipLeft, int clipRight, int clipTop,
                          int clipBottom)
{
    if (rop != SRCCOPY || dest.bitCount() != 24 || (source.bitCount() != 24 && source.bitCount() != 32))
        return false;
    const FixedTaps across = fixedTaps(areaWeights(width, sx, sw, source.width()));
    const FixedTaps down = fixedTaps(areaWeights(height, sy, sh, source.height()));
    const std::size_t pixelBytes = std::size_t(source.bitCount() / 8);
    // Rows are combined down first, over the whole source row, so that the pass across,
    // the costly one, runs once per destination row.
    const std::size_t rowBytes = std::size_t(source.width()) * pixelBytes;
    // Weights of eight bits keep a combined row within 16 bits.
    std::vector<std::uint16_t> combined(rowBytes);
    constexpr int totalBits = 2 * FixedWeightBits;
    for (int i = clipTop; i < clipBottom; ++i) {
        bool first = true;
        for (int k = 0; k < down.perPixel; ++k) {
            const std::size_t at = std::size_t(i) * std::size_t(down.perPixel) + std::size_t(k);
            const auto weight = std::uint16_t(down.weight[at]);
            if (weight == 0)
                continue;
            const std::uint8_t *src = source.row(down.index[at]);
            std::uint16_t *out = combined.data();
            if (first) {
                for (std::size_t b = 0; b < rowBytes; ++b)
                    out[b] = std::uint16_t(src[b] * weight);
                first = false;
            } else {
                for (std::size_t b = 0; b < rowBytes; ++b)
                    out[b] = std::uint16_t(out[b] + src[b] * weight);
            }
        }
        if (first)
            std::fill(combined.begin(), combined.end(), std::uint16_t(0));
        std::uint8_t *d = dest.row(y + i) + std::size_t(x + clipLeft) * 3;
        const bool done = pixelBytes == 4
                              ? acrossRowFewTaps<4>(combined.data(), across, clipLeft, clipRight, totalBits, d)
                              : acrossRowFewTaps<3>(combined.data(), across, clipLeft, clipRight, totalBits, d);
        if (!done)
            acrossRowAnyTaps(combined.data(), pixelBytes, across, clipLeft, clipRight, totalBits, d);
    }
    return true;
}

// Whole-number reductions of 24-bit pictures (the common halving) average exact boxes
// of pixels in integers; false when the case is not one of those.
bool stretchWholeBoxes(GdiBitmap &dest, int x, int y, int width, int height, const GdiBitmap &source, int sx,
                       int sy, int sw, int sh, std::uint32_t rop, int clipLeft, int clipRight, int clipTop,
                       int clipBottom)
{
    if (rop != SRCCOPY || dest.bitCount() != 24 || source.bitCount() != 24 || sw % width != 0 ||
        sh % height != 0 || sx < 0 || sy < 0 || sx + sw > source.width() || sy + sh > source.height())
        return false;
    const int kx = sw / width, ky = sh / height;
    const std::uint32_t area = std::uint32_t(kx * ky);
    std::vector<std::uint32_t> sums(std::size_t(width) * 3);
    if (kx == 2 && ky == 2) {
        // Halving, the encoder's chroma: two rows at a time, straight to the result.
        for (int i = clipTop; i < clipBottom; ++i) {
            const std::uint8_t *top =
                source.row(sy + i * 2) + std::size_t(sx) * 3 + std::size_t(clipLeft) * 6;
            const std::uint8_t *bottom =
                source.row(sy + i * 2 + 1) + std::size_t(sx) * 3 + std::size_t(clipLeft) * 6;
            std::uint8_t *d = dest.row(y + i) + std::size_t(x + clipLeft) * 3;
            for (int c = clipLeft; c < clipRight; ++c, top += 6, bottom += 6, d += 3)
                for (int ch = 0; ch < 3; ++ch)
                    d[ch] = std::uint8_t((top[ch] + top[ch + 3] + bottom[ch] + bottom[ch + 3] + 2) >> 2);
        }
        return true;
    }
    for (int i = clipTop; i < clipBottom; ++i) {
        std::fill(sums.begin() + clipLeft * 3, sums.begin() + clipRight * 3, 0u);
        for (int r = 0; r < ky; ++r) {
            const std::uint8_t *src = source.row(sy + i * ky + r) + std::size_t(sx) * 3;
            for (int c = clipLeft; c < clipRight; ++c) {
                const std::uint8_t *p = src + std::size_t(c) * std::size_t(kx) * 3;
                std::uint32_t *sum = &sums[std::size_t(c) * 3];
                for (int j = 0; j < kx; ++j, p += 3) {
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
        }
        std::uint8_t *d = dest.row(y + i) + std::size_t(x + clipLeft) * 3;
        for (int c = clipLeft * 3; c < clipRight * 3; ++c)
            *d++ = std::uint8_t((sums[std::size_t(c)] * 2 + area) / (area * 2));
    }
    return true;
}

void stretchNearest(GdiBitmap &dest, int x, int y, int width, int height, const GdiBitmap &source, int sx,
                    int sy, int sw, int sh, std::uint32_t rop, int clipLeft, int clipRight, int clipTop,
                    int clipBottom)
{
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int c = 0; c < width; ++c)
        columns[std::size_t(c)] =
            std::clamp(sx + int(std::floor((c + 0.5) * sw / width)), 0, source.width() - 1);
    std::vector<std::uint32_t> sourceRow(static_cast<std::size_t>(source.width()));
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(width));
    for (int i = clipTop; i < clipBottom; ++i) {
        const int row = std::clamp(sy + int(std::floor((i + 0.5) * sh / height)), 0, source.height() - 1);
        readColours(source, 0, row, source.width(), sourceRow.data());
        for (int c = clipLeft; c < clipRight; ++c)
            colours[std::size_t(c)] = sourceRow[std::size_t(columns[std::size_t(c)])];
        writeColours(dest, x + clipLeft, y + i, clipRight - clipLeft, colours.data() + clipLeft, rop);
    }
}

} // namespace

bool BitBlt(HDC destDc, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
            std::uint32_t rop)
{
    GdiBitmap *dest = surfaceOf(destDc);
    if (dest == nullptr || !ropKnown(rop) || width < 0 || height < 0)
        return false;
    if (!ropUsesSource(rop)) {
        const int left = std::max(x, 0), right = std::min(x + width, dest->width());
        for (int row = std::max(y, 0); row < std::min(y + height, dest->height()); ++row)
            for (int col = left; col < right; ++col)
                dest->setPixel(col, row, applyRop(rop, 0, dest->pixel(col, row)));
        return true;
    }
    GdiBitmap *source = surfaceOf(sourceDc);
    if (source == nullptr)
        return false;
    // Clip to both bitmaps, moving the two origins together.
    int left = 0, top = 0, right = width, bottom = height;
    left = std::max({left, -x, -sourceX});
    top = std::max({top, -y, -sourceY});
    right = std::min({right, dest->width() - x, source->width() - sourceX});
    bottom = std::min({bottom, dest->height() - y, source->height() - sourceY});
    if (left >= right || top >= bottom)
        return true;
    std::vector<std::uint32_t> buffer;
    // Within one bitmap, rows moving down are copied from the bottom up so that no row
    // is overwritten before it has been read.
    const bool upward = dest == source && y > sourceY;
    for (int k = 0; k < bottom - top; ++k) {
        const int r = upward ? bottom - 1 - k : top + k;
        copyRow(*dest, x + left, y + r, *source, sourceX + left, sourceY + r, right - left, rop, buffer);
    }
    return true;
}

bool StretchBlt(HDC destDc, int x, int y, int width, int height, HDC sourceDc, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, std::uint32_t rop)
{
    if (width == sourceWidth && height == sourceHeight)
        return BitBlt(destDc, x, y, width, height, sourceDc, sourceX, sourceY, rop);
    GdiBitmap *dest = surfaceOf(destDc);
    GdiBitmap *source = surfaceOf(sourceDc);
    if (dest == nullptr || source == nullptr || !ropKnown(rop))
        return false;
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return false;
    const int clipLeft = std::max(0, -x), clipRight = std::min(width, dest->width() - x);
    const int clipTop = std::max(0, -y), clipBottom = std::min(height, dest->height() - y);
    if (clipLeft >= clipRight || clipTop >= clipBottom)
        return true;
    // Reading and writing one bitmap at once would read pixels already written.
    std::unique_ptr<GdiBitmap> copy;
    const GdiBitmap *from = source;
    if (source == dest) {
        copy = GdiBitmap::make(source->width(), source->height(), source->bitCount(), source->topDown());
        if (!copy)
            return false;
        std::memcpy(copy->bits(), source->bits(),
                    std::size_t(source->stride()) * std::size_t(source->height()));
        std::memcpy(copy->colours(), source->colours(), sizeof(RGBQUAD) * 256);
        from = copy.get();
    }
    if (destDc->stretchMode == HALFTONE) {
        if (!stretchWholeBoxes(*dest, x, y, width, height, *from, sourceX, sourceY, sourceWidth, sourceHeight,
                               rop, clipLeft, clipRight, clipTop, clipBottom) &&
            !stretchAveragedWhole(*dest, x, y, width, height, *from, sourceX, sourceY, sourceWidth,
                                  sourceHeight, rop, clipLeft, clipRight, clipTop, clipBottom))
            stretchAveraged(*dest, x, y, width, height, *from, sourceX, sourceY, sourceWidth, sourceHeight,
                            rop, clipLeft, clipRight, clipTop, clipBottom);
    } else {
        stretchNearest(*dest, x, y, width, height, *from, sourceX, sourceY, sourceWidth, sourceHeight, rop,
                       clipLeft, clipRight, clipTop, clipBottom);
    }
    return true;
}

bool PlgBlt(HDC destDc, const POINT points[3], HDC sourceDc, int sourceX, int sourceY, int width, int height,
            HBITMAP mask, int, int)
{
    GdiBitmap *dest = surfaceOf(destDc);
    GdiBitmap *source = surfaceOf(sourceDc);
    if (dest == nullptr || source == nullptr || points == nullptr || mask != nullptr || width <= 0 ||
        height <= 0 || dest == source)
        return false;
    // Source point (u, v) lands on p0 + u/width * (p1 - p0) + v/height * (p2 - p0).
    const double ax = double(points[1].x - points[0].x) / width,
                 ay = double(points[1].y - points[0].y) / width;
    const double bx = double(points[2].x - points[0].x) / height,
                 by = double(points[2].y - points[0].y) / height;
    const double det = ax * by - bx * ay;
    if (det == 0)
        return false;
    const int xs[4] = {points[0].x, points[1].x, points[2].x, points[1].x + points[2].x - points[0].x};
    const int ys[4] = {points[0].y, points[1].y, points[2].y, points[1].y + points[2].y - points[0].y};
    const int left = std::max(0, *std::min_element(xs, xs + 4));
    const int right = std::min(dest->width(), *std::max_element(xs, xs + 4));
    const int top = std::max(0, *std::min_element(ys, ys + 4));
    const int bottom = std::min(dest->height(), *std::max_element(ys, ys + 4));
    for (int row = top; row < bottom; ++row) {
        for (int col = left; col < right; ++col) {
            // Each destination pixel takes the source pixel under its centre.
            const double px = col + 0.5 - points[0].x, py = row + 0.5 - points[0].y;
            const double u = (px * by - py * bx) / det;
            const double v = (ax * py - ay * px) / det;
            if (u < 0 || v < 0 || u >= width || v >= height)
                continue;
            const int su = sourceX + int(std::floor(u)), sv = sourceY + int(std::floor(v));
            if (su < 0 || sv < 0 || su >= source->width() || sv >= source->height())
                continue;
            if (dest->indexed() && sameColourTables(*dest, *source))
                dest->setIndex(col, row, source->index(su, sv));
            else
                dest->setPixel(col, row, source->pixel(su, sv));
        }
    }
    return true;
}

} // namespace platform
