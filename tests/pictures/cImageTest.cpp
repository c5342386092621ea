#include "pictures/cImage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/StdPicture.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Pixels of a 24-bit image as 0xRRGGBB, (0, 0) at the top left.
std::uint32_t pixelAt(const cImage &image, int x, int y)
{
    const std::uint8_t *p = image.DIBitsPtr() +
                            std::size_t(image.Height() - 1 - y) * std::size_t(image.BytesPerScanLine()) +
                            std::size_t(x) * 3;
    return (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

void setPixel(cImage &image, int x, int y, std::uint32_t rgb)
{
    std::uint8_t *p = image.DIBitsPtr() +
                      std::size_t(image.Height() - 1 - y) * std::size_t(image.BytesPerScanLine()) +
                      std::size_t(x) * 3;
    p[0] = std::uint8_t(rgb);
    p[1] = std::uint8_t(rgb >> 8);
    p[2] = std::uint8_t(rgb >> 16);
}

std::uint8_t indexAt(const cImage &image, int x, int y)
{
    return image.DIBitsPtr()[std::size_t(image.Height() - 1 - y) * std::size_t(image.BytesPerScanLine()) +
                             std::size_t(x)];
}

// A 3 x 2 picture whose every pixel is different: 0x0000yx.
std::unique_ptr<cImage> numbered(int width = 3, int height = 2)
{
    auto image = std::make_unique<cImage>();
    EXPECT_TRUE(image->Create(width, height, 24));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setPixel(*image, x, y, std::uint32_t(y * 16 + x + 1));
    return image;
}

std::vector<RGBQUAD> colourTableOf(const cImage &image)
{
    std::vector<RGBQUAD> table(256);
    table.resize(GetDIBColorTable(image.hdc(), 0, 256, table.data()));
    return table;
}

} // namespace

TEST(cImage, NewObjectHoldsNothing)
{
    cImage image;
    EXPECT_EQ(0, image.Width());
    EXPECT_EQ(0, image.Height());
    EXPECT_EQ(0, image.BitCount());
    EXPECT_EQ(nullptr, image.hdc());
    EXPECT_EQ(nullptr, image.DIBitsPtr());
}

TEST(cImage, RowStrideByDepth)
{
    const struct {
        int width, bits, stride;
    } cases[] = {{1, 1, 4}, {32, 1, 4}, {33, 1, 8},  {8, 4, 4},   {9, 4, 8},
                 {5, 8, 8}, {4, 8, 4},  {5, 24, 16}, {4, 24, 12}, {1, 24, 4}};
    for (const auto &c : cases) {
        cImage image;
        ASSERT_TRUE(image.Create(c.width, 3, std::int16_t(c.bits)));
        EXPECT_EQ(c.stride, image.BytesPerScanLine()) << c.width << " px at " << c.bits;
        // The bitmap the platform made has that very layout.
        BITMAP description{};
        ASSERT_NE(0, GetObjectA(liveContext(image.hdc())->bitmap, sizeof(BITMAP), &description));
        EXPECT_EQ(c.stride, description.bmWidthBytes);
        EXPECT_EQ(c.bits, description.bmBitsPixel);
        EXPECT_EQ(image.DIBitsPtr(), description.bmBits);
    }
}

TEST(cImage, GreyTablesByDepth)
{
    cImage one, four, eight;
    ASSERT_TRUE(one.Create(4, 4, 1));
    ASSERT_TRUE(four.Create(4, 4, 4));
    ASSERT_TRUE(eight.Create(4, 4, 8));
    const auto oneTable = colourTableOf(one);
    ASSERT_EQ(2u, oneTable.size());
    EXPECT_EQ(0, oneTable[0].rgbRed);
    EXPECT_EQ(255, oneTable[1].rgbBlue);
    const auto fourTable = colourTableOf(four);
    ASSERT_EQ(16u, fourTable.size());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(i * 17, fourTable[std::size_t(i)].rgbBlue);
        EXPECT_EQ(i * 17, fourTable[std::size_t(i)].rgbGreen);
        EXPECT_EQ(i * 17, fourTable[std::size_t(i)].rgbRed);
        EXPECT_EQ(i * 17, four.Colours()[i].rgbRed);
    }
    const auto eightTable = colourTableOf(eight);
    ASSERT_EQ(256u, eightTable.size());
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(i, eightTable[std::size_t(i)].rgbGreen);
}

TEST(cImage, UnsupportedDepthOrSizeFails)
{
    cImage image;
    ASSERT_TRUE(image.Create(10, 5, 24));
    EXPECT_FALSE(image.Create(3, 3, 16));
    EXPECT_EQ(nullptr, image.hdc());
    EXPECT_EQ(nullptr, image.DIBitsPtr());
    // The size stays that of the last Create that made its context.
    EXPECT_EQ(10, image.Width());
    EXPECT_FALSE(image.Create(3, 3, 32));
    EXPECT_FALSE(image.Create(0, 3, 24));
    EXPECT_EQ(nullptr, image.hdc());
    EXPECT_TRUE(image.Create(2, 2, 8));
    EXPECT_NE(nullptr, image.hdc());
}

