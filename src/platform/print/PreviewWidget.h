#pragma once

#include <QSize>
#include <QSizeF>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace platform {

class PrintSurface;

// Shows the surface's document from its preview page on, at its zoom, with a page
// counter ("2/10") at the lower left. The zoom modes fit pages to the visible area:
// thumbnails (up to six pages), two pages, a whole page, or the page width. A double
// click of the left button zooms in, of the right button out.
// The surface must outlive the widget.
class PreviewWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWidget(PrintSurface &surface, QWidget *parent = nullptr);

    PrintSurface &surface() const { return mSurface; }
    QString pageCounterText() const;

    // Pages side by side and rows of pages a zoom mode shows.
    static int columnsFor(int zoomMode);
    static int rowsFor(int zoomMode);
    // The zoom, in percent, at which the mode's pages fit into the area, pixels at
    // dpi dots to the inch.
    static double fittedZoom(int zoomMode, const QSizeF &pageTwips, const QSize &area, double dpi);

    // Gap between pages and around them, in pixels.
    static constexpr int Gap = 8;

  protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void refit();
    void relayout();
    void updateCounter();
    void contentChanged();

    PrintSurface &mSurface;
    QScrollArea *mScroll;
    QWidget *mPages;
    QLabel *mCounter;
    // What the counter shows, so that a change to the pages' contents alone leaves it.
    int mCountedPages = -1;
    int mCountedPreviewPage = -1;
    // The page size the pages were laid out for; a document in the other orientation
    // (or on other paper) is laid out afresh.
    QSizeF mLaidOutPage;
};

} // namespace platform
