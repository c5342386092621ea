#include "pictures/cJpeg.h"

#include "pictures/JpegEntropyCoder.h"
#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiScope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace platform;

namespace {

constexpr int SubscriptOutOfRange = 9;
constexpr int PathFileAccessError = 75;

[[noreturn]] void raise(const char *description)
{
    throw RuntimeError(1, QString::fromLatin1(description));
}

// The example tables of the standard, in row order: luminance and chrominance.
constexpr int BaseLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                   14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                   18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                   49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int BaseChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                     24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                     99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                     99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The fast transform's output scaling, folded into the quantisation multipliers.
constexpr double Aan[8] = {0.353553390593273, 0.25489778955208,  0.270598050073098, 0.300672443467523,
                           0.353553390593273, 0.449988111568207, 0.653281482438186, 1.28145772387074};

// Block position (transposed, as the transform leaves it) to zig-zag position.
const std::array<int, 64> &zigZagTransposed()
{
    static const std::array<int, 64> table = [] {
        std::array<int, 64> t{};
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                t[std::size_t(c * 8 + r)] = cJpeg::ZigZag()[std::size_t(r * 8 + c)];
        return t;
    }();
    return table;
}

// One line of the transform for each of 8 lanes at once: lane c works on d[c], d[c+8],
// ... d[c+56]. Every lane does exactly the arithmetic of one line; products with the
// constants are formed in double precision and stored in single.
void transformColumns(float *d)
{
    for (int c = 0; c < 8; ++c) {
        const float tmp0 = d[c] + d[56 + c], tmp7 = d[c] - d[56 + c];
        const float tmp1 = d[8 + c] + d[48 + c], tmp6 = d[8 + c] - d[48 + c];
        const float tmp2 = d[16 + c] + d[40 + c], tmp5 = d[16 + c] - d[40 + c];
        const float tmp3 = d[24 + c] + d[32 + c], tmp4 = d[24 + c] - d[32 + c];

        const float tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
        const float tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
        d[c] = tmp10 + tmp11;
        d[32 + c] = tmp10 - tmp11;
        const float z1 = float((double(tmp12) + double(tmp13)) * 0.707106781186548);
        d[16 + c] = tmp13 + z1;
        d[48 + c] = tmp13 - z1;

        const float t10 = tmp4 + tmp5, t11 = tmp5 + tmp6, t12 = tmp6 + tmp7;
        const float z5 = float((double(t12) - double(t10)) * 0.382683432365091);
        const float z2 = float(double(t10) * 0.541196100146196 - double(z5));
        const float z4 = float(double(t12) * 1.30656296487638 - double(z5));
        const float z3 = float(double(t11) * 0.707106781186548);
        const float z11 = tmp7 + z3, z13 = tmp7 - z3;
        d[40 + c] = z13 + z2;
        d[24 + c] = z13 - z2;
        d[8 + c] = z11 + z4;
        d[56 + c] = z11 - z4;
    }
}

void transpose(float *d)
{
    for (int r = 0; r < 8; ++r)
        for (int c = r + 1; c < 8; ++c)
            std::swap(d[r * 8 + c], d[c * 8 + r]);
}

int ceilDiv(std::int64_t a, std::int64_t b)
{
    return int((a + b - 1) / b);
}

} // namespace

const std::array<int, 64> &cJpeg::ZigZag()
{
    // Walk the block diagonally from the top-left corner, first to the right,
    // bouncing off the edges.
    static const std::array<int, 64> table = [] {
        std::array<int, 64> t{};
        int r = 0, c = 0;
        for (int i = 0; i < 64; ++i) {
            t[std::size_t(r * 8 + c)] = i;
            if ((r + c) % 2 == 0) {
                if (c == 7)
                    ++r;
                else if (r == 0)
                    ++c;
                else
                    --r, ++c;
            } else {
                if (r == 7)
                    ++c;
                else if (c == 0)
                    ++r;
                else
                    ++r, --c;
            }
        }
        return t;
    }();
    return table;
}

const char *cJpeg::CreditText()
{
    return "Quiltern contact manager\r\nBaseline JPEG encoder\r\nHuffman tables optimised for this picture";
}

cJpeg::cJpeg()
{
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    mQuality = 0;
    SetQuality(75);
}