TEST(cImage, MirrorMapsPixels)
{
    auto image = numbered();
    auto upsideDown = image->Mirror(true);
    auto leftToRight = image->Mirror(false);
    ASSERT_EQ(3, upsideDown->Width());
    ASSERT_EQ(2, upsideDown->Height());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(pixelAt(*image, x, 1 - y), pixelAt(*upsideDown, x, y));
            EXPECT_EQ(pixelAt(*image, 2 - x, y), pixelAt(*leftToRight, x, y));
        }
    }
}

TEST(cImage, RotateMapsPixelsByQuarterTurns)
{
    auto image = numbered();
    auto left = image->Rotate(90);
    auto half = image->Rotate(180);
    auto right = image->Rotate(270);
    ASSERT_TRUE(left && half && right);
    EXPECT_EQ(2, left->Width());
    EXPECT_EQ(3, left->Height());
    EXPECT_EQ(3, half->Width());
    EXPECT_EQ(2, right->Width());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const std::uint32_t p = pixelAt(*image, x, y);
            // A quarter turn counter-clockwise: the top row becomes the left column, read upwards.
            EXPECT_EQ(p, pixelAt(*left, y, 2 - x));
            EXPECT_EQ(p, pixelAt(*half, 2 - x, 1 - y));
            // Clockwise: the top row becomes the right column, read downwards.
            EXPECT_EQ(p, pixelAt(*right, 1 - y, x));
        }
    }
}

TEST(cImage, RotateReducesAnglesAndRefusesOthers)
{
    auto image = numbered();
    auto minusNinety = image->Rotate(-90);
    auto twoSeventy = image->Rotate(270);
    auto fourFifty = image->Rotate(450);
    auto ninety = image->Rotate(90);
    ASSERT_TRUE(minusNinety && twoSeventy && fourFifty && ninety);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(pixelAt(*twoSeventy, x, y), pixelAt(*minusNinety, x, y));
            EXPECT_EQ(pixelAt(*ninety, x, y), pixelAt(*fourFifty, x, y));
        }
    }
    EXPECT_EQ(nullptr, image->Rotate(0));
    EXPECT_EQ(nullptr, image->Rotate(45));
    EXPECT_EQ(nullptr, image->Rotate(360));
    EXPECT_EQ(nullptr, image->Rotate(-45));
}

TEST(cImage, RotateKeepsAColourTable)
{
    cImage image;
    ASSERT_TRUE(image.Create(2, 1, 8));
    RGBQUAD colours[3] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    ASSERT_EQ(3u, SetDIBColorTable(image.hdc(), 0, 3, colours));
    image.DIBitsPtr()[0] = 1;
    image.DIBitsPtr()[1] = 2;
    auto turned = image.Rotate(90);
    ASSERT_TRUE(turned);
    EXPECT_EQ(8, turned->BitCount());
    EXPECT_EQ(255, colourTableOf(*turned)[1].rgbGreen);
    // (0, 0) goes to the bottom, (1, 0) to the top of the single column.
    EXPECT_EQ(2, indexAt(*turned, 0, 0));
    EXPECT_EQ(1, indexAt(*turned, 0, 1));
}

TEST(cImage, GreyscaleMatchesTheGreyTable)
{
    cImage image;
    ASSERT_TRUE(image.Create(3, 1, 24));
    setPixel(image, 0, 0, 0xFFFFFF);
    setPixel(image, 1, 0, 0x000000);
    setPixel(image, 2, 0, 0xC86432); // 200, 100, 50: nearest grey is the mean, 117
    auto grey = image.Greyscale();
    ASSERT_EQ(8, grey->BitCount());
    EXPECT_EQ(255, indexAt(*grey, 0, 0));
    EXPECT_EQ(0, indexAt(*grey, 1, 0));
    EXPECT_EQ(117, indexAt(*grey, 2, 0));
}

TEST(cImage, ResampleAveragesAreas)
{
    cImage image;
    ASSERT_TRUE(image.Create(4, 2, 24));
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y)
            setPixel(image, x, y, x % 2 ? 0xFFFFFF : 0x000000);
    auto half = image.Resample(2, 1);
    ASSERT_EQ(2, half->Width());
    ASSERT_EQ(1, half->Height());
    // Two black and two white pixels under each: 127.5 rounds to 128.
    EXPECT_EQ(0x808080u, pixelAt(*half, 0, 0));
    EXPECT_EQ(0x808080u, pixelAt(*half, 1, 0));

    auto same = image.Resample(4, 2);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(pixelAt(image, x, 1), pixelAt(*same, x, 1));

    cImage dot;
    ASSERT_TRUE(dot.Create(1, 1, 24));
    setPixel(dot, 0, 0, 0x123456);
    auto big = dot.Resample(3, 3);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(0x123456u, pixelAt(*big, i % 3, i / 3));
}

