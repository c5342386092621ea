#include "platform/gdi/Gdi.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiBitmap.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform;

namespace {

BITMAPINFO header(int width, int height, int bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = std::uint16_t(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A memory context holding a new DIB section, released at the end of the test.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HBITMAP stock = nullptr;
    std::uint8_t *bits = nullptr;

    Surface(int width, int height, int bitCount, const RGBQUAD *colours = nullptr, int colourCount = 0)
    {
        BITMAPINFO info = header(width, height, bitCount);
        for (int i = 0; i < colourCount; ++i)
            info.bmiColors[i] = colours[i];
        dc = CreateCompatibleDC(nullptr);
        void *p = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<std::uint8_t *>(p);
        stock = SelectObject(dc, bitmap);
    }
    ~Surface()
    {
        SelectObject(dc, stock);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    std::uint32_t pixel(int x, int y) const { return bitmap->pixel(x, y); }
    void set(int x, int y, std::uint32_t rgb) { bitmap->setPixel(x, y, rgb); }
};

} // namespace

TEST(GdiDibSection, RowsArePaddedAndBottomUp)
{
    EXPECT_EQ(4, GdiBitmap::strideFor(1, 1));
    EXPECT_EQ(8, GdiBitmap::strideFor(33, 1));
    EXPECT_EQ(8, GdiBitmap::strideFor(9, 4));
    EXPECT_EQ(8, GdiBitmap::strideFor(5, 8));
    EXPECT_EQ(16, GdiBitmap::strideFor(5, 24));
    EXPECT_EQ(20, GdiBitmap::strideFor(5, 32));

    Surface s(5, 3, 24);
    ASSERT_NE(nullptr, s.bits);
    s.set(0, 0, 0x010203); // top left
    // The top row is the last row in memory: blue, green, red.
    EXPECT_EQ(0x03, s.bits[2 * 16]);
    EXPECT_EQ(0x02, s.bits[2 * 16 + 1]);
    EXPECT_EQ(0x01, s.bits[2 * 16 + 2]);

    BITMAPINFO topDown = header(5, -3, 24);
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &topDown, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    bitmap->setPixel(0, 0, 0x010203);
    EXPECT_EQ(0x03, static_cast<std::uint8_t *>(bits)[0]);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiDibSection, PackedPixelsAreMostSignificantFirst)
{
    const RGBQUAD mono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    Surface one(10, 1, 1, mono, 2);
    one.set(1, 0, 0xFFFFFF);
    one.set(9, 0, 0xF0F0F0);
    EXPECT_EQ(0x40, one.bits[0]);
    EXPECT_EQ(0x40, one.bits[1]);
    RGBQUAD sixteen[16] = {};
    for (int i = 0; i < 16; ++i)
        sixteen[i] = RGBQUAD{std::uint8_t(i * 17), std::uint8_t(i * 17), std::uint8_t(i * 17), 0};
    Surface four(3, 1, 4, sixteen, 16);
    four.set(0, 0, 0x111111);
    four.set(1, 0, 0xEEEEEE);
    four.set(2, 0, 0x222222);
    EXPECT_EQ(0x1E, four.bits[0]);
    EXPECT_EQ(0x20, four.bits[1]);
}

TEST(GdiDibSection, RefusesBadHeaders)
{
    void *bits = reinterpret_cast<void *>(1);
    BITMAPINFO info = header(0, 4, 24);
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    EXPECT_EQ(nullptr, bits);
    info = header(4, 0, 24);
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    for (int depth : {0, 2, 16, 48}) {
        info = header(4, 4, depth);
        EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) << depth;
    }
    info = header(4, 4, 24);
    info.bmiHeader.biCompression = 1;
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    info = header(4, 4, 24);
    info.bmiHeader.biPlanes = 2;
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // Far more memory than a bitmap may take.
    info = header(1 << 20, 1 << 20, 24);
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

TEST(GdiObjects, SelectionAndDeletionFollowThePlatformRules)
{
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, display);
    EXPECT_EQ(nullptr, CreateDCA("PRINTER", nullptr, nullptr, nullptr));
    HDC dc = CreateCompatibleDC(display);
    ASSERT_NE(nullptr, dc);
    EXPECT_TRUE(DeleteDC(display));
    EXPECT_FALSE(DeleteDC(display)); // a stale handle is refused
    EXPECT_EQ(nullptr, CreateCompatibleDC(display));

    BITMAPINFO info = header(2, 2, 24);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    HBITMAP stock = SelectObject(dc, bitmap);
    ASSERT_NE(nullptr, stock);
    BITMAP description{};
    ASSERT_EQ(int(sizeof(BITMAP)), GetObjectA(stock, sizeof(BITMAP), &description));
    EXPECT_EQ(1, description.bmWidth);
    EXPECT_EQ(1, description.bmBitsPixel);
    EXPECT_FALSE(DeleteObject(stock));

    // Selected bitmaps cannot be deleted nor selected into a second context.
    EXPECT_FALSE(DeleteObject(bitmap));
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(nullptr, SelectObject(other, bitmap));
    EXPECT_EQ(bitmap, SelectObject(dc, stock));
    EXPECT_NE(nullptr, SelectObject(other, bitmap));
    // Deleting the context releases the selection but not the bitmap.
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(0, GetObjectA(bitmap, sizeof(BITMAP), &description));
    EXPECT_TRUE(DeleteDC(dc));

    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(nullptr, SelectObject(screen, stock)); // a display context takes no bitmap
    EXPECT_EQ(1, ReleaseDC(desktop, screen));
}

TEST(GdiObjects, GetObjectDescribesTheBitmap)
{
    Surface s(7, 5, 8);
    BITMAP description{};
    ASSERT_EQ(int(sizeof(BITMAP)), GetObjectA(s.bitmap, sizeof(BITMAP), &description));
    EXPECT_EQ(7, description.bmWidth);
    EXPECT_EQ(5, description.bmHeight);
    EXPECT_EQ(8, description.bmWidthBytes);
    EXPECT_EQ(1, description.bmPlanes);
    EXPECT_EQ(8, description.bmBitsPixel);
    EXPECT_EQ(s.bits, description.bmBits);
    EXPECT_EQ(0, GetObjectA(s.bitmap, 4, &description));
}

TEST(GdiColourTables, ReadAndWriteWithinRange)
{
    Surface s(2, 2, 4);
    RGBQUAD colours[20];
    for (int i = 0; i < 20; ++i)
        colours[i] = RGBQUAD{std::uint8_t(i), 0, 0, 0};
    EXPECT_EQ(4u, SetDIBColorTable(s.dc, 12, 20, colours));
    RGBQUAD read[16] = {};
    EXPECT_EQ(16u, GetDIBColorTable(s.dc, 0, 256, read));
    EXPECT_EQ(3, read[15].rgbBlue);
    EXPECT_EQ(0, read[11].rgbBlue);
    EXPECT_EQ(0u, GetDIBColorTable(s.dc, 16, 1, read));

    Surface colour(2, 2, 24);
    EXPECT_EQ(0u, GetDIBColorTable(colour.dc, 0, 256, read));
    EXPECT_EQ(0u, SetDIBColorTable(colour.dc, 0, 1, colours));
}

TEST(GdiBitBlt, RasterOperations)
{
    Surface source(1, 1, 24), dest(1, 1, 24);
    source.set(0, 0, 0x0F0F0F);
    const struct {
        std::uint32_t rop;
        std::uint32_t expected;
    } cases[] = {{SRCCOPY, 0x0F0F0F},     {SRCPAINT, 0x3F3F3F},   {SRCAND, 0x030303},
                 {SRCINVERT, 0x3C3C3C},   {SRCERASE, 0x0C0C0C},   {NOTSRCCOPY, 0xF0F0F0},
                 {NOTSRCERASE, 0xC0C0C0}, {MERGEPAINT, 0xF3F3F3}, {DSTINVERT, 0xCCCCCC},
                 {BLACKNESS, 0x000000},   {WHITENESS, 0xFFFFFF}};
    for (const auto &c : cases) {
        dest.set(0, 0, 0x333333);
        ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 1, 1, source.dc, 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(c.expected, dest.pixel(0, 0)) << std::hex << c.rop;
    }
    EXPECT_FALSE(BitBlt(dest.dc, 0, 0, 1, 1, source.dc, 0, 0, 0x12345678));
    EXPECT_TRUE(BitBlt(dest.dc, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_FALSE(BitBlt(dest.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(GdiBitBlt, ClipsToBothBitmaps)
{
    Surface source(3, 3, 24), dest(3, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            source.set(x, y, std::uint32_t(0x10 * y + x + 1));
    ASSERT_TRUE(BitBlt(dest.dc, -1, 1, 4, 4, source.dc, 0, 0, SRCCOPY));
    // Source (1, 0) lands on (0, 1); what falls outside either bitmap is dropped.
    EXPECT_EQ(0x02u, dest.pixel(0, 1));
    EXPECT_EQ(0x13u, dest.pixel(1, 2));
    EXPECT_EQ(0x00u, dest.pixel(2, 2)); // source (3, 1) does not exist
    EXPECT_EQ(0x00u, dest.pixel(0, 0));
}

TEST(GdiBitBlt, OverlappingCopiesWithinOneBitmap)
{
    Surface s(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            s.set(x, y, std::uint32_t(0x10 * y + x));
    ASSERT_TRUE(BitBlt(s.dc, 1, 1, 3, 3, s.dc, 0, 0, SRCCOPY));
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x)
            EXPECT_EQ(std::uint32_t(0x10 * (y - 1) + x - 1), s.pixel(x, y)) << x << "," << y;
}

TEST(GdiBitBlt, ColoursMatchTheNearestEntry)
{
    const RGBQUAD table[3] = {{0, 0, 0, 0}, {0, 0, 200, 0}, {255, 255, 255, 0}};
    Surface indexed(3, 1, 8, table, 3);
    Surface colour(3, 1, 24);
    colour.set(0, 0, 0xF00000); // nearest to red 200
    colour.set(1, 0, 0x404040); // nearest to black (entries 3.. are black too; the first wins)
    colour.set(2, 0, 0xE0E0F0); // nearest to white
    ASSERT_TRUE(BitBlt(indexed.dc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(1, indexed.bitmap->index(0, 0));
    EXPECT_EQ(0, indexed.bitmap->index(1, 0));
    EXPECT_EQ(2, indexed.bitmap->index(2, 0));

    // Back to colour through the table, and 32 bits to 24.
    Surface back(3, 1, 24), wide(3, 1, 32);
    ASSERT_TRUE(BitBlt(back.dc, 0, 0, 3, 1, indexed.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(0xC80000u, back.pixel(0, 0));
    wide.set(1, 0, 0xABCDEF);
    ASSERT_TRUE(BitBlt(back.dc, 0, 0, 3, 1, wide.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(0xABCDEFu, back.pixel(1, 0));
}

TEST(GdiStretchBlt, HalftoneAveragesAreas)
{
    Surface source(3, 1, 24), dest(2, 1, 24);
    source.set(0, 0, 0x000000);
    source.set(1, 0, 0x5A5A5A); // 90
    source.set(2, 0, 0xB4B4B4); // 180
    EXPECT_EQ(BLACKONWHITE, SetStretchBltMode(dest.dc, HALFTONE));
    EXPECT_EQ(HALFTONE, GetStretchBltMode(dest.dc));
    ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 2, 1, source.dc, 0, 0, 3, 1, SRCCOPY));
    // Each takes one and a half source pixels: (0 + 90 / 2) / 1.5 and (90 / 2 + 180) / 1.5.
    EXPECT_EQ(0x1E1E1Eu, dest.pixel(0, 0));
    EXPECT_EQ(0x969696u, dest.pixel(1, 0));

    Surface square(4, 4, 24), quarter(2, 2, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            square.set(x, y, std::uint32_t((x + 4 * y) * 10));
    SetStretchBltMode(quarter.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(quarter.dc, 0, 0, 2, 2, square.dc, 0, 0, 4, 4, SRCCOPY));
    // (0 + 10 + 40 + 50) / 4 = 25 in blue; (100 + 110 + 140 + 150) / 4 = 125.
    EXPECT_EQ(25u, quarter.pixel(0, 0));
    EXPECT_EQ(125u, quarter.pixel(1, 1));

    // Three to one: (0 + 1 + 1) / 3 rounds to 1, (1 + 1 + 2) / 3 to 1, (2 + 2 + 1) / 3 to 2.
    Surface row(9, 1, 24), third(3, 1, 24);
    const std::uint32_t values[9] = {0, 1, 1, 1, 1, 2, 2, 2, 1};
    for (int x = 0; x < 9; ++x)
        row.set(x, 0, values[x]);
    SetStretchBltMode(third.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(third.dc, 0, 0, 3, 1, row.dc, 0, 0, 9, 1, SRCCOPY));
    EXPECT_EQ(1u, third.pixel(0, 0));
    EXPECT_EQ(1u, third.pixel(1, 0));
    EXPECT_EQ(2u, third.pixel(2, 0));
}

TEST(GdiStretchBlt, HalftoneIntoIndexedAndClippedDestinations)
{
    // A clipped destination only receives its visible part; an indexed one the nearest entries.
    Surface source(4, 4, 24), small(2, 2, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.set(x, y, x < 2 ? 0x000000 : 0xFFFFFF);
    SetStretchBltMode(small.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(small.dc, -1, 0, 2, 2, source.dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(0xFFFFFFu, small.pixel(0, 0));
    EXPECT_EQ(0u, small.pixel(1, 0));

    const RGBQUAD mono[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    Surface one(2, 1, 1, mono, 2);
    SetStretchBltMode(one.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(one.dc, 0, 0, 2, 1, source.dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(0, one.bitmap->index(0, 0));
    EXPECT_EQ(1, one.bitmap->index(1, 0));
}

TEST(GdiStretchBlt, ColourOnColourPicksNearestPixels)
{
    Surface source(4, 1, 24), shrunk(2, 1, 24), grown(8, 1, 24);
    for (int x = 0; x < 4; ++x)
        source.set(x, 0, std::uint32_t(x + 1));
    EXPECT_NE(0, SetStretchBltMode(shrunk.dc, COLORONCOLOR));
    ASSERT_TRUE(StretchBlt(shrunk.dc, 0, 0, 2, 1, source.dc, 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(2u, shrunk.pixel(0, 0));
    EXPECT_EQ(4u, shrunk.pixel(1, 0));
    SetStretchBltMode(grown.dc, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(grown.dc, 0, 0, 8, 1, source.dc, 0, 0, 4, 1, SRCCOPY));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(std::uint32_t(x / 2 + 1), grown.pixel(x, 0));

    EXPECT_EQ(0, SetStretchBltMode(grown.dc, 5));
    EXPECT_EQ(0, SetStretchBltMode(grown.dc, 0));
    EXPECT_FALSE(StretchBlt(grown.dc, 0, 0, 0, 1, source.dc, 0, 0, 4, 1, SRCCOPY));
}

TEST(GdiPlgBlt, RefusesWhatItCannotMap)
{
    Surface source(2, 2, 24), dest(2, 2, 24);
    const POINT flat[3] = {{0, 0}, {2, 0}, {4, 0}};
    EXPECT_FALSE(PlgBlt(dest.dc, flat, source.dc, 0, 0, 2, 2, nullptr, 0, 0));
    const POINT identity[3] = {{0, 0}, {2, 0}, {0, 2}};
    EXPECT_FALSE(PlgBlt(dest.dc, identity, source.dc, 0, 0, 2, 2, source.bitmap, 0, 0));
    EXPECT_FALSE(PlgBlt(dest.dc, identity, dest.dc, 0, 0, 2, 2, nullptr, 0, 0));
    source.set(1, 0, 0x777777);
    ASSERT_TRUE(PlgBlt(dest.dc, identity, source.dc, 0, 0, 2, 2, nullptr, 0, 0));
    EXPECT_EQ(0x777777u, dest.pixel(1, 0));
}

TEST(GdiGetDIBits, CopiesIndexesOrMatchesColours)
{
    const RGBQUAD table[4] = {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {250, 250, 250, 0}};
    Surface indexed(3, 2, 8, table, 4);
    indexed.bitmap->setIndex(2, 0, 3);

    BITMAPINFO info = header(3, 2, 8);
    std::vector<std::uint8_t> bits(8, 0xEE);
    EXPECT_EQ(2, GetDIBits(indexed.dc, indexed.bitmap, 0, 2, bits.data(), &info, DIB_RGB_COLORS));
    EXPECT_EQ(3, bits[4 + 2]); // top row is the second scan line
    EXPECT_EQ(250, info.bmiColors[3].rgbRed);

    Surface colour(2, 1, 24);
    colour.set(0, 0, 0x102030);
    BITMAPINFO grey = header(2, 1, 8);
    for (int i = 0; i < 256; ++i)
        grey.bmiColors[i] = RGBQUAD{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    std::vector<std::uint8_t> greyBits(4, 0);
    EXPECT_EQ(1, GetDIBits(colour.dc, colour.bitmap, 0, 1, greyBits.data(), &grey, DIB_RGB_COLORS));
    EXPECT_EQ(0x20, greyBits[0]);
    EXPECT_EQ(0, greyBits[1]);

    BITMAPINFO query{};
    EXPECT_EQ(1, GetDIBits(colour.dc, colour.bitmap, 0, 1, nullptr, &query, DIB_RGB_COLORS));
    EXPECT_EQ(2, query.bmiHeader.biWidth);
    EXPECT_EQ(24, query.bmiHeader.biBitCount);
    EXPECT_EQ(8u, query.bmiHeader.biSizeImage);
}

TEST(GdiStretchBlt, HalftoneOfColourPicturesStaysWithinOneLevelOfTheExactAreaAverage)
{
    struct Case {
        int sw, sh, dw, dh, bits;
    };
    const Case cases[] = {
        {37, 23, 16, 11, 32}, // shrinking, as a photograph fitted into a box
        {37, 23, 16, 11, 24},
        {7, 5, 20, 13, 32},   // growing a small picture
        {30, 8, 12, 20, 24},  // shrinking one way, growing the other
        {100, 3, 9, 2, 32},   // many source pixels to each destination pixel
    };
    std::uint32_t seed = 12345;
    const auto random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFFFu;
    };
    for (const Case &c : cases) {
        Surface source(c.sw, c.sh, c.bits), dest(c.dw, c.dh, 24);
        for (int y = 0; y < c.sh; ++y)
            for (int x = 0; x < c.sw; ++x)
                source.set(x, y, random());
        SetStretchBltMode(dest.dc, HALFTONE);
        ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, c.dw, c.dh, source.dc, 0, 0, c.sw, c.sh, SRCCOPY));
        const double kx = double(c.sw) / c.dw, ky = double(c.sh) / c.dh;
        int worst = 0;
        for (int y = 0; y < c.dh; ++y) {
            for (int x = 0; x < c.dw; ++x) {
                for (int shift : {0, 8, 16}) {
                    double sum = 0;
                    for (int sy = 0; sy < c.sh; ++sy) {
                        const double oy = std::min((y + 1) * ky, sy + 1.0) - std::max(y * ky, double(sy));
                        if (oy <= 0)
                            continue;
                        for (int sx = 0; sx < c.sw; ++sx) {
                            const double ox = std::min((x + 1) * kx, sx + 1.0) - std::max(x * kx, double(sx));
                            if (ox > 0)
                                sum += ox * oy * ((source.pixel(sx, sy) >> shift) & 0xFF);
                        }
                    }
                    const int exact = int(std::lround(sum / (kx * ky)));
                    worst = std::max(worst, std::abs(int((dest.pixel(x, y) >> shift) & 0xFF) - exact));
                }
            }
        }
        EXPECT_LE(worst, 1) << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh << " at " << c.bits;
    }
}
