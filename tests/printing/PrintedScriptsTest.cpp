#include "printing/GLOBAL.h"
#include "support/PrintedPages.h"

#include "platform/print/PrintSurface.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

constexpr int Dpi = 300;
constexpr double Pixel = 1440.0 / Dpi;

// The ink of the first page's runs from first up to end, drawn alone.
QRectF inkOfRuns(const platform::PrintDocument &document, std::size_t first, std::size_t end)
{
    platform::PrintDocument alone = document;
    alone.paperSize = QSizeF(6 * 1440, 5 * 1440);
    const platform::PrintPage &runs = document.pages.front();
    alone.pages = {platform::PrintPage(runs.begin() + first, runs.begin() + end)};
    return testsupport::inkInTwips(testsupport::renderPage(alone, 0, Dpi), Dpi);
}

// Words in the report font and in scripts it lacks, which the drawing takes from other
// installed fonts or draws as boxes where no font has them: an organisation with the phone
// just after it, then notes wrapped to a width, each line at the margin. The ink is
// compared with where the text was placed.
TEST(PrintedScriptsTest, NextTextStartsAfterWhatWasDrawnAndWrappedLinesStayInTheirMargin)
{
    const platform::PrintFont arial{QStringLiteral("Arial"), 10.0, false, false};
    const double left = 1440.0, wrapWidth = 3000.0;
    for (const char *script :
         {"Königstraße", "Παπαδόπουλος", "Հայերեն", "ירושלים", "საქართველო", "✓✓✓", "北京市朝阳区"}) {
        SCOPED_TRACE(script);
        const QString word = QString::fromUtf8(script);
        platform::PrintSurface vp;
        vp.setPreview(true);
        vp.startDocument();
        vp.setFont(arial);
        vp.setCurrentX(left);
        vp.printNoLineEnd(QStringList(3, word).join(u' '));
        vp.printLine(QStringLiteral("A: 555-0001"));
        const double next = vp.document().pages.front()[1].x;
        // Drawn no wider than measured, nor measured wider than drawn.
        const QRectF drawn = inkOfRuns(vp.document(), 0, 1);
        EXPECT_LE(drawn.right(), next + Pixel);
        EXPECT_GE(drawn.right(), next - vp.textWidth(QStringLiteral("  ")));
        gPrinting.gPrintTextBuffer = QStringList(12, word).join(u' ');
        while (!gPrinting.gPrintTextBuffer.isEmpty()) {
            vp.setCurrentX(left);
            vp.printLine(GetNextPrintLine(gPrinting.gPrintTextBuffer, static_cast<int>(wrapWidth), arial));
        }
        ASSERT_GE(vp.document().pages.front().size(), 4u);
        const QRectF wrapped = inkOfRuns(vp.document(), 2, vp.document().pages.front().size());
        EXPECT_LE(wrapped.right(), left + wrapWidth + Pixel);
        // Filled: one word more would not have fitted.
        EXPECT_GT(wrapped.right(), left + wrapWidth - vp.textWidth(word + u' ') - Pixel);
    }
}

} // namespace
