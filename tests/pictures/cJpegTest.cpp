#include "JpegFile.h"
#include "LibJpeg.h"
#include "TestPictures.h"

#include "pictures/PictureBox.h"
#include "pictures/cImage.h"
#include "pictures/cJpeg.h"
#include "platform/RuntimeError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/StdPicture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <gtest/gtest.h>

using jpegfile::Segment;

namespace {

using Sampling = std::array<int, 6>;
constexpr Sampling Grey{1, 1, 0, 0, 0, 0};
constexpr Sampling Quarter{2, 2, 1, 1, 1, 1};
constexpr Sampling Sixteenth{4, 4, 1, 1, 1, 1};
constexpr Sampling AllTwos{2, 2, 2, 2, 2, 2};

std::unique_ptr<cJpeg> sampled(const std::vector<std::uint8_t> &rgb, int width, int height, int quality,
                               const Sampling &s)
{
    auto image = testpictures::imageOf(rgb, width, height);
    auto encoder = std::make_unique<cJpeg>();
    encoder->SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    encoder->SetQuality(quality);
    EXPECT_EQ(0, encoder->SampleHDC(image->hdc(), width, height));
    return encoder;
}

std::vector<std::uint8_t> qualityTable(int quality, int table)
{
    cJpeg encoder;
    encoder.SetQuality(quality);
    const auto &q = encoder.QuantTable(table);
    return std::vector<std::uint8_t>(q.begin(), q.end());
}

std::vector<Segment> markersOf(const std::vector<std::uint8_t> &file, std::uint8_t marker)
{
    std::vector<Segment> found;
    for (const Segment &s : jpegfile::segments(file))
        if (s.marker == marker)
            found.push_back(s);
    return found;
}

std::vector<std::uint8_t> markerOrder(const std::vector<std::uint8_t> &file)
{
    std::vector<std::uint8_t> order;
    for (const Segment &s : jpegfile::segments(file))
        order.push_back(s.marker);
    return order;
}

int errorNumber(const std::function<void()> &f, QString *description = nullptr)
{
    try {
        f();
    } catch (const platform::RuntimeError &e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

} // namespace

// ---- quantisation tables ----

TEST(JpegQuality, SeventyFiveGivesTheKnownFirstEntries)
{
    const std::vector<std::uint8_t> luminance = qualityTable(75, 0), chrominance = qualityTable(75, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(luminance.begin(), luminance.begin() + 16),
              (std::vector<std::uint8_t>{8, 6, 6, 8, 6, 6, 8, 8, 7, 8, 10, 9, 8, 10, 12, 20}));
    EXPECT_EQ(std::vector<std::uint8_t>(chrominance.begin(), chrominance.begin() + 16),
              (std::vector<std::uint8_t>{9, 10, 10, 12, 11, 12, 24, 14, 14, 24, 50, 34, 28, 34, 50, 50}));
}

TEST(JpegQuality, FiftyRoundsHalvesToEvenSoOddBaseEntriesGoUp)
{
    // At quality 50 each entry is base + 0.5, rounded to even: odd bases go up by one.
    const std::vector<std::uint8_t> luminance = qualityTable(50, 0);
    EXPECT_EQ(12, luminance[1]); // base 11
    EXPECT_EQ(16, luminance[0]); // base 16
    EXPECT_EQ(14, luminance[8]); // base 13 (row 2, column 1)
    const std::vector<std::uint8_t> chrominance = qualityTable(50, 1);
    EXPECT_EQ(18, chrominance[0]);   // base 17
    EXPECT_EQ(100, chrominance[63]); // base 99
}

TEST(JpegQuality, ScaleBelowFiftyRoundsHalvesToEven)
{
    // 5000 / 16 = 312.5 becomes 312, so base 16 gives (16 * 312 + 50) / 100 = 50.42 -> 50.
    EXPECT_EQ(50, qualityTable(16, 0)[0]);
    // 5000 / 3 = 1666.67 becomes 1667: base 10 gives 167.2 -> 167, base 11 gives 183.87 -> 184.
    EXPECT_EQ(184, qualityTable(3, 0)[1]);
}

TEST(JpegQuality, ExtremesClampToOneAndTwoFiftyFive)
{
    for (int table = 0; table < 2; ++table) {
        EXPECT_EQ(std::vector<std::uint8_t>(64, 1), qualityTable(100, table));
        EXPECT_EQ(std::vector<std::uint8_t>(64, 255), qualityTable(1, table));
    }
}

TEST(JpegQuality, OutOfRangeValuesAreIgnored)
{
    cJpeg encoder;
    EXPECT_EQ(75, encoder.Quality());
    encoder.SetQuality(60);
    const auto before = encoder.QuantTable(0);
    for (int bad : {0, 101, -5, 1000}) {
        encoder.SetQuality(bad);
        EXPECT_EQ(60, encoder.Quality()) << bad;
        EXPECT_EQ(before, encoder.QuantTable(0)) << bad;
    }
}

// ---- sampling factors and comment ----

TEST(JpegSampling, DefaultsAndGreyComponent)
{
    cJpeg encoder;
    ASSERT_EQ(3, encoder.ComponentCount());
    EXPECT_EQ(2, encoder.SamplingH(0));
    EXPECT_EQ(2, encoder.SamplingV(0));
    EXPECT_EQ(1, encoder.SamplingH(2));
    encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    EXPECT_EQ(1, encoder.ComponentCount());
    // H1 and V1 are only checked for a grey picture: the one component is 1 x 1.
    encoder.SetSamplingFrequencies(3, 2, 0, 0, 0, 0);
    ASSERT_EQ(1, encoder.ComponentCount());
    EXPECT_EQ(1, encoder.SamplingH(0));
    EXPECT_EQ(1, encoder.SamplingV(0));
}

TEST(JpegSampling, InvalidFactorsRaiseAndKeepTheComponents)
{
    cJpeg encoder;
    encoder.SetSamplingFrequencies(4, 4, 1, 1, 1, 1);
    const Sampling bad[] = {{2, 2, 1, 1, 0, 1}, {5, 1, 1, 1, 1, 1},  {0, 1, 0, 0, 0, 0},
                            {1, 1, 1, 1, 1, 5}, {1, 1, -1, 1, 1, 1}, {1, 1, 0, 0, 0, 1}};
    for (const Sampling &s : bad) {
        QString description;
        EXPECT_EQ(1, errorNumber([&] { encoder.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]); },
                                 &description));
        EXPECT_EQ(QStringLiteral("Invalid Sampling Value"), description);
        ASSERT_EQ(3, encoder.ComponentCount());
        EXPECT_EQ(4, encoder.SamplingH(0));
        EXPECT_EQ(4, encoder.SamplingV(0));
    }
}

