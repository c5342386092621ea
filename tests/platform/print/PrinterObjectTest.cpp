#include "platform/print/PrinterObject.h"
#include "platform/print/PrintOutput.h"
#include "support/FixedMetricsScope.h"
#include "support/PrintedPages.h"

#include <QPrinterInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::PrinterObject;
using testsupport::pageLines;

class PrinterObjectTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        platform::PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
        platform::PrintOutput::setPdfPathChooser([this](const QString &) {
            ++sent;
            return dir.filePath(QStringLiteral("side%1.pdf").arg(sent));
        });
    }
    void TearDown() override
    {
        platform::PrintOutput::setPrinterLookupForTesting({});
        platform::PrintOutput::setPdfPathChooser({});
    }

    testsupport::FixedMetricsScope metrics;
    QTemporaryDir dir;
    int sent = 0;
    PrinterObject printer;
};

TEST_F(PrinterObjectTest, StartsInArialTenAtThePaperCorner)
{
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
    EXPECT_EQ(printer.fontSize(), 10.0);
    EXPECT_EQ(printer.orientation(), PrinterObject::Portrait);
    EXPECT_FALSE(printer.documentOpen());
}

TEST_F(PrinterObjectTest, DocumentBeginsWithTheFirstTextWhereTheCallerPutIt)
{
    printer.setFontSize(8);
    printer.setCurrentX(1260);
    printer.setCurrentY(360);
    printer.printNoLineEnd(QStringLiteral("left"));
    EXPECT_TRUE(printer.documentOpen());
    printer.setCurrentX(6390);
    printer.printLine(QStringLiteral("right"));
    EXPECT_EQ(printer.currentX(), 0.0);
    EXPECT_EQ(printer.currentY(), 520.0);
    printer.printLine(QString());
    EXPECT_EQ(printer.currentY(), 680.0);
    EXPECT_EQ(pageLines(printer.document(), 1),
              (std::vector<std::string>{"(1260,360) Arial 8 left", "(6390,360) Arial 8 right"}));
}

TEST_F(PrinterObjectTest, EndDocSendsEachDocumentOnceAndNothingWhenNonePending)
{
    printer.endDoc();
    EXPECT_EQ(sent, 0);
    printer.printLine(QStringLiteral("side 1"));
    printer.newPage();
    printer.printLine(QStringLiteral("side 1, second sheet"));
    printer.endDoc();
    EXPECT_EQ(sent, 1);
    EXPECT_EQ(printer.document().pageCount(), 2);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("side1.pdf"))));
    printer.endDoc();
    EXPECT_EQ(sent, 1);
    printer.printLine(QStringLiteral("side 2"));
    printer.endDoc();
    EXPECT_EQ(sent, 2);
    EXPECT_EQ(printer.document().pageCount(), 1);
}

TEST_F(PrinterObjectTest, NewPageWithNothingPendingLeavesABlankFirstPage)
{
    printer.newPage();
    EXPECT_TRUE(printer.documentOpen());
    EXPECT_EQ(printer.document().pageCount(), 2);
}

TEST_F(PrinterObjectTest, OrientationOneIsPortraitAndTwoLandscape)
{
    printer.setOrientation(PrinterObject::Landscape);
    printer.printLine(QStringLiteral("wide"));
    EXPECT_EQ(printer.document().orientation, 1);
    printer.endDoc();
    printer.setOrientation(0);
    EXPECT_EQ(printer.orientation(), PrinterObject::Portrait);
    printer.printLine(QStringLiteral("tall"));
    EXPECT_EQ(printer.document().orientation, 0);
}

TEST_F(PrinterObjectTest, MeasuresInItsOwnFont)
{
    printer.setFontSize(8);
    EXPECT_EQ(printer.textWidth(QStringLiteral("Now is The Time")), 15 * 80.0);
    EXPECT_EQ(printer.textHeight(QStringLiteral("Now is The Time")), 160.0);
    EXPECT_FALSE(printer.documentOpen());
}

TEST_F(PrinterObjectTest, OffersTheInstalledFonts)
{
    ASSERT_GT(printer.fontCount(), 0);
    QStringList fonts;
    for (int i = 0; i < printer.fontCount(); ++i)
        fonts << printer.fonts(i);
    EXPECT_TRUE(fonts.contains(QStringLiteral("Liberation Sans")));
    EXPECT_EQ(printer.fonts(printer.fontCount()), QString());
    EXPECT_EQ(printer.fonts(-1), QString());
}

TEST_F(PrinterObjectTest, TheProgramHasOnePrinterObjectAndResetStartsItAfresh)
{
    PrinterObject &shared = platform::Printer();
    EXPECT_EQ(&shared, &platform::Printer());
    shared.setFontName(QStringLiteral("Courier New"));
    shared.setOrientation(PrinterObject::Landscape);
    shared.printLine(QStringLiteral("pending"));
    shared.reset();
    EXPECT_FALSE(shared.documentOpen());
    EXPECT_EQ(shared.fontName(), QStringLiteral("Arial"));
    EXPECT_EQ(shared.orientation(), PrinterObject::Portrait);
    EXPECT_EQ(sent, 0);
}

} // namespace
