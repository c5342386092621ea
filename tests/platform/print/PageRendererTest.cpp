#include "platform/print/PageRenderer.h"
#include "platform/print/FontTextMetrics.h"
#include "platform/base/TextDirection.h"
#include "support/PrintedPages.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using platform::PrintDocument;
using platform::PrintFont;
using platform::PrintRun;
using testsupport::inkInTwips;
using testsupport::pdfPage;
using testsupport::renderPage;

const PrintFont Arial10{QStringLiteral("Arial"), 10.0, false, false};

PrintDocument oneRun(const QString &text, double x, double y, int orientation = 0)
{
    PrintDocument document;
    document.orientation = orientation;
    document.pages.push_back({PrintRun{text, Arial10, x, y}});
    return document;
}

TEST(PageRendererTest, TextIsDrawnWhereAndAsWideAsItWasMeasuredAtAnyResolution)
{
    const QString text = QStringLiteral("Hillside Manor, Springfield");
    const double width = platform::FontTextMetrics::instance().width(Arial10, text);
    const PrintDocument document = oneRun(text, 1440, 2880);
    for (int dpi : {150, 300, 600}) {
        const QRectF ink = inkInTwips(renderPage(document, 0, dpi), dpi);
        const double pixel = 1440.0 / dpi;
        // Ink starts after H's left side bearing (15 twips) and ends just before the
        // measured width (d's right side bearing); hinted pixel widths would drift
        // by tens of twips over this text.
        EXPECT_NEAR(ink.left(), 1440 + 15, 10 + pixel) << dpi << " dpi";
        EXPECT_NEAR(ink.right(), 1440 + width - 12, 10 + pixel) << dpi << " dpi";
        EXPECT_GE(ink.top(), 2880 - pixel) << dpi << " dpi";
        EXPECT_LE(ink.bottom(), 2880 + platform::FontTextMetrics::instance().lineHeight(Arial10) + pixel);
    }
}

// Latin text is drawn from the glyphs the measure placed, other text is shaped again:
// both end where they were measured, a tab taking no room as in the measure.
TEST(PageRendererTest, EveryKindOfTextEndsWhereItsMeasureEnds)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    for (const QString &text : {QStringLiteral("Zürich, Königstraße"), QStringLiteral("Αθήνα Παπαδόπουλος"),
                                QStringLiteral("Dvořák\tŁódź")}) {
        const QRectF ink = inkInTwips(renderPage(oneRun(text, 1440, 2880), 0, 300), 300);
        ASSERT_FALSE(ink.isNull()) << text.toStdString();
        EXPECT_NEAR(ink.right(), 1440 + metrics.width(Arial10, text), 40) << text.toStdString();
    }
}

TEST(PageRendererTest, PaperIsWhiteAndOnlyThePageAskedForIsDrawn)
{
    PrintDocument document = oneRun(QStringLiteral("first"), 1440, 1440);
    document.pages.push_back({PrintRun{QStringLiteral("second"), Arial10, 7200, 7200}});
    const QImage second = renderPage(document, 1, 96);
    const QRectF ink = inkInTwips(second, 96);
    EXPECT_GT(ink.left(), 7000);
    EXPECT_EQ(second.pixel(2, 2), QColor(Qt::white).rgb());
    const QImage missing = renderPage(document, 2, 96);
    EXPECT_TRUE(inkInTwips(missing, 96).isNull());
    EXPECT_EQ(missing.pixel(2, 2), QColor(Qt::gray).rgb());
}

TEST(PageRendererTest, LandscapePagesAreWideAndKeepTextInPlace)
{
    const PrintDocument document = oneRun(QStringLiteral("Right half"), 12000, 1440, 1);
    const QImage image = renderPage(document, 0, 96);
    EXPECT_GT(image.width(), image.height());
    EXPECT_NEAR(inkInTwips(image, 96).left(), 12000, 150);
}

// The share of the pixels inked in either drawing that the other leaves white.
double inkDifference(const QImage &a, const QImage &b)
{
    const auto *pa = reinterpret_cast<const QRgb *>(a.constBits()), *pb = reinterpret_cast<const QRgb *>(b.constBits());
    int inked = 0, differing = 0;
    for (qsizetype i = 0; i < std::min(a.sizeInBytes(), b.sizeInBytes()) / 4; ++i) {
        inked += qGray(pa[i]) < 128 || qGray(pb[i]) < 128;
        differing += (qGray(pa[i]) < 128) != (qGray(pb[i]) < 128);
    }
    return inked ? double(differing) / inked : 1.0;
}

// A line whose first field is right to left shows its fields in their order, on the
// screen and in PDF alike, as if printed one by one: each right-to-left field, set in an
// isolate of its own as the reports set it, turned round in its own place, the blank
// after it where it was typed.
TEST(PageRendererTest, RightToLeftFieldsStayInTheirPlaceOnTheLine)
{
    const auto &metrics = platform::FontTextMetrics::instance();
    for (const QStringList &fields :
         {QStringList{"נייד", ": 555-0100  Work: 555-0199  4472 Pine Rd  ", "תל אביב", ", CA"},
          QStringList{"ירושלים", " 91905"}, QStringList{"مرحبا بكم", " 42 Main St"}}) {
        QString line;
        for (const QString &field : fields)
            line += platform::isolatedField(field);
        PrintDocument whole = oneRun(line, 1440, 1440),
                      apart = oneRun(QString(), 1440, 1440);
        for (const QString &field : fields) {
            const PrintRun &before = apart.pages[0].back();
            apart.pages[0].push_back(
                PrintRun{field, Arial10, before.x + metrics.width(Arial10, before.text), 1440});
        }
        SCOPED_TRACE(fields.join(QString()).toStdString());
        EXPECT_LT(inkDifference(renderPage(whole, 0, 150), renderPage(apart, 0, 150)), 0.05);
        EXPECT_LT(inkDifference(pdfPage(whole, 0, 150), pdfPage(apart, 0, 150)), 0.05);
    }
}

// Scripts the report font lacks, which other faces may hold or no installed font does
// (Korean, and Devanagari where the set-up is without it): on the screen and in PDF the
// text, or a missing-glyph box a character, ends where it was measured to end, and never
// as a bar: a good part of the middle row of its ink stays white.
TEST(PageRendererTest, AScriptNoFontHoldsIsDrawnAsBoxesWhereItWasMeasured)
{
    for (const QString text : {QString::fromUtf8("नमस्ते दुनिया"), QString::fromUtf8("서울특별시 종로구")}) {
        const PrintDocument document = oneRun(text, 1440, 1440);
        for (const QImage &page : {renderPage(document, 0, 150), pdfPage(document, 0, 150)}) {
            const QRectF ink = inkInTwips(page, 150);
            EXPECT_NEAR(ink.right(), 1440 + platform::FontTextMetrics::instance().width(Arial10, text), 60);
            const int middle = qRound(ink.center().y() * 150 / 1440);
            int dark = 0;
            for (int x = 0; x < page.width(); ++x)
                dark += qGray(page.pixel(x, middle)) < 128;
            EXPECT_LT(dark, ink.width() * 150 / 1440 * 3 / 4) << text.toStdString();
        }
    }
}

} // namespace
