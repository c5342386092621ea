#include "platform/print/PreviewWidget.h"
#include "platform/print/PrintSurface.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

using platform::PreviewWidget;
using platform::PrintSurface;

const QSizeF Letter(12240, 15840);

TEST(PreviewWidgetLayoutTest, FittedZoomMakesTheModesPagesFillTheArea)
{
    // At 96 dpi a Letter page at 100% is 816 x 1056 pixels.
    const int gap = PreviewWidget::Gap;
    EXPECT_NEAR(PreviewWidget::fittedZoom(PrintSurface::ZoomWholePage, Letter,
                                          QSize(816 + 2 * gap, 1056 + 2 * gap), 96),
                100.0, 1e-9);
    EXPECT_NEAR(
        PreviewWidget::fittedZoom(PrintSurface::ZoomWholePage, Letter, QSize(5000, 528 + 2 * gap), 96), 50.0,
        1e-9);
    EXPECT_NEAR(
        PreviewWidget::fittedZoom(PrintSurface::ZoomTwoPages, Letter, QSize(2 * 408 + 3 * gap, 5000), 96),
        50.0, 1e-9);
    EXPECT_NEAR(
        PreviewWidget::fittedZoom(PrintSurface::ZoomThumbnail, Letter, QSize(5000, 2 * 264 + 3 * gap), 96),
        25.0, 1e-9);
    // The page width ignores the height: the page scrolls.
    EXPECT_NEAR(
        PreviewWidget::fittedZoom(PrintSurface::ZoomPageWidth, Letter, QSize(1632 + 2 * gap, 100), 96), 200.0,
        1e-9);
    EXPECT_EQ(PreviewWidget::columnsFor(PrintSurface::ZoomThumbnail) *
                  PreviewWidget::rowsFor(PrintSurface::ZoomThumbnail),
              6);
    EXPECT_EQ(PreviewWidget::columnsFor(PrintSurface::ZoomPercentage), 1);
}

class PreviewWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        vp.setPreview(true);
        vp.setDocName(QStringLiteral("Phone List"));
        vp.setAction(PrintSurface::StartDoc);
        vp.setFontSize(28);
        vp.setFontBold(true);
        vp.setCurrentX(1440);
        vp.setCurrentY(1440);
        vp.printLine(QStringLiteral("WWWWWWWW"));
        vp.newPage();
        vp.newPage();
        widget.resize(500, 700);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }

    QWidget *pages() const { return widget.findChild<QWidget *>(QStringLiteral("pages")); }
    QLabel *counter() const { return widget.findChild<QLabel *>(QStringLiteral("pageCounter")); }

    PrintSurface vp;
    PreviewWidget widget{vp};
};

TEST_F(PreviewWidgetTest, CounterShowsThePageAndThePages)
{
    ASSERT_NE(counter(), nullptr);
    EXPECT_EQ(counter()->text(), QStringLiteral("1/3"));
    vp.setPreviewPage(3);
    EXPECT_EQ(counter()->text(), QStringLiteral("3/3"));
    vp.setAction(PrintSurface::StartDoc);
    EXPECT_EQ(counter()->text(), QStringLiteral("1/1"));
}

TEST_F(PreviewWidgetTest, WholePageFitsIntoTheVisibleArea)
{
    vp.setZoomMode(PrintSurface::ZoomWholePage);
    const QSize area = widget.findChild<QScrollArea *>()->viewport()->size();
    EXPECT_LE(pages()->width(), area.width());
    EXPECT_LE(pages()->height(), area.height());
    EXPECT_LT(vp.zoom(), 100.0);
    // A taller window fits a larger page.
    const double before = vp.zoom();
    widget.resize(900, 1200);
    QCoreApplication::processEvents();
    EXPECT_GT(vp.zoom(), before);
    EXPECT_EQ(vp.zoomMode(), PrintSurface::ZoomWholePage);
}

TEST_F(PreviewWidgetTest, PageWidthFillsTheWidthAndScrollsDown)
{
    widget.resize(900, 500);
    QCoreApplication::processEvents();
    vp.setZoomMode(PrintSurface::ZoomPageWidth);
    const QSize area = widget.findChild<QScrollArea *>()->viewport()->size();
    EXPECT_LE(pages()->width(), area.width());
    EXPECT_GT(pages()->width(), area.width() - 40);
    EXPECT_GT(pages()->height(), area.height());
}

TEST_F(PreviewWidgetTest, PlainZoomShowsOnePageAtThatScale)
{
    vp.setZoom(50);
    const double perTwip = 0.5 * pages()->logicalDpiX() / 1440.0;
    EXPECT_NEAR(pages()->width(), 12240 * perTwip + 2 * PreviewWidget::Gap, 1.0);
    vp.setZoomMode(PrintSurface::ZoomTwoPages);
    EXPECT_GT(pages()->width(), 2 * 12240 * vp.zoom() / 100.0 * pages()->logicalDpiX() / 1440.0);
}

