#include "platform/base/CompatibleFamily.h"
#include "platform/print/FontTextMetrics.h"
#include "platform/ui/ClassicFont.h"

#include <QFontInfo>
#include <QLabel>
#include <gtest/gtest.h>

// What windows and pages draw each design font with, on the machine the tests run on.
TEST(DesignFonts, EachIsDrawnAndPrintedWithItsCompatibleFamilyAndWindowsInMsSansSerif)
{
    for (const QString &name : platform::designFontNames()) {
        const QFontInfo drawn(platform::classicFont(name.toUpper() + ' ', 8));
        EXPECT_EQ(drawn.family(), platform::compatibleFamily(name)) << name.toStdString();
        EXPECT_EQ(platform::FontTextMetrics::resolvedFamily(name), drawn.family()) << name.toStdString();
        // The fault this guards against: every name drawn in one monospace face.
        EXPECT_EQ(drawn.fixedPitch(), name == QLatin1String("Courier New")) << name.toStdString();
    }
    EXPECT_EQ(QLabel().font(), platform::classicFont(QStringLiteral("MS Sans Serif"), 8));
}
