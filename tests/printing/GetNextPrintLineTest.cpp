#include "printing/GLOBAL.h"
#include "support/FixedMetricsScope.h"

#include "platform/print/TextMetrics.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

const platform::PrintFont Arial10{QStringLiteral("Arial"), 10.0, false, false};

struct Cut {
    std::string line;
    std::string rest;
};

// One call on a buffer, with its line and what stays in the buffer.
Cut cutOnce(const QString &text, int width, const platform::PrintFont &font = Arial10)
{
    QString buffer = text;
    const QString line = GetNextPrintLine(buffer, width, font);
    return {line.toStdString(), buffer.toStdString()};
}

// Calls until the buffer is empty, as every report does.
QStringList wrapAll(const QString &text, int width, const platform::PrintFont &font = Arial10)
{
    gPrinting.gPrintTextBuffer = text;
    QStringList lines;
    while (!gPrinting.gPrintTextBuffer.isEmpty()) {
        lines << GetNextPrintLine(gPrinting.gPrintTextBuffer, width, font);
        if (lines.size() > 1000)
            break;
    }
    return lines;
}

class GetNextPrintLineTest : public ::testing::Test {
  protected:
    // 10 pt: every character 100 twips wide.
    testsupport::FixedMetricsScope metrics;
};

TEST_F(GetNextPrintLineTest, EmptyBufferGivesEmptyLineAndStaysEmpty)
{
    QString buffer;
    EXPECT_EQ(GetNextPrintLine(buffer, 1000, Arial10), QString());
    EXPECT_TRUE(buffer.isEmpty());
}

// One call each, 10 pt fixed metrics (100 twips a character).
struct CutCase {
    const char *why;
    const char *text;
    int width;
    const char *line;
    const char *rest;
};

const CutCase cutCases[] = {
    {"word wider than the width: cut after the overflowing character", "abcdef", 350, "abcd", "ef"},
    {"long word before a blank: cut inside the word", "abcdefgh ij", 350, "abcd", "efgh ij"},
    {"last character overflows, no break: whole buffer", "abcd", 350, "abcd", ""},
    {"cut after a hyphen", "well-known", 550, "well-", "known"},
    {"cut after a closing parenthesis", "(a)bc", 350, "(a)", "bc"},
    {"overflowing hyphen without earlier break stays", "ab-cd", 250, "ab-", "cd"},
    {"last character overflows after a parenthesis", "(a)b", 350, "(a)", "b"},
    {"last character overflows after a blank", "aaa bbb", 650, "aaa", "bbb"},
    {"overflowing hyphen goes down after an earlier blank", "a b-cd", 350, "a", "b-cd"},
    {"overflowing parenthesis goes down after an earlier blank", "x (ab) y", 550, "x", "(ab) y"},
    {"overflowing blank is dropped, so it still breaks", "a bc d", 450, "a bc", "d"},
    {"only the breaking blank goes; a second stays in front", "ab  cd", 250, "ab", " cd"},
    {"blank before a line end stays on the line", "ab \r\ncd", 5000, "ab ", "\ncd"},
    {"trailing blanks of the buffer go first", "abc     ", 350, "abc", ""},
};

TEST_F(GetNextPrintLineTest, CutsWhereTheRulesSay)
{
    for (const CutCase &c : cutCases) {
        const Cut cut = cutOnce(QString::fromUtf8(c.text), c.width);
        EXPECT_EQ(cut.line, c.line) << c.why;
        EXPECT_EQ(cut.rest, c.rest) << c.why;
    }
}