void cJpeg::SetQuality(std::int32_t value)
{
    if (value < 1 || value > 100)
        return;
    mQuality = value;
    const double scale = value < 50 ? std::nearbyint(5000.0 / value) : double(200 - 2 * value);
    for (int k = 0; k < 64; ++k) {
        const int z = ZigZag()[std::size_t(k)];
        const double luminance = std::nearbyint((BaseLuminance[k] * scale + 50) / 100.0);
        const double chrominance = std::nearbyint((BaseChrominance[k] * scale + 50) / 100.0);
        mQuant[0][std::size_t(z)] = std::uint16_t(std::clamp(luminance, 1.0, 255.0));
        mQuant[1][std::size_t(z)] = std::uint16_t(std::clamp(chrominance, 1.0, 255.0));
    }
    PrepareQuantTable(0);
    PrepareQuantTable(1);
}

void cJpeg::PrepareQuantTable(int table)
{
    const int limit = mPrecision == 12 ? 65535 : 255;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const int z = ZigZag()[std::size_t(r * 8 + c)];
            const int q = mQuant[std::size_t(table)][std::size_t(z)];
            if (q < 1 || q > limit)
                raise("Bad Quantization Table");
            mMultiplierT[std::size_t(table)][std::size_t(c * 8 + r)] = float(Aan[r] * Aan[c] / q);
        }
    }
}

void cJpeg::SetComment(const QString &text)
{
    if (text.size() > 65533)
        raise("Illegal Comment Length");
    mComment = text;
}

void cJpeg::SetSamplingFrequencies(std::int32_t H1, std::int32_t V1, std::int32_t H2, std::int32_t V2,
                                   std::int32_t H3, std::int32_t V3)
{
    const auto valid = [](std::int32_t f) { return f >= 1 && f <= 4; };
    if (!valid(H1) || !valid(V1))
        raise("Invalid Sampling Value");
    std::vector<Component> components;
    if (H2 != 0 || V2 != 0 || H3 != 0 || V3 != 0) {
        for (std::int32_t f : {H2, H3, V2, V3})
            if (!valid(f))
                raise("Invalid Sampling Value");
        components.resize(3);
        components[0].H = H1, components[0].V = V1, components[0].table = 0;
        components[1].H = H2, components[1].V = V2, components[1].table = 1;
        components[2].H = H3, components[2].V = V3, components[2].table = 1;
    } else {
        components.resize(1);
    }
    mComponents = std::move(components);
    mHmax = 1;
    mVmax = 1;
    for (const Component &c : mComponents) {
        mHmax = std::max(mHmax, c.H);
        mVmax = std::max(mVmax, c.V);
    }
}