TEST(JpegSampling, NewFactorsDiscardSampledCoefficients)
{
    auto encoder = sampled(testpictures::photoLike(16, 16), 16, 16, 75, Quarter);
    EXPECT_NO_THROW(encoder->FileBytes());
    encoder->SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    EXPECT_EQ(9, errorNumber([&] { encoder->FileBytes(); }));
}

TEST(JpegComment, LongestAllowedAndTooLong)
{
    cJpeg encoder;
    encoder.SetComment(QStringLiteral("first"));
    const QString longest(65533, QLatin1Char('x'));
    encoder.SetComment(longest);
    EXPECT_EQ(longest, encoder.Comment());
    QString description;
    EXPECT_EQ(1, errorNumber([&] { encoder.SetComment(QString(65534, QLatin1Char('y'))); }, &description));
    EXPECT_EQ(QStringLiteral("Illegal Comment Length"), description);
    EXPECT_EQ(longest, encoder.Comment());
}

// ---- sampling a device context ----

TEST(JpegSampleHDC, ComponentSizesArePaddedToWholeBlocks)
{
    auto encoder = sampled(testpictures::photoLike(17, 9), 17, 9, 75, Quarter);
    EXPECT_EQ(3, encoder->BlocksWide(0)); // 17 -> 24
    EXPECT_EQ(2, encoder->BlocksHigh(0)); // 9 -> 16
    EXPECT_EQ(2, encoder->BlocksWide(1)); // 9 -> 16
    EXPECT_EQ(1, encoder->BlocksHigh(1)); // 5 -> 8
    EXPECT_EQ(std::size_t(3 * 2 * 64), encoder->Coefficients(0).size());
    EXPECT_EQ(std::size_t(2 * 64), encoder->Coefficients(2).size());

    auto small = sampled(testpictures::photoLike(6, 6), 6, 6, 75, Quarter);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(1, small->BlocksWide(c));
        EXPECT_EQ(1, small->BlocksHigh(c));
    }
}

