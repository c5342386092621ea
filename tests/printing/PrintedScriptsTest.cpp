#include "printing/GLOBAL.h"
#include "support/PrintedPages.h"

#include "platform/print/PrintSurface.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using testsupport::inkInTwips;
using testsupport::renderPage;

// Text in the report font and in scripts it lacks, which the drawing takes from other
// installed fonts, or draws as boxes when no font has them; which of the two depends on
// the machine, so every check compares the ink with where the text was placed.
struct Script {
    const char *name;
    const char *word;
};

const Script Scripts[] = {
    {"Latin", "Königstraße"},
    {"Greek", "Παπαδόπουλος"},
    {"Armenian", "Հայերեն"},
    {"Hebrew", "ירושלים"},
    {"Georgian", "საქართველო"},
    {"a symbol the face lacks", "✓✓✓"},
    {"CJK", "北京市朝阳区"},
};

constexpr int Dpi = 300;
constexpr double Pixel = 1440.0 / Dpi;
constexpr double Left = 1440.0;
constexpr double WrapWidth = 3000.0;

// The first page's runs from first up to, not including, end, drawn alone on the top of
// the page: the box around their ink.
QRectF inkOfRuns(const platform::PrintDocument &document, std::size_t first, std::size_t end)
{
    platform::PrintDocument alone = document;
    alone.paperSize = QSizeF(6 * 1440, 5 * 1440);
    const platform::PrintPage &runs = document.pages.front();
    alone.pages = {platform::PrintPage(runs.begin() + first, runs.begin() + end)};
    return inkInTwips(renderPage(alone, 0, Dpi), Dpi);
}

TEST(PrintedScriptsTest, NextTextStartsAfterWhatWasDrawnAndWrappedLinesStayInTheirMargin)
{
    const platform::PrintFont arial{QStringLiteral("Arial"), 10.0, false, false};
    for (const Script &script : Scripts) {
        SCOPED_TRACE(script.name);
        const QString word = QString::fromUtf8(script.word);
        platform::PrintSurface vp;
        vp.setPreview(true);
        vp.startDocument();
        vp.setFont(arial);

        // A Condensed List line: the organisation, then the phone just after it.
        vp.setCurrentX(Left);
        vp.printNoLineEnd(QStringList{word, word, word}.join(u' '));
        vp.printLine(QStringLiteral("A: 555-0001"));
        const double next = vp.document().pages.front()[1].x;
        const QRectF drawn = inkOfRuns(vp.document(), 0, 1);
        ASSERT_FALSE(drawn.isNull());
        EXPECT_LE(drawn.right(), next + Pixel);
        // Nor is the text measured wider than it is: the gap stays within a blank.
        EXPECT_GE(drawn.right(), next - vp.textWidth(QStringLiteral("  ")));

        // Notes wrapped to a width, each line printed at the margin.
        gPrinting.gPrintTextBuffer = QStringList(12, word).join(u' ');
        while (!gPrinting.gPrintTextBuffer.isEmpty()) {
            vp.setCurrentX(Left);
            vp.printLine(GetNextPrintLine(gPrinting.gPrintTextBuffer, static_cast<int>(WrapWidth), arial));
        }
        const std::size_t runs = vp.document().pages.front().size();
        ASSERT_GE(runs, 2u + 2u);
        const QRectF wrapped = inkOfRuns(vp.document(), 2, runs);
        EXPECT_LE(wrapped.right(), Left + WrapWidth + Pixel);
        // The lines are filled: one word more would not have fitted on the widest.
        EXPECT_GT(wrapped.right(), Left + WrapWidth - vp.textWidth(word + u' ') - Pixel);
    }
}

} // namespace