TEST_F(PreviewWidgetTest, DoubleClicksZoomInAndOut)
{
    vp.setZoom(100);
    QTest::mouseDClick(pages(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(vp.zoom(), 125.0);
    QTest::mouseDClick(pages(), Qt::RightButton, {}, QPoint(20, 20));
    QTest::mouseDClick(pages(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(vp.zoom(), 75.0);
}

TEST_F(PreviewWidgetTest, DrawsTheTextOfThePageShown)
{
    vp.setZoom(100);
    const auto darkPixels = [this] {
        const QImage image = pages()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 64 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkPixels(), 200);
    vp.setPreviewPage(2);
    EXPECT_EQ(darkPixels(), 0);
}

TEST_F(PreviewWidgetTest, OnlyAChangeToAShownPageRepaintsThePages)
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counted;
    vp.setZoom(50);
    QCoreApplication::processEvents();
    pages()->installEventFilter(&counted);
    const auto paintsAfter = [&](const std::function<void()> &change) {
        counted.paints = 0;
        change();
        QCoreApplication::processEvents();
        return counted.paints;
    };

    // Page 1 is shown; a report goes on drawing on the last page.
    EXPECT_EQ(paintsAfter([&] { vp.printLine(QStringLiteral("later")); }), 0);
    EXPECT_EQ(paintsAfter([&] { vp.newPage(); }), 0);
    EXPECT_EQ(counter()->text(), QStringLiteral("1/4"));
    EXPECT_GT(paintsAfter([&] { vp.setPreviewPage(4); }), 0);
    EXPECT_EQ(counter()->text(), QStringLiteral("4/4"));
    EXPECT_GT(paintsAfter([&] { vp.printLine(QStringLiteral("shown")); }), 0);
    // Two pages side by side show the last page from the one before it.
    vp.setPreviewPage(3);
    vp.setZoomMode(PrintSurface::ZoomTwoPages);
    EXPECT_GT(paintsAfter([&] { vp.printLine(QStringLiteral("beside")); }), 0);
    // A document ended or dropped is always drawn again.
    EXPECT_GT(paintsAfter([&] { vp.dropDocument(); }), 0);
    EXPECT_EQ(counter()->text(), QString());
}

TEST_F(PreviewWidgetTest, ALandscapeDocumentAfterAPortraitOneShowsItsWholePage)
{
    const struct {
        int zoomMode;
        double zoom;
    } views[] = {{PrintSurface::ZoomPercentage, 50}, {PrintSurface::ZoomWholePage, 0}};
    for (const auto &view : views) {
        SCOPED_TRACE(view.zoomMode);
        vp.setOrientation(0);
        vp.setAction(PrintSurface::StartDoc);
        if (view.zoomMode == PrintSurface::ZoomPercentage)
            vp.setZoom(view.zoom);
        else
            vp.setZoomMode(view.zoomMode);
        QCoreApplication::processEvents();
        const double portraitZoom = vp.zoom();

        vp.setOrientation(1);
        vp.setAction(PrintSurface::StartDoc);
        vp.setCurrentY(720);
        vp.printLine(QStringLiteral("right edge"));
        QCoreApplication::processEvents();
        const double perTwip = vp.zoom() / 100.0 * pages()->logicalDpiX() / 1440.0;
        EXPECT_NEAR(pages()->width(), 15840 * perTwip + 2 * PreviewWidget::Gap, 1.0);
        EXPECT_NEAR(pages()->height(), 12240 * perTwip + 2 * PreviewWidget::Gap, 1.0);
        if (view.zoomMode == PrintSurface::ZoomWholePage) {
            const QScrollArea *scroll = widget.findChild<QScrollArea *>();
            EXPECT_LE(pages()->width(), scroll->viewport()->width());
            EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
            EXPECT_LT(vp.zoom(), portraitZoom) << "the wider page is fitted anew";
        }
    }
}

TEST_F(PreviewWidgetTest, AWholePageNeedsNoScrollBarAtAnyWindowSize)
{
    vp.setZoomMode(PrintSurface::ZoomWholePage);
    const QScrollArea *scroll = widget.findChild<QScrollArea *>();
    for (const int orientation : {0, 1}) {
        vp.setOrientation(orientation);
        vp.setAction(PrintSurface::StartDoc);
        for (int width = 300; width < 620; ++width) {
            widget.resize(width, orientation == 1 ? 900 : 400);
            QCoreApplication::processEvents();
            EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << orientation << " " << width;
            EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << orientation << " " << width;
        }
    }
}

} // namespace
