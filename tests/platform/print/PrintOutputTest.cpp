#include "platform/print/PrintOutput.h"
#include "platform/RuntimeError.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::PrintDocument;
using platform::PrintOutput;
using platform::PrintRun;

PrintDocument pages(int count, int orientation = 0)
{
    PrintDocument document;
    document.name = QStringLiteral("Condensed List");
    document.orientation = orientation;
    for (int i = 1; i <= count; ++i)
        document.pages.push_back({PrintRun{QStringLiteral("Page %1").arg(i), {}, 1440, 720}});
    return document;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PrintOutputTest, PdfHasOnePagePerRecordedPage)
{
    QTemporaryDir dir;
    for (int count : {1, 3}) {
        const QString path = dir.filePath(QStringLiteral("list%1.pdf").arg(count));
        PrintOutput::writePdf(pages(count), path);
        const QByteArray pdf = readAll(path);
        EXPECT_TRUE(pdf.startsWith("%PDF")) << count;
        EXPECT_EQ(pdfPageCount(pdf), count);
        // US Letter, 612 x 792 points.
        EXPECT_TRUE(pdf.contains("/MediaBox [0 0 612.000000 792.000000]")) << count;
    }
}

TEST(PrintOutputTest, LandscapePdfPagesLieOnTheirSide)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.pdf"));
    PrintOutput::writePdf(pages(2, 1), path);
    const QByteArray pdf = readAll(path);
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 792.000000 612.000000]"));
}

TEST(PrintOutputTest, PdfEmbedsTheFontTheTextWasMeasuredIn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fonts.pdf"));
    PrintOutput::writePdf(pages(1), path);
    const QByteArray pdf = readAll(path);
    EXPECT_TRUE(pdf.contains("LiberationSans"));
    // With a map back to characters, so the text can be searched and copied.
    EXPECT_TRUE(pdf.contains("/ToUnicode"));
}

TEST(PrintOutputTest, PdfThatCannotBeWrittenRaisesAnError)
{
    QTemporaryDir dir;
    try {
        PrintOutput::writePdf(pages(1), dir.filePath(QStringLiteral("no/such/folder/x.pdf")));
        FAIL() << "no error for a missing folder";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), platform::err::PathNotFound);
    }
    // A folder where the file should be cannot be opened for writing.
    try {
        PrintOutput::writePdf(pages(1), dir.path());
        FAIL() << "no error for a folder in place of the file";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), PrintOutput::PathFileAccessError);
        EXPECT_FALSE(error.description().isEmpty());
    }
}

class NoPrinterTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        PrintOutput::setPrinterLookupForTesting([] { return QPrinterInfo(); });
    }
    void TearDown() override
    {
        PrintOutput::setPrinterLookupForTesting({});
        PrintOutput::setPdfPathChooser({});
    }
    QTemporaryDir dir;
};

TEST_F(NoPrinterTest, DocumentIsOfferedAsAPdfFile)
{
    const QString path = dir.filePath(QStringLiteral("chosen.pdf"));
    QString askedFor;
    PrintOutput::setPdfPathChooser([&](const QString &name) {
        askedFor = name;
        return path;
    });
    PrintOutput::sendToPrinter(pages(2));
    EXPECT_EQ(askedFor, QStringLiteral("Condensed List"));
    EXPECT_EQ(pdfPageCount(readAll(path)), 2);
}

TEST_F(NoPrinterTest, NoFileChosenPrintsNothing)
{
    int asked = 0;
    PrintOutput::setPdfPathChooser([&](const QString &) {
        ++asked;
        return QString();
    });
    EXPECT_NO_THROW(PrintOutput::sendToPrinter(pages(1)));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(NoPrinterTest, WithoutAWayToChooseAFileItIsAPrinterError)
{
    try {
        PrintOutput::sendToPrinter(pages(1));
        FAIL() << "no error raised";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), PrintOutput::PrinterError);
    }
}

} // namespace