TEST(JpegSampleHDC, OnePixelGivesOnlyDcCoefficients)
{
    // R 200, G 100, B 50: Y - 128 = -3.8, Cb = -41.874, Cr = 54.0655; the DC term is 8 times
    // the sample, divided by the table entry (8 and 9 at quality 75).
    const std::vector<std::uint8_t> pixel{200, 100, 50};
    auto encoder = sampled(pixel, 1, 1, 75, Quarter);
    const int expectedDc[3] = {-4, -37, 48};
    for (int c = 0; c < 3; ++c) {
        const auto &coefficients = encoder->Coefficients(c);
        ASSERT_EQ(std::size_t(64), coefficients.size());
        EXPECT_EQ(expectedDc[c], coefficients[0]) << c;
        for (int k = 1; k < 64; ++k)
            EXPECT_EQ(0, coefficients[std::size_t(k)]) << c << " " << k;
    }
}

TEST(JpegSampleHDC, MidGreyIsZeroInEveryComponent)
{
    const std::vector<std::uint8_t> grey(std::size_t(16 * 16 * 3), 128);
    auto encoder = sampled(grey, 16, 16, 100, Quarter);
    for (int c = 0; c < 3; ++c)
        for (std::int16_t v : encoder->Coefficients(c))
            ASSERT_EQ(0, v);
}

TEST(JpegSampleHDC, OriginSelectsTheRectangle)
{
    // Sampling the right half of a picture equals sampling a picture of that half alone.
    const int width = 32, height = 16;
    std::vector<std::uint8_t> rgb = testpictures::photoLike(width, height, 3);
    std::vector<std::uint8_t> right;
    for (int y = 0; y < height; ++y)
        right.insert(right.end(), rgb.begin() + (y * width + 16) * 3, rgb.begin() + (y * width + 32) * 3);
    auto whole = testpictures::imageOf(rgb, width, height);
    cJpeg encoder;
    encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    ASSERT_EQ(0, encoder.SampleHDC(whole->hdc(), 16, 16, 16, 0));
    auto reference = sampled(right, 16, 16, 75, {1, 1, 1, 1, 1, 1});
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(reference->Coefficients(c), encoder.Coefficients(c));
}