std::int32_t cJpeg::SampleHDC(HDC lHDC, std::int32_t lWidth, std::int32_t lHeight, std::int32_t lSrcLeft,
                              std::int32_t lSrcTop)
{
    mPrecision = 8;
    mY = lHeight;
    mX = lWidth;
    const int w8 = (lWidth + 7) & ~7, h8 = (lHeight + 7) & ~7;

    const ScopedDC context(CreateCompatibleDC(nullptr));
    if (!context)
        return 1;
    HDC work = context.get();
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = w8;
    info.bmiHeader.biHeight = h8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = std::uint32_t(((w8 * 3 + 3) & ~3) * h8);
    void *bits = nullptr;
    const ScopedBitmap dib(CreateDIBSection(work, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return 1;
    const ScopedSelection selected(work, dib.get());
    if (SetStretchBltMode(work, HALFTONE) == 0)
        SetStretchBltMode(work, COLORONCOLOR);
    const int stride = (w8 * 3 + 3) & ~3;

    int drawnX = -1, drawnY = -1;
    for (std::size_t i = 0; i < mComponents.size(); ++i) {
        Component &c = mComponents[i];
        c.id = int(i) + 1;
        c.xi = ceilDiv(std::int64_t(mX) * c.H, mHmax);
        c.yi = ceilDiv(std::int64_t(mY) * c.V, mVmax);
        c.bw = (c.xi + 7) & ~7;
        c.bh = (c.yi + 7) & ~7;
        c.coefficients.assign(std::size_t(c.bw) * std::size_t(c.bh), 0);
        const int top = h8 - c.bh;
        if (c.xi != drawnX || c.yi != drawnY) {
            if (c.xi != mX || c.yi != mY)
                StretchBlt(work, 0, top, c.xi, c.yi, lHDC, lSrcLeft, lSrcTop, mX, mY, SRCCOPY);
            else
                BitBlt(work, 0, top, c.xi, c.yi, lHDC, lSrcLeft, lSrcTop, SRCCOPY);
            // Pad to whole blocks by repeating the last column, then the last row.
            for (int col = c.xi; col < c.bw; ++col)
                BitBlt(work, col, top, 1, c.yi, work, col - 1, top, SRCCOPY);
            for (int row = c.yi; row < c.bh; ++row)
                BitBlt(work, 0, top + row, c.bw, 1, work, 0, top + row - 1, SRCCOPY);
            drawnX = c.xi;
            drawnY = c.yi;
        }
        SampleComponent(c, static_cast<const std::uint8_t *>(bits), stride);
    }
    return 0;
}

void cJpeg::SampleComponent(Component &c, const std::uint8_t *bits, int stride)
{
    // The component's rectangle sits at the bottom of the bottom-up bitmap, so its row r
    // (from the top) is memory row bh - 1 - r.
    float kr, kg, kb, offset;
    if (c.id == 2)
        kr = -0.16874f, kg = -0.33126f, kb = 0.5f, offset = 0.0f;
    else if (c.id == 3)
        kr = 0.5f, kg = -0.41869f, kb = -0.08131f, offset = 0.0f;
    else
        kr = 0.299f, kg = 0.587f, kb = 0.114f, offset = -128.0f;
    // Each product of a coefficient and a byte, looked up instead of multiplied.
    float red[256], green[256], blue[256];
    for (int i = 0; i < 256; ++i) {
        red[i] = kr * float(i);
        green[i] = kg * float(i);
        blue[i] = kb * float(i);
    }
    std::int16_t *out = c.coefficients.data();
    for (int by = 0; by < c.bh / 8; ++by) {
        for (int bx = 0; bx < c.bw / 8; ++bx) {
            for (int r = 0; r < 8; ++r) {
                const std::uint8_t *p =
                    bits + std::size_t(c.bh - 1 - (by * 8 + r)) * std::size_t(stride) + std::size_t(bx) * 24;
                float *line = mBlock + r * 8;
                for (int k = 0; k < 8; ++k, p += 3)
                    line[k] = red[p[2]] + green[p[1]] + blue[p[0]] + offset;
            }
            ForwardDCT();
            QuantizeBlock(out, c.table);
            out += 64;
        }
    }
}

void cJpeg::ForwardDCT()
{
    // Columns first, then rows; the rows are done as columns of the transposed block,
    // which stays transposed for the quantisation to read.
    transformColumns(mBlock);
    transpose(mBlock);
    transformColumns(mBlock);
}

void cJpeg::QuantizeBlock(std::int16_t *out, int table)
{
    // The product of two singles is exact in double precision; it is rounded to the
    // nearest whole number, halves to even, and saturated to 16 bits.
    const float *multiplier = mMultiplierT[std::size_t(table)].data();
    const std::array<int, 64> &zz = zigZagTransposed();
#ifdef __SSE2__
    alignas(16) std::int16_t rounded[64];
    for (int k = 0; k < 64; k += 4) {
        const __m128 v = _mm_loadu_ps(mBlock + k), m = _mm_loadu_ps(multiplier + k);
        const __m128d low = _mm_mul_pd(_mm_cvtps_pd(v), _mm_cvtps_pd(m));
        const __m128d high = _mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(v, v)), _mm_cvtps_pd(_mm_movehl_ps(m, m)));
        const __m128i whole = _mm_unpacklo_epi64(_mm_cvtpd_epi32(low), _mm_cvtpd_epi32(high));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(rounded + k), _mm_packs_epi32(whole, whole));
    }
    for (int k = 0; k < 64; ++k)
        out[zz[std::size_t(k)]] = rounded[k];
#else
    for (int k = 0; k < 64; ++k) {
        const double v = std::nearbyint(double(mBlock[k]) * double(multiplier[k]));
        out[zz[std::size_t(k)]] = std::int16_t(std::clamp(v, -32768.0, 32767.0));
    }
#endif
}