TEST(cImage, CopyHdcChoosesDepthFromTheColourTable)
{
    cImage sixteen;
    ASSERT_TRUE(sixteen.Create(4, 2, 4));
    RGBQUAD colours[16];
    for (int i = 0; i < 16; ++i)
        colours[i] = RGBQUAD{std::uint8_t(i), std::uint8_t(i * 3), std::uint8_t(255 - i), 0};
    ASSERT_EQ(16u, SetDIBColorTable(sixteen.hdc(), 0, 16, colours));
    sixteen.DIBitsPtr()[0] = 0x5A; // bottom row: pixels 5 and 10

    cImage copy;
    ASSERT_TRUE(copy.CopyHDC(sixteen.hdc(), 4, 2));
    EXPECT_EQ(4, copy.BitCount());
    const auto table = colourTableOf(copy);
    ASSERT_EQ(16u, table.size());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(255 - i, table[std::size_t(i)].rgbRed);
    EXPECT_EQ(0x5A, copy.DIBitsPtr()[0]);

    auto colour = numbered(4, 4);
    cImage part;
    ASSERT_TRUE(part.CopyHDC(colour->hdc(), 2, 2, 0, 1, 2));
    EXPECT_EQ(24, part.BitCount());
    EXPECT_EQ(pixelAt(*colour, 1, 2), pixelAt(part, 0, 0));
    EXPECT_EQ(pixelAt(*colour, 2, 3), pixelAt(part, 1, 1));
}

TEST(cImage, CopyPalletNeedsAColourTable)
{
    auto colour = numbered();
    cImage eight, other;
    ASSERT_TRUE(eight.Create(2, 2, 8));
    EXPECT_FALSE(eight.CopyPalletHDC(colour->hdc()));
    ASSERT_TRUE(other.Create(2, 2, 8));
    RGBQUAD red{0, 0, 255, 0};
    SetDIBColorTable(other.hdc(), 7, 1, &red);
    EXPECT_TRUE(eight.CopyPalletHDC(other.hdc()));
    EXPECT_EQ(255, colourTableOf(eight)[7].rgbRed);
    EXPECT_EQ(8, colourTableOf(eight)[8].rgbRed);
}

TEST(cImage, CopyStdPictureChoosesAndHandsBackTheDepth)
{
    QImage rgb(5, 3, QImage::Format_RGB32);
    rgb.fill(QColor(10, 20, 30));
    rgb.setPixel(4, 0, qRgb(200, 100, 50));
    auto picture = StdPicture::FromImage(rgb);
    ASSERT_TRUE(picture);
    cImage image;
    std::int16_t depth = 0;
    ASSERT_TRUE(image.CopyStdPicture(*picture, depth));
    EXPECT_EQ(24, depth);
    EXPECT_EQ(5, image.Width());
    EXPECT_EQ(3, image.Height());
    EXPECT_EQ(0xC86432u, pixelAt(image, 4, 0));
    EXPECT_EQ(0x0A141Eu, pixelAt(image, 0, 2));

    auto sixteenBit = StdPicture::FromImage(QImage(rgb).convertToFormat(QImage::Format_RGB16));
    depth = 0;
    ASSERT_TRUE(image.CopyStdPicture(*sixteenBit, depth));
    EXPECT_EQ(24, depth);

    QImage indexed(4, 2, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 40; ++i)
        table.append(qRgb(i * 6, 255 - i, 7));
    indexed.setColorTable(table);
    indexed.fill(3);
    indexed.setPixel(1, 0, 39);
    auto eightBit = StdPicture::FromImage(indexed);
    depth = 0;
    ASSERT_TRUE(image.CopyStdPicture(*eightBit, depth));
    EXPECT_EQ(8, depth);
    EXPECT_EQ(39, indexAt(image, 1, 0));
    EXPECT_EQ(3, indexAt(image, 0, 1));
    EXPECT_EQ(234, colourTableOf(image)[39].rgbRed);

    // A requested depth is kept: colours are matched to the grey table.
    depth = 8;
    ASSERT_TRUE(image.CopyStdPicture(*picture, depth));
    EXPECT_EQ(8, depth);
    EXPECT_EQ(117, indexAt(image, 4, 0));
}

TEST(cImage, PaintHdcBlitsWithTheRasterOperation)
{
    auto target = numbered(4, 4);
    cImage dot;
    ASSERT_TRUE(dot.Create(1, 1, 24));
    setPixel(dot, 0, 0, 0x00FF00);
    const std::uint32_t before = pixelAt(*target, 2, 1);
    dot.PaintHDC(target->hdc(), 2, 1, SRCINVERT);
    EXPECT_EQ(before ^ 0x00FF00u, pixelAt(*target, 2, 1));
    dot.PaintHDC(target->hdc(), 2, 1, SRCINVERT);
    EXPECT_EQ(before, pixelAt(*target, 2, 1));
    dot.PaintHDC(target->hdc(), 3, 3);
    EXPECT_EQ(0x00FF00u, pixelAt(*target, 3, 3));
}