TEST(JpegSampleHDC, WorkBitmapRefusedGivesOneAndKeepsCoefficients)
{
    auto image = testpictures::imageOf(testpictures::photoLike(16, 16), 16, 16);
    cJpeg encoder;
    ASSERT_EQ(0, encoder.SampleHDC(image->hdc(), 16, 16));
    const auto before = encoder.Coefficients(0);
    EXPECT_EQ(1, encoder.SampleHDC(image->hdc(), 0, 16));
    EXPECT_EQ(before, encoder.Coefficients(0));
    // A work bitmap too large to make: the frame size changed but the coefficients did
    // not, so saving refuses instead of writing a header that disagrees with the data.
    EXPECT_EQ(1, encoder.SampleHDC(image->hdc(), 30000, 30000));
    EXPECT_EQ(before, encoder.Coefficients(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mismatch.jpg"));
    EXPECT_EQ(9, errorNumber([&] { encoder.SaveFile(path); }));
    EXPECT_FALSE(QFile::exists(path));
}

// Every context and bitmap the picture path makes is given back, on the failing paths too.
TEST(JpegSampleHDC, NothingMadeOnTheWayOutlivesTheWork)
{
    const std::size_t before = platform::liveObjects();
    {
        QImage indexed(12, 10, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(0, 0, 0), qRgb(200, 30, 30), qRgb(255, 255, 255)});
        indexed.fill(1);
        QImage colour(12, 10, QImage::Format_RGB32);
        colour.fill(qRgb(10, 120, 200));
        for (const QImage &source : {indexed, colour}) {
            auto picture = platform::StdPicture::FromImage(source);
            ASSERT_TRUE(picture);
            for (const std::int16_t depth : {std::int16_t(0), std::int16_t(24)}) {
                cImage copy;
                std::int16_t bits = depth;
                ASSERT_TRUE(copy.CopyStdPicture(*picture, bits));
                auto smaller = copy.Resample(6, 5);
                auto turned = copy.Rotate(90);
                EXPECT_TRUE(smaller && turned);
            }
            PictureBox box;
            EXPECT_TRUE(box.PaintPicture(*picture, 12, 10));
        }
        auto image = testpictures::imageOf(testpictures::photoLike(16, 16), 16, 16);
        cJpeg encoder;
        EXPECT_EQ(0, encoder.SampleHDC(image->hdc(), 16, 16));
        EXPECT_EQ(1, encoder.SampleHDC(image->hdc(), 30000, 30000)); // the work bitmap is refused
        cImage unmade;
        EXPECT_FALSE(unmade.Create(30000, 30000, 24));
    }
    EXPECT_EQ(platform::liveObjects(), before);
}

// ---- file layout ----

TEST(JpegLayout, GreyPictureSegments)
{
    auto encoder = sampled(testpictures::photoLike(20, 12), 20, 12, 75, Grey);
    const std::vector<std::uint8_t> file = encoder->FileBytes();
    EXPECT_EQ((std::vector<std::uint8_t>{0xD8, 0xE0, 0xFE, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA, 0xD9}),
              markerOrder(file));

    const std::vector<std::uint8_t> app0{0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00,
                                         0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
    EXPECT_EQ(app0, std::vector<std::uint8_t>(file.begin() + 2, file.begin() + 20));

    const Segment sof = markersOf(file, 0xC0).at(0);
    EXPECT_EQ(11, sof.length);
    EXPECT_EQ((std::vector<std::uint8_t>{8, 0, 12, 0, 20, 1, 1, 0x11, 0}), sof.body);

    const auto dht = markersOf(file, 0xC4);
    EXPECT_EQ(0x00, dht.at(0).body.at(0));
    EXPECT_EQ(0x10, dht.at(1).body.at(0));

    const Segment dqt = markersOf(file, 0xDB).at(0);
    EXPECT_EQ(67, dqt.length);
    EXPECT_EQ(0x00, dqt.body[0]);
    EXPECT_TRUE(std::equal(dqt.body.begin() + 1, dqt.body.end(), encoder->QuantTable(0).begin()));

    const Segment sos = markersOf(file, 0xDA).at(0);
    EXPECT_EQ(8, sos.length);
    EXPECT_EQ((std::vector<std::uint8_t>{1, 1, 0x00, 0x00, 0x3F, 0x00}), sos.body);

    const Segment credit = markersOf(file, 0xFE).at(0);
    EXPECT_EQ(std::string(cJpeg::CreditText()), std::string(credit.body.begin(), credit.body.end()));
    EXPECT_EQ(3, QString::fromLatin1(cJpeg::CreditText()).split(QStringLiteral("\r\n")).size());
}

TEST(JpegLayout, QuarterSamplingIsOneInterleavedScan)
{
    auto encoder = sampled(testpictures::photoLike(40, 24), 40, 24, 75, Quarter);
    const std::vector<std::uint8_t> file = encoder->FileBytes();
    EXPECT_EQ(
        (std::vector<std::uint8_t>{0xD8, 0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}),
        markerOrder(file));
    const Segment sof = markersOf(file, 0xC0).at(0);
    EXPECT_EQ(17, sof.length);
    EXPECT_EQ((std::vector<std::uint8_t>{8, 0, 24, 0, 40, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}), sof.body);
    const auto dht = markersOf(file, 0xC4);
    ASSERT_EQ(4u, dht.size());
    EXPECT_EQ((std::vector<int>{0x00, 0x10, 0x01, 0x11}),
              (std::vector<int>{dht[0].body[0], dht[1].body[0], dht[2].body[0], dht[3].body[0]}));
    const auto dqt = markersOf(file, 0xDB);
    EXPECT_EQ(0x01, dqt.at(1).body[0]);
    const Segment sos = markersOf(file, 0xDA).at(0);
    EXPECT_EQ(12, sos.length);
    EXPECT_EQ((std::vector<std::uint8_t>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0x00, 0x3F, 0x00}), sos.body);
}

TEST(JpegLayout, LargeSamplingsSplitIntoTwoScans)
{
    auto sixteen = sampled(testpictures::photoLike(40, 40), 40, 40, 75, Sixteenth);
    auto scans = markersOf(sixteen->FileBytes(), 0xDA);
    ASSERT_EQ(2u, scans.size());
    EXPECT_EQ((std::vector<std::uint8_t>{1, 1, 0x00, 0x00, 0x3F, 0x00}), scans[0].body);
    EXPECT_EQ((std::vector<std::uint8_t>{2, 2, 0x11, 3, 0x11, 0x00, 0x3F, 0x00}), scans[1].body);

    auto twos = sampled(testpictures::photoLike(40, 40), 40, 40, 75, AllTwos);
    scans = markersOf(twos->FileBytes(), 0xDA);
    ASSERT_EQ(2u, scans.size());
    EXPECT_EQ((std::vector<std::uint8_t>{2, 1, 0x00, 2, 0x11, 0x00, 0x3F, 0x00}), scans[0].body);
    EXPECT_EQ((std::vector<std::uint8_t>{1, 3, 0x11, 0x00, 0x3F, 0x00}), scans[1].body);
}

TEST(JpegLayout, CommentComesFirstInTheAnsiCodePage)
{
    auto encoder = sampled(testpictures::photoLike(8, 8), 8, 8, 75, Quarter);
    encoder->SetComment(QStringLiteral("Caf\u00e9 \u20ac5 \u4e2d"));
    const std::vector<std::uint8_t> file = encoder->FileBytes();
    const auto comments = markersOf(file, 0xFE);
    ASSERT_EQ(2u, comments.size());
    EXPECT_EQ((std::vector<std::uint8_t>{'C', 'a', 'f', 0xE9, ' ', 0x80, '5', ' ', '?'}), comments[0].body);
    EXPECT_EQ(11, comments[0].length);
    EXPECT_LT(comments[0].offset, comments[1].offset);
    const libjpeg::Decoded decoded = libjpeg::decode(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(2u, decoded.comments.size());
    EXPECT_EQ(std::string(cJpeg::CreditText()), decoded.comments[1]);
}

TEST(JpegLayout, CodedDataIsStuffedAndPadded)
{
    // Noise codes plenty of FF bytes; each must be followed by 00 within the scan.
    auto encoder = sampled(testpictures::noise(64, 64), 64, 64, 100, Quarter);
    const std::vector<std::uint8_t> file = encoder->FileBytes();
    const Segment sos = markersOf(file, 0xDA).at(0);
    const std::vector<std::uint8_t> data = jpegfile::codedDataAfter(file, sos);
    int ffs = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == 0xFF) {
            ++ffs;
            ASSERT_LT(i + 1, data.size());
            EXPECT_EQ(0x00, data[i + 1]);
        }
    }
    EXPECT_GT(ffs, 0);
    // The scan runs right up to EOI.
    EXPECT_EQ(file.size() - 2, sos.offset + 2 + std::size_t(sos.length) + data.size());
}

