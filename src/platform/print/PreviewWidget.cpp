#include "platform/print/PreviewWidget.h"

#include "platform/print/PageRenderer.h"
#include "platform/print/PrintSurface.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

namespace {
constexpr double ZoomStep = 25.0;

// The pages themselves, drawn from the surface's record on every paint.
class PageView : public QWidget {
  public:
    explicit PageView(PrintSurface &surface) : mSurface(surface) { setAttribute(Qt::WA_OpaquePaintEvent); }

    // Size in pixels of one page at the surface's zoom.
    QSizeF pagePixels() const
    {
        const QSizeF page = mSurface.document().pageSize();
        const double perTwip = mSurface.zoom() / 100.0 * logicalDpiX() / 1440.0;
        return page * perTwip;
    }

    int columns() const { return PreviewWidget::columnsFor(mSurface.zoomMode()); }
    int rows() const { return PreviewWidget::rowsFor(mSurface.zoomMode()); }

    QSize contentSize() const
    {
        const QSizeF page = pagePixels();
        // A page fitted to the free space comes out a hair over it from rounding; that
        // hair is no pixel more, or the fitted page would call for a scroll bar.
        const auto pixels = [](double length) { return qCeil(length - 1e-6); };
        return QSize(pixels(columns() * page.width()) + (columns() + 1) * PreviewWidget::Gap,
                     pixels(rows() * page.height()) + (rows() + 1) * PreviewWidget::Gap);
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const PrintDocument &document = mSurface.document();
        const QSizeF page = pagePixels();
        int index = mSurface.previewPage() - 1;
        for (int row = 0; row < rows(); ++row) {
            for (int column = 0; column < columns(); ++column, ++index) {
                if (index >= document.pageCount())
                    return;
                const QRectF target(PreviewWidget::Gap + column * (page.width() + PreviewWidget::Gap),
                                    PreviewWidget::Gap + row * (page.height() + PreviewWidget::Gap),
                                    page.width(), page.height());
                PageRenderer::render(painter, document, index, target, true);
            }
        }
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            mSurface.setZoom(mSurface.zoom() + ZoomStep);
        else if (event->button() == Qt::RightButton)
            mSurface.setZoom(mSurface.zoom() - ZoomStep);
    }

  private:
    PrintSurface &mSurface;
};
} // namespace

PreviewWidget::PreviewWidget(PrintSurface &surface, QWidget *parent)
    : QWidget(parent), mSurface(surface), mScroll(new QScrollArea(this)), mPages(new PageView(surface)),
      mCounter(new QLabel(this))
{
    mPages->setObjectName(QStringLiteral("pages"));
    mCounter->setObjectName(QStringLiteral("pageCounter"));
    mScroll->setWidget(mPages);
    mScroll->setAlignment(Qt::AlignCenter);
    mScroll->setBackgroundRole(QPalette::Dark);
    mScroll->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    // Room around the pages for the frame that shows the focus on them.
    const int aside = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this);
    const int above = style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this);
    layout->setContentsMargins(aside, above, aside, 0);
    layout->setSpacing(2);
    layout->addWidget(mScroll, 1);
    layout->addWidget(mCounter, 0, Qt::AlignLeft);

    connect(&mSurface, &PrintSurface::zoomChanged, this, &PreviewWidget::relayout);
    connect(&mSurface, &PrintSurface::zoomModeChanged, this, [this] {
        refit();
        relayout();
    });
    connect(&mSurface, &PrintSurface::previewPageChanged, this, [this] {
        updateCounter();
        mPages->update();
    });
    connect(&mSurface, &PrintSurface::contentChanged, this, &PreviewWidget::contentChanged);
    relayout();
    updateCounter();
}

QString PreviewWidget::pageCounterText() const
{
    if (mSurface.pageCount() == 0)
        return QString();
    return QStringLiteral("%1/%2").arg(mSurface.previewPage()).arg(mSurface.pageCount());
}

int PreviewWidget::columnsFor(int zoomMode)
{
    switch (zoomMode) {
    case PrintSurface::ZoomThumbnail:
        return 3;
    case PrintSurface::ZoomTwoPages:
        return 2;
    default:
        return 1;
    }
}

int PreviewWidget::rowsFor(int zoomMode)
{
    return zoomMode == PrintSurface::ZoomThumbnail ? 2 : 1;
}

double PreviewWidget::fittedZoom(int zoomMode, const QSizeF &pageTwips, const QSize &area, double dpi)
{
    const double pixelsPerTwipAt100 = dpi / 1440.0;
    const int columns = columnsFor(zoomMode);
    const int rows = rowsFor(zoomMode);
    const double freeWidth = area.width() - (columns + 1) * Gap;
    const double freeHeight = area.height() - (rows + 1) * Gap;
    const double byWidth = freeWidth / (columns * pageTwips.width() * pixelsPerTwipAt100) * 100.0;
    if (zoomMode == PrintSurface::ZoomPageWidth)
        return byWidth;
    const double byHeight = freeHeight / (rows * pageTwips.height() * pixelsPerTwipAt100) * 100.0;
    return std::min(byWidth, byHeight);
}

void PreviewWidget::refit()
{
    const int mode = mSurface.zoomMode();
    if (mode == PrintSurface::ZoomPercentage)
        return;
    QSize area = mScroll->viewport()->size();
    if (mode == PrintSurface::ZoomPageWidth)
        area.rwidth() -= mScroll->verticalScrollBar()->sizeHint().width();
    mSurface.fitZoom(fittedZoom(mode, mSurface.document().pageSize(), area, logicalDpiX()));
}

void PreviewWidget::relayout()
{
    mLaidOutPage = mSurface.document().pageSize();
    auto *view = static_cast<PageView *>(mPages);
    mPages->resize(view->contentSize());
    mPages->update();
}

void PreviewWidget::updateCounter()
{
    mCounter->setText(pageCounterText());
    mCountedPages = mSurface.pageCount();
    mCountedPreviewPage = mSurface.previewPage();
}

void PreviewWidget::contentChanged()
{
    // A report adds its runs one by one, always to the last page, and lets events run
    // while it draws: repainting pages that did not change would cost more than the
    // layout itself.
    if (mSurface.document().pageSize() != mLaidOutPage) {
        refit();
        relayout();
    }
    const int pages = mSurface.pageCount();
    if (pages != mCountedPages || mSurface.previewPage() != mCountedPreviewPage)
        updateCounter();
    const int first = mSurface.previewPage() - 1;
    const int shown = columnsFor(mSurface.zoomMode()) * rowsFor(mSurface.zoomMode());
    const int changed = pages - 1;
    if (pages == 0 || (changed >= first && changed < first + shown))
        mPages->update();
}

void PreviewWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    refit();
    relayout();
}

bool PreviewWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mScroll->viewport() && event->type() == QEvent::Resize) {
        refit();
        relayout();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace platform