std::vector<cJpeg::Scan> cJpeg::ScanGroups(int first, int last) const
{
    // At most three components and ten blocks to an MCU; a component too big to share
    // goes alone.
    std::vector<Scan> groups;
    int i = first;
    while (i <= last) {
        const int start = i;
        int blocks = 0, count = 0;
        for (;;) {
            blocks += mComponents[std::size_t(i)].H * mComponents[std::size_t(i)].V;
            ++count;
            ++i;
            if (blocks >= 11) {
                if (count > 1)
                    --i;
                break;
            }
            if (count == 3 || i > last)
                break;
        }
        groups.push_back(Scan{start, i - 1});
    }
    return groups;
}

int cJpeg::McuColumns() const
{
    return ceilDiv(mX, 8 * mHmax);
}

int cJpeg::McuRows() const
{
    return ceilDiv(mY, 8 * mVmax);
}

std::int64_t cJpeg::DummyBlocks(const Component &c) const
{
    return std::int64_t(McuColumns()) * McuRows() * c.H * c.V - std::int64_t(c.bw / 8) * (c.bh / 8);
}

void cJpeg::CountDCSymbols(const Component &c, JpegHuffmanTable::Counts &counts) const
{
    int prediction = 0;
    for (std::size_t p = 0; p < c.coefficients.size(); p += 64) {
        const int dc = c.coefficients[p];
        ++counts[std::size_t(JpegEntropyCoder::BitSize(dc - prediction))];
        prediction = dc;
    }
}

void cJpeg::CountDCSymbolsMCU(const Component &c, JpegHuffmanTable::Counts &counts) const
{
    const int blocksWide = c.bw / 8, blocksHigh = c.bh / 8;
    const int mcuRows = McuRows(), mcuColumns = McuColumns();
    int prediction = 0;
    for (int my = 0; my < mcuRows; ++my) {
        for (int mx = 0; mx < mcuColumns; ++mx) {
            for (int v = 0; v < c.V; ++v) {
                for (int h = 0; h < c.H; ++h) {
                    const int col = mx * c.H + h, row = my * c.V + v;
                    if (col >= blocksWide || row >= blocksHigh) {
                        ++counts[0];
                        continue;
                    }
                    const int dc =
                        c.coefficients[(std::size_t(row) * std::size_t(blocksWide) + std::size_t(col)) * 64];
                    ++counts[std::size_t(JpegEntropyCoder::BitSize(dc - prediction))];
                    prediction = dc;
                }
            }
        }
    }
}

std::int64_t cJpeg::OptimizeHuffmanTables(int first, int last)
{
    std::array<bool, 4> interleaved{};
    for (const Scan &scan : ScanGroups(first, last))
        for (int c = scan.first; c <= scan.last; ++c)
            interleaved[std::size_t(c)] = scan.last > scan.first;

    std::uint64_t bits = 0;
    JpegHuffmanTable::Counts counts{};
    for (int t = 0; t < 4; ++t) {
        bool used = false;
        counts.fill(0);
        for (int c = first; c <= last; ++c) {
            if (mDCTableOf[std::size_t(c)] != t)
                continue;
            used = true;
            if (interleaved[std::size_t(c)])
                CountDCSymbolsMCU(mComponents[std::size_t(c)], counts);
            else
                CountDCSymbols(mComponents[std::size_t(c)], counts);
        }
        if (used) {
            const JpegHuffmanTable::Counts kept = counts;
            JpegHuffmanTable &table = mDCTables[std::size_t(t)];
            table.Generate(counts);
            table.Expand(mPrecision == 12 ? 15 : 11);
            for (int k = 0; k < 256; ++k)
                bits += std::uint64_t(kept[std::size_t(k)]) * std::uint64_t(table.Length[std::size_t(k)] + k);
        }

        used = false;
        counts.fill(0);
        for (int c = first; c <= last; ++c) {
            if (mACTableOf[std::size_t(c)] != t)
                continue;
            used = true;
            const Component &component = mComponents[std::size_t(c)];
            for (std::size_t p = 0; p < component.coefficients.size(); p += 64)
                JpegEntropyCoder::CountACSymbols(&component.coefficients[p], counts);
            // Dummy blocks code an end of block too; counting it guarantees its code.
            if (interleaved[std::size_t(c)])
                counts[0] += std::uint32_t(DummyBlocks(component));
        }
        if (used) {
            const JpegHuffmanTable::Counts kept = counts;
            JpegHuffmanTable &table = mACTables[std::size_t(t)];
            table.Generate(counts);
            table.Expand(255);
            for (int k = 0; k < 256; ++k)
                bits += std::uint64_t(kept[std::size_t(k)]) *
                        std::uint64_t(table.Length[std::size_t(k)] + (k % 16));
        }
    }
    return std::int64_t((bits + 7) / 8);
}

