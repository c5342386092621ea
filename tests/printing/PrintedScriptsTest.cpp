#include "printing/GLOBAL.h"
#include "support/PrintedPages.h"

#include "platform/print/PrintSurface.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Words in the report font and in scripts it lacks, which the drawing takes from other
// installed fonts or draws as boxes where no font has them: an organisation with the phone
// just after it, and notes wrapped to a width, each line at the margin. The ink is compared
// with where the text was placed.
TEST(PrintedScriptsTest, NextTextStartsAfterWhatWasDrawnAndWrappedLinesStayInTheirMargin)
{
    constexpr int Dpi = 300;
    constexpr double Pixel = 1440.0 / Dpi, Left = 1440.0, WrapWidth = 3000.0;
    const platform::PrintFont arial{QStringLiteral("Arial"), 10.0, false, false};
    const auto ink = [](const platform::PrintSurface &vp) {
        return testsupport::inkInTwips(testsupport::renderPage(vp.document(), 0, Dpi), Dpi).right();
    };
    for (const char *script :
         {"Königstraße", "Παπαδόπουλος", "Հայերեն", "ירושלים", "საქართველო", "✓✓✓", "北京市朝阳区"}) {
        SCOPED_TRACE(script);
        const QString word = QString::fromUtf8(script);
        platform::PrintSurface organisation, notes;
        for (platform::PrintSurface *vp : {&organisation, &notes}) {
            vp->setPreview(true);
            vp->startDocument();
            vp->setFont(arial);
            vp->setCurrentX(Left);
        }
        // Drawn no wider than measured, nor measured wider than drawn.
        organisation.printNoLineEnd(QStringList(3, word).join(u' '));
        const double next = organisation.currentX(), drawn = ink(organisation);
        EXPECT_LE(drawn, next + Pixel);
        EXPECT_GE(drawn, next - organisation.textWidth(QStringLiteral("  ")));

        gPrinting.gPrintTextBuffer = QStringList(12, word).join(u' ');
        while (!gPrinting.gPrintTextBuffer.isEmpty()) {
            notes.setCurrentX(Left);
            notes.printLine(GetNextPrintLine(gPrinting.gPrintTextBuffer, static_cast<int>(WrapWidth), arial));
        }
        ASSERT_GE(notes.document().pages.front().size(), 2u);
        const double wrapped = ink(notes);
        EXPECT_LE(wrapped, Left + WrapWidth + Pixel);
        // Filled: one word more would not have fitted.
        EXPECT_GT(wrapped, Left + WrapWidth - notes.textWidth(word + u' ') - Pixel);
    }
}

} // namespace