TEST_F(GetNextPrintLineTest, CarriageReturnLineFeedEndsTheLine)
{
    QString buffer = QStringLiteral("ab\r\ncd");
    EXPECT_EQ(GetNextPrintLine(buffer, 5000, Arial10), QStringLiteral("ab"));
    EXPECT_EQ(buffer, QStringLiteral("\ncd"));
    EXPECT_EQ(GetNextPrintLine(buffer, 5000, Arial10), QStringLiteral("cd"));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST_F(GetNextPrintLineTest, OnlyOneLineEndIsDroppedAtTheFrontOfTheBuffer)
{
    QString buffer = QStringLiteral("\r\nab");
    EXPECT_EQ(GetNextPrintLine(buffer, 5000, Arial10), QString());
    EXPECT_EQ(buffer, QStringLiteral("ab"));
    EXPECT_EQ(GetNextPrintLine(buffer, 5000, Arial10), QStringLiteral("ab"));
}

TEST_F(GetNextPrintLineTest, BufferOfBlanksGivesOneEmptyLine)
{
    EXPECT_EQ(wrapAll(QStringLiteral("   "), 350), QStringList{QString()});
}

TEST_F(GetNextPrintLineTest, NoRoomAtAllStillMakesProgressOneCharacterAtATime)
{
    EXPECT_EQ(wrapAll(QStringLiteral("abc"), 0), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(wrapAll(QStringLiteral("a b"), -40), (QStringList{"a", "", "b"}));
}

TEST_F(GetNextPrintLineTest, WrapsAWholeTextThroughTheSharedBuffer)
{
    EXPECT_EQ(wrapAll(QStringLiteral("The quick brown fox jumps over the lazy dog"), 1000),
              (QStringList{"The quick", "brown fox", "jumps over", "the lazy", "dog"}));
    EXPECT_TRUE(gPrinting.gPrintTextBuffer.isEmpty());
    EXPECT_EQ(wrapAll(QStringLiteral("First line\r\nSecond (and last)"), 5000),
              (QStringList{"First line", "Second (and last)"}));
}

TEST_F(GetNextPrintLineTest, NoLineIsWiderThanAskedWhileItHoldsABreak)
{
    const QString text = QStringLiteral("Call Ann (home) or the well-known office - any time after 9 a.m. "
                                        "Bring the forms (all of them) and a pen-and-paper copy.");
    for (int width = 300; width <= 2500; width += 50) {
        for (const QString &line : wrapAll(text, width)) {
            const double printed = platform::textMetrics().width(Arial10, line);
            if (printed <= width)
                continue;
            // Only a single unbreakable piece may overflow.
            const QString inner = line.left(line.size() - 1);
            EXPECT_FALSE(inner.contains(u' ') || inner.contains(u'-') || inner.contains(u')'))
                << "width " << width << ": \"" << line.toStdString() << "\"";
        }
    }
}

TEST_F(GetNextPrintLineTest, MeasuresInTheFontTheCallerPrintsIn)
{
    const platform::PrintFont small{QStringLiteral("Arial"), 5.0, false, false};
    const platform::PrintFont large{QStringLiteral("Arial"), 20.0, false, false};
    EXPECT_EQ(cutOnce(QStringLiteral("abcdef"), 350, small).line, "abcdef");
    EXPECT_EQ(cutOnce(QStringLiteral("abcdef"), 350, Arial10).line, "abcd");
    EXPECT_EQ(cutOnce(QStringLiteral("abcdef"), 350, large).line, "ab");
}

TEST(GetNextPrintLineFontTest, ProportionalAndFixedPitchFontsBreakDifferently)
{
    // Arial: "Hello " is 511 twips and "w" takes it past 600, so the blank breaks.
    const Cut arial = cutOnce(QStringLiteral("Hello world"), 600, Arial10);
    EXPECT_EQ(arial.line, "Hello");
    EXPECT_EQ(arial.rest, "world");
    // Courier New: 120 twips a character, so "Hello" alone is already past 600.
    const platform::PrintFont courier{QStringLiteral("Courier New"), 10.0, false, false};
    const Cut mono = cutOnce(QStringLiteral("Hello world"), 600, courier);
    EXPECT_EQ(mono.line, "Hello");
    EXPECT_EQ(mono.rest, " world");
}

} // namespace
