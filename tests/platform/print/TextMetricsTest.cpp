#include "platform/print/TextMetrics.h"
#include "platform/print/FixedTextMetrics.h"
#include "platform/print/FontTextMetrics.h"
#include "support/FixedMetricsScope.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::PrintFont;

PrintFont font(const char *name, double size, bool bold = false)
{
    return PrintFont{QString::fromUtf8(name), size, bold, false};
}

TEST(FontTextMetricsTest, ClassicFontsResolveToTheirMetricCompatibleFaces)
{
    using platform::FontTextMetrics;
    EXPECT_EQ(FontTextMetrics::resolvedFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(FontTextMetrics::resolvedFamily(QStringLiteral("times new roman")),
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(FontTextMetrics::resolvedFamily(QStringLiteral(" Courier New ")),
              QStringLiteral("Liberation Mono"));
    EXPECT_EQ(FontTextMetrics::resolvedFamily(QStringLiteral("Liberation Sans")),
              QStringLiteral("Liberation Sans"));
}

TEST(FontTextMetricsTest, WidthsAreTheDesignWidthsInTwips)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    // H 1479, e 1139, l 455, o 1139 of 2048 units; 10 pt is 200 twips to the em.
    EXPECT_NEAR(metrics.width(font("Arial", 10), u"Hello"), 4667.0 / 2048.0 * 200.0, 1e-6);
    // Every character of Courier New is 1229 units.
    EXPECT_NEAR(metrics.width(font("Courier New", 10), u"iW -"), 4 * 1229.0 / 2048.0 * 200.0, 1e-6);
    EXPECT_NEAR(metrics.width(font("Times New Roman", 12), u"Hello"),
                2.0 * metrics.width(font("Times New Roman", 6), u"Hello"), 1e-9);
    EXPECT_GT(metrics.width(font("Arial", 10, true), u"Hello"), metrics.width(font("Arial", 10), u"Hello"));
    EXPECT_EQ(metrics.width(font("Arial", 10), u""), 0.0);
    // Line ends take no room.
    EXPECT_EQ(metrics.width(font("Arial", 10), u"ab\r\n"), metrics.width(font("Arial", 10), u"ab"));
}

TEST(FontTextMetricsTest, PiecesAddUpToTheWhole)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    const PrintFont arial = font("Arial", 9);
    EXPECT_NEAR(metrics.width(arial, u"AVATAR Ltd."),
                metrics.width(arial, u"AVA") + metrics.width(arial, u"TAR Ltd."), 1e-9);
}

TEST(FontTextMetricsTest, EachFontKeepsItsOwnWidthsWhileFontsAlternate)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    const std::vector<PrintFont> fonts{
        font("Arial", 10),          font("Arial", 10, true), PrintFont{"Arial", 10, false, true},
        PrintFont{"Arial", 10, true, true}, font("Times New Roman", 10), font("Courier New", 10),
        font("Verdana", 10)};
    const QString text = QStringLiteral("Wide Mmm, élan – Ωmega €5");
    std::vector<double> first;
    for (const PrintFont &f : fonts)
        first.push_back(metrics.width(f, text));
    // More fonts than are looked up first, in another order, several times over.
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = fonts.size(); i-- > 0;)
            EXPECT_EQ(metrics.width(fonts[i], text), first[i]) << i;
    }
    EXPECT_GT(first[1], first[0]);
    EXPECT_NE(first[2], first[0]);
    EXPECT_NE(first[4], first[0]);
    // A name spelled another way is the same face.
    EXPECT_EQ(metrics.width(font(" arial ", 10), text), first[0]);
}

TEST(FontTextMetricsTest, CharactersBeyondLatinMeasureLikeTheOthers)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    const PrintFont arial = font("Arial", 10);
    // Latin, then characters past the common ones: Greek, a dash, the euro sign.
    const QString text = QStringLiteral("aé\u0250Ω–€");
    double pieces = 0.0;
    for (QChar c : text) {
        const double one = metrics.width(arial, QStringView(&c, 1));
        EXPECT_GT(one, 0.0) << int(c.unicode());
        pieces += one;
    }
    EXPECT_NEAR(metrics.width(arial, text), pieces, 1e-9);
    // Every Courier New character is as wide as any other.
    EXPECT_NEAR(metrics.width(font("Courier New", 10), u"Ω€"), metrics.width(font("Courier New", 10), u"ab"),
                1e-9);
}

TEST(FontTextMetricsTest, LineHeightIsAscentDescentAndLeading)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    // Arial: ascent 1854, descent 434, line gap 67.
    EXPECT_NEAR(metrics.lineHeight(font("Arial", 10)), 2355.0 / 2048.0 * 200.0, 1e-6);
    EXPECT_NEAR(metrics.ascent(font("Arial", 10)), 1854.0 / 2048.0 * 200.0, 1e-6);
    EXPECT_GT(metrics.lineHeight(font("Arial", 1)), 0.0);
    EXPECT_NEAR(metrics.height(font("Arial", 10), u"one\r\ntwo\nthree"),
                3 * metrics.lineHeight(font("Arial", 10)), 1e-9);
}

TEST(FixedTextMetricsTest, EveryCharacterAndLineHasTheSameSizePerPoint)
{
    const platform::FixedTextMetrics metrics(10.0, 20.0);
    EXPECT_EQ(metrics.width(font("Arial", 8), u"abc d"), 400.0);
    EXPECT_EQ(metrics.width(font("Times New Roman", 10, true), u"W"), 100.0);
    EXPECT_EQ(metrics.lineHeight(font("Arial", 8)), 160.0);
    EXPECT_EQ(metrics.height(font("Arial", 10), u"a\rb"), 400.0);
}

TEST(TextMetricsSeamTest, FixedMetricsHoldWhileTheScopeLives)
{
    const PrintFont arial = font("Arial", 10);
    const double real = platform::textMetrics().width(arial, u"Hello");
    {
        testsupport::FixedMetricsScope fixed(7.0, 30.0);
        EXPECT_EQ(platform::textMetrics().width(arial, u"Hello"), 350.0);
        EXPECT_EQ(platform::textMetrics().lineHeight(arial), 300.0);
    }
    EXPECT_EQ(platform::textMetrics().width(arial, u"Hello"), real);
}

} // namespace
