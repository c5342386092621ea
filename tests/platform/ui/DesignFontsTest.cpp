#include "platform/base/CompatibleFamily.h"
#include "platform/print/FontTextMetrics.h"
#include "platform/ui/ClassicFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

// What a window or a page draws a design font with, on the machine the tests run on.
TEST(DesignFonts, EachDesignFontIsDrawnAndPrintedWithItsInstalledCompatibleFamily)
{
    for (const QString &name : platform::designFontNames()) {
        const QString family = platform::compatibleFamily(name);
        EXPECT_TRUE(QFontDatabase::hasFamily(family)) << family.toStdString() << " is not installed";
        const QFontInfo drawn(platform::classicFont(name, 8));
        EXPECT_EQ(drawn.family(), family) << name.toStdString();
        EXPECT_EQ(platform::FontTextMetrics::resolvedFamily(name), family) << name.toStdString();
        // The fault this guards against: every name drawn in one monospace face.
        EXPECT_EQ(drawn.fixedPitch(), name == QLatin1String("Courier New")) << name.toStdString();
    }
}

TEST(DesignFonts, WindowsAreDrawnInTheWindowsDesignFont)
{
    const QLabel label(QStringLiteral("Show Selected Records Only"));
    const QFont designed = platform::classicFont(QStringLiteral("MS Sans Serif"), 8);
    EXPECT_EQ(label.font(), designed);
    EXPECT_EQ(QFontInfo(label.font()).family(), platform::compatibleFamily(QStringLiteral("MS Sans Serif")));
}

TEST(DesignFonts, NamesMatchInAnyCaseAndOtherNamesAreKept)
{
    const struct {
        const char *name;
        const char *drawnAs;
    } cases[] = {
        {" ms sans SERIF ", "MS Sans Serif"},
        {"courier new", "Courier New"},
        {"TIMES NEW ROMAN", "Times New Roman"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(platform::compatibleFamily(QString::fromLatin1(c.name)),
                  platform::compatibleFamily(QString::fromLatin1(c.drawnAs)))
            << c.name;
    EXPECT_EQ(platform::compatibleFamily(QStringLiteral(" DejaVu Sans ")), QStringLiteral("DejaVu Sans"));
    EXPECT_NE(platform::compatibleFamily(QStringLiteral("Arial")), QStringLiteral("Arial"));
}

} // namespace
