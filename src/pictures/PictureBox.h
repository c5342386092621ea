#pragma once

#include "pictures/cImage.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace platform {
class StdPicture;
}

// The picture window's display box: a persistent image of 1024 by 768 pixels that keeps
// what is painted into it, so that repainting the window never loses it and the image can
// be stored as it is. The part no picture covers keeps the box's background colour.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    static constexpr int CanvasWidth = 1024;
    static constexpr int CanvasHeight = 768;

    explicit PictureBox(QWidget *parent = nullptr);

    QColor BackColor() const { return mBackColor; }

    // The persistent image as a bitmap the encoder can sample; false when the bitmap
    // could not be made.
    bool ready() const { return mCanvas.hdc() != nullptr; }
    const cImage &canvas() const;

    // Fills the whole image with the background colour.
    void Cls();
    // Paints the picture scaled into the rectangle at the top left corner, width by height
    // pixels, averaging the pixels it shrinks; anything beyond the box is cut off.
    // False when it could not be painted.
    bool PaintPicture(const platform::StdPicture &picture, int width, int height);

    // What the box shows now, top row first.
    QImage image() const;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    // Carries out a pending clear outside the rectangle a painting is about to cover.
    void fillBackground(int coveredWidth, int coveredHeight) const;

    cImage mCanvas;
    QImage mRows; // the bitmap's own rows, bottom-up
    mutable bool mClearPending = false;
    QColor mBackColor = Qt::white;
};