void cJpeg::WriteMarker(std::uint8_t code)
{
    mOut.push_back(0xFF);
    mOut.push_back(code);
}

void cJpeg::WriteWord(int value)
{
    mOut.push_back(std::uint8_t(value >> 8));
    mOut.push_back(std::uint8_t(value));
}

void cJpeg::WriteAPP0()
{
    static const std::uint8_t app0[18] = {0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00,
                                          0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
    mOut.insert(mOut.end(), app0, app0 + 18);
}

void cJpeg::WriteCOM(const QByteArray &text)
{
    if (text.isEmpty())
        return;
    WriteMarker(0xFE);
    WriteWord(int(text.size()) + 2);
    mOut.insert(mOut.end(), text.begin(), text.end());
}

void cJpeg::WriteDQT(int table)
{
    const auto &q = mQuant[std::size_t(table)];
    const bool wide = std::any_of(q.begin(), q.end(), [](std::uint16_t v) { return v > 255; });
    if (wide && mPrecision != 12)
        raise("Illegal precission in Quantization Table");
    WriteMarker(0xDB);
    WriteWord(wide ? 131 : 67);
    mOut.push_back(std::uint8_t((wide ? 0x10 : 0x00) | table));
    for (std::uint16_t v : q) {
        if (wide)
            mOut.push_back(std::uint8_t(v >> 8));
        mOut.push_back(std::uint8_t(v));
    }
}

void cJpeg::WriteSOF()
{
    WriteMarker(0xC0);
    WriteWord(8 + 3 * ComponentCount());
    mOut.push_back(std::uint8_t(mPrecision));
    WriteWord(mY);
    WriteWord(mX);
    mOut.push_back(std::uint8_t(ComponentCount()));
    for (const Component &c : mComponents) {
        mOut.push_back(std::uint8_t(c.id));
        mOut.push_back(std::uint8_t(c.H * 16 + c.V));
        mOut.push_back(std::uint8_t(c.table));
    }
}

void cJpeg::WriteDHT(int tc, int th)
{
    const JpegHuffmanTable &table = tc == 0 ? mDCTables[std::size_t(th)] : mACTables[std::size_t(th)];
    const int count = table.SymbolCount();
    WriteMarker(0xC4);
    WriteWord(2 + 1 + 16 + count);
    mOut.push_back(std::uint8_t(tc * 16 + th));
    mOut.insert(mOut.end(), table.Bits.begin(), table.Bits.end());
    mOut.insert(mOut.end(), table.HuffVal.begin(), table.HuffVal.begin() + count);
}

void cJpeg::WriteScans(int first, int last)
{
    for (const Scan &scan : ScanGroups(first, last)) {
        if (scan.first == scan.last)
            WriteComponentScan(scan.first);
        else
            WriteInterleavedScan(scan.first, scan.last);
    }
}

void cJpeg::WriteComponentScan(int c)
{
    const Component &component = mComponents[std::size_t(c)];
    const int td = mDCTableOf[std::size_t(c)], ta = mACTableOf[std::size_t(c)];
    WriteMarker(0xDA);
    WriteWord(8);
    mOut.push_back(1);
    mOut.push_back(std::uint8_t(component.id));
    mOut.push_back(std::uint8_t(td * 16 + ta));
    mOut.push_back(0x00);
    mOut.push_back(0x3F);
    mOut.push_back(0x00);
    JpegEntropyCoder coder(mOut);
    coder.ResetBitWriter();
    int prediction = 0;
    for (std::size_t p = 0; p < component.coefficients.size(); p += 64)
        coder.EncodeBlock(&component.coefficients[p], prediction, mDCTables[std::size_t(td)],
                          mACTables[std::size_t(ta)]);
    coder.FlushBits();
}

void cJpeg::WriteInterleavedScan(int first, int last)
{
    const int count = last - first + 1;
    WriteMarker(0xDA);
    WriteWord(6 + 2 * count);
    mOut.push_back(std::uint8_t(count));
    for (int c = first; c <= last; ++c) {
        mOut.push_back(std::uint8_t(mComponents[std::size_t(c)].id));
        mOut.push_back(std::uint8_t(mDCTableOf[std::size_t(c)] * 16 + mACTableOf[std::size_t(c)]));
    }
    mOut.push_back(0x00);
    mOut.push_back(0x3F);
    mOut.push_back(0x00);
    JpegEntropyCoder coder(mOut);
    coder.ResetBitWriter();
    std::array<int, 4> prediction{};
    const int mcuRows = McuRows(), mcuColumns = McuColumns();
    for (int my = 0; my < mcuRows; ++my) {
        for (int mx = 0; mx < mcuColumns; ++mx) {
            for (int c = first; c <= last; ++c) {
                const Component &component = mComponents[std::size_t(c)];
                const JpegHuffmanTable &dc = mDCTables[std::size_t(mDCTableOf[std::size_t(c)])];
                const JpegHuffmanTable &ac = mACTables[std::size_t(mACTableOf[std::size_t(c)])];
                const int blocksWide = component.bw / 8, blocksHigh = component.bh / 8;
                for (int v = 0; v < component.V; ++v) {
                    for (int h = 0; h < component.H; ++h) {
                        const int col = mx * component.H + h, row = my * component.V + v;
                        if (col >= blocksWide || row >= blocksHigh) {
                            coder.EncodeDummyBlock(dc, ac);
                            continue;
                        }
                        const std::size_t p =
                            (std::size_t(row) * std::size_t(blocksWide) + std::size_t(col)) * 64;
                        coder.EncodeBlock(&component.coefficients[p], prediction[std::size_t(c)], dc, ac);
                    }
                }
            }
        }
    }
    coder.FlushBits();
}

std::vector<std::uint8_t> cJpeg::FileBytes()
{
    const int nf = ComponentCount();
    // Coefficients must exist and fit the frame: a sampling that failed after a good one
    // leaves a new frame size with the old coefficients, which would make a corrupt file.
    for (const Component &c : mComponents)
        if (mPrecision == 0 || c.coefficients.empty() ||
            c.coefficients.size() != std::size_t(c.bw) * std::size_t(c.bh) ||
            c.xi != ceilDiv(std::int64_t(mX) * c.H, mHmax) || c.yi != ceilDiv(std::int64_t(mY) * c.V, mVmax))
            throw RuntimeError(SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    // The frame header holds the size in 16 bits.
    if (mX < 1 || mY < 1 || mX > 65535 || mY > 65535)
        raise("Illegal Image Size");

    for (int c = 0; c < nf; ++c) {
        mDCTableOf[std::size_t(c)] = c == 0 ? 0 : 1;
        mACTableOf[std::size_t(c)] = c == 0 ? 0 : 1;
    }
    const std::int64_t estimate = OptimizeHuffmanTables(0, nf - 1);
    const QByteArray comment = toAnsi(mComment);
    mOut.clear();
    mOut.reserve(std::size_t(std::llround(double(estimate) * 1.3 + 1000 + double(comment.size()))));

    WriteMarker(0xD8);
    WriteAPP0();
    WriteCOM(comment);
    WriteCOM(QByteArray(CreditText()));
    WriteDQT(0);
    if (nf > 1)
        WriteDQT(1);
    WriteSOF();
    WriteDHT(0, 0);
    WriteDHT(1, 0);
    if (nf > 1) {
        WriteDHT(0, 1);
        WriteDHT(1, 1);
    }
    WriteScans(0, nf - 1);
    WriteMarker(0xD9);
    return std::move(mOut);
}

std::int32_t cJpeg::SaveFile(const QString &fileName)
{
    if (fileName.isEmpty())
        return 1;
    const QFileInfo info(fileName);
    if (info.exists() && !info.isDir())
        return 2;
    const std::vector<std::uint8_t> bytes = FileBytes();

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        // Created by someone else since the check: still never overwritten.
        if (QFileInfo::exists(fileName) && !QFileInfo(fileName).isDir())
            return 2;
        if (!info.absoluteDir().exists())
            throw RuntimeError(err::PathNotFound, QStringLiteral("Path not found: %1").arg(fileName));
        throw RuntimeError(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(fileName));
    }
    const qint64 written = file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    const bool flushed = file.flush();
    file.close();
    if (written != qint64(bytes.size()) || !flushed || file.error() != QFileDevice::NoError) {
        // Never leave a partial picture behind.
        file.remove();
        throw RuntimeError(PathFileAccessError, QStringLiteral("Could not write %1").arg(fileName));
    }
    return 0;
}