// ---- decoding with the reference decoder ----

struct DecodeCase {
    int width, height;
    Sampling sampling;
};

class JpegDecodes : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(JpegDecodes, WithoutWarningsTablesAndCoefficientsIntact)
{
    const DecodeCase &c = GetParam();
    const std::vector<std::uint8_t> rgb = testpictures::photoLike(c.width, c.height, 11);
    auto encoder = sampled(rgb, c.width, c.height, 75, c.sampling);
    const std::vector<std::uint8_t> file = encoder->FileBytes();

    const libjpeg::Decoded decoded = libjpeg::decode(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(0, decoded.warnings) << (decoded.warningTexts.empty() ? "" : decoded.warningTexts[0]);
    EXPECT_EQ(c.width, decoded.width);
    EXPECT_EQ(c.height, decoded.height);
    EXPECT_TRUE(decoded.jfif);
    EXPECT_EQ(1, decoded.jfifMajor);
    EXPECT_EQ(1, decoded.jfifMinor);
    EXPECT_EQ(0, decoded.densityUnit);
    EXPECT_EQ(1, decoded.xDensity);
    EXPECT_EQ(1, decoded.yDensity);
    ASSERT_EQ(encoder->ComponentCount(), int(decoded.sampling.size()));
    for (int i = 0; i < encoder->ComponentCount(); ++i) {
        EXPECT_EQ(encoder->SamplingH(i), decoded.sampling[std::size_t(i)][0]);
        EXPECT_EQ(encoder->SamplingV(i), decoded.sampling[std::size_t(i)][1]);
        EXPECT_EQ(i == 0 ? 0 : 1, decoded.quantTableOf[std::size_t(i)]);
    }
    for (int t = 0; t < (encoder->ComponentCount() > 1 ? 2 : 1); ++t) {
        ASSERT_TRUE(decoded.quantPresent[std::size_t(t)]);
        for (int k = 0; k < 64; ++k)
            EXPECT_EQ(encoder->QuantTable(t)[std::size_t(cJpeg::ZigZag()[std::size_t(k)])],
                      decoded.quantNatural[std::size_t(t)][std::size_t(k)]);
    }

    const libjpeg::Coefficients read = libjpeg::readCoefficients(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(0, read.warnings);
    for (int i = 0; i < encoder->ComponentCount(); ++i) {
        ASSERT_EQ(encoder->BlocksWide(i), read.blocksWide[std::size_t(i)]);
        ASSERT_EQ(encoder->BlocksHigh(i), read.blocksHigh[std::size_t(i)]);
        const std::vector<std::int16_t> &ours = encoder->Coefficients(i);
        const std::vector<std::int16_t> &theirs = read.blocks[std::size_t(i)];
        ASSERT_EQ(ours.size(), theirs.size());
        std::size_t mismatches = 0;
        for (std::size_t b = 0; b < ours.size(); b += 64)
            for (int k = 0; k < 64; ++k)
                mismatches +=
                    ours[b + std::size_t(cJpeg::ZigZag()[std::size_t(k)])] != theirs[b + std::size_t(k)];
        EXPECT_EQ(0u, mismatches) << "component " << i;
    }

    // And the picture itself comes back.
    const std::vector<std::uint8_t> reference =
        encoder->ComponentCount() == 1 ? testpictures::greyOf(rgb) : rgb;
    const double psnr = testpictures::psnrY(rgb, decoded.pixels, decoded.components);
    EXPECT_GT(psnr, c.width * c.height >= 256 ? 30.0 : 25.0);
}

INSTANTIATE_TEST_SUITE_P(
    SizesAndSamplings, JpegDecodes,
    ::testing::Values(DecodeCase{1, 1, Quarter}, DecodeCase{1, 1, Grey}, DecodeCase{6, 6, Quarter},
                      DecodeCase{17, 9, Quarter}, DecodeCase{17, 17, Quarter}, DecodeCase{17, 17, Grey},
                      DecodeCase{17, 17, Sixteenth}, DecodeCase{17, 17, AllTwos},
                      DecodeCase{33, 21, Sixteenth}, DecodeCase{35, 19, AllTwos},
                      DecodeCase{1024, 768, Quarter}, DecodeCase{1024, 768, Grey},
                      DecodeCase{1024, 768, Sixteenth}, DecodeCase{1024, 768, AllTwos},
                      DecodeCase{100, 75, {1, 1, 1, 1, 1, 1}}, DecodeCase{50, 30, {1, 2, 1, 1, 1, 1}},
                      DecodeCase{50, 30, {3, 1, 1, 1, 1, 1}}),
    [](const ::testing::TestParamInfo<DecodeCase> &info) {
        std::string name = std::to_string(info.param.width) + "x" + std::to_string(info.param.height) + "_";
        for (int f : info.param.sampling)
            name += std::to_string(f);
        return name;
    });

TEST(JpegDummyBlocks, NoisyPictureAtFullQualityDecodesCleanly)
{
    // 24 x 24 at 2x2 sampling: 2 x 2 MCUs over 3 x 3 luminance blocks, so seven dummy
    // blocks, each coding an end of block, while noise at quality 100 can leave no real
    // luminance block ending in zeros (no block is padded, so none is smooth).
    const auto endsInZeros = [](const std::vector<std::int16_t> &blocks) {
        for (std::size_t b = 0; b < blocks.size(); b += 64)
            if (blocks[b + 63] == 0)
                return true;
        return false;
    };
    std::unique_ptr<cJpeg> encoder;
    for (std::uint32_t seed = 1; seed < 200 && (!encoder || endsInZeros(encoder->Coefficients(0))); ++seed)
        encoder = sampled(testpictures::noise(24, 24, seed), 24, 24, 100, Quarter);
    ASSERT_FALSE(endsInZeros(encoder->Coefficients(0)));
    const auto &luminance = encoder->Coefficients(0);

    const std::vector<std::uint8_t> file = encoder->FileBytes();
    const libjpeg::Decoded decoded = libjpeg::decode(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(0, decoded.warnings) << (decoded.warningTexts.empty() ? "" : decoded.warningTexts[0]);
    const libjpeg::Coefficients read = libjpeg::readCoefficients(file);
    ASSERT_TRUE(read.ok);
    for (std::size_t b = 0; b < luminance.size(); b += 64)
        for (int k = 0; k < 64; ++k)
            ASSERT_EQ(luminance[b + std::size_t(cJpeg::ZigZag()[std::size_t(k)])],
                      read.blocks[0][b + std::size_t(k)]);
}

// ---- saving ----

TEST(JpegSaveFile, EmptyNameGivesOne)
{
    auto encoder = sampled(testpictures::photoLike(8, 8), 8, 8, 75, Quarter);
    EXPECT_EQ(1, encoder->SaveFile(QString()));
}

TEST(JpegSaveFile, ExistingHiddenFileGivesTwoAndStaysUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral(".hidden.jpg"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    auto encoder = sampled(testpictures::photoLike(8, 8), 8, 8, 75, Quarter);
    EXPECT_EQ(2, encoder->SaveFile(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray("keep me"), f.readAll());
}

TEST(JpegSaveFile, WritesTheWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.jpg"));
    const std::vector<std::uint8_t> rgb = testpictures::photoLike(64, 48);
    auto encoder = sampled(rgb, 64, 48, 75, Quarter);
    EXPECT_EQ(0, encoder->SaveFile(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    const std::vector<std::uint8_t> bytes(written.begin(), written.end());
    EXPECT_EQ(encoder->FileBytes(), bytes);
    const libjpeg::Decoded decoded = libjpeg::decode(bytes);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(0, decoded.warnings);
    // Saving again never replaces it.
    EXPECT_EQ(2, encoder->SaveFile(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(JpegSaveFile, FailuresRaiseAndLeaveNoFile)
{
    QTemporaryDir dir;
    auto encoder = sampled(testpictures::photoLike(8, 8), 8, 8, 75, Quarter);
    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/p.jpg"));
    EXPECT_EQ(76, errorNumber([&] { encoder->SaveFile(missingFolder); }));

    cJpeg unsampled;
    const QString path = dir.filePath(QStringLiteral("unsampled.jpg"));
    EXPECT_EQ(9, errorNumber([&] { unsampled.SaveFile(path); }));
    EXPECT_FALSE(QFile::exists(path));
}
