#pragma once

#include "platform/gdi/GdiScope.h"
#include "platform/gdi/GdiTypes.h"

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <memory>

namespace platform {

namespace err {
constexpr int InvalidPicture = 481;
} // namespace err

// The most memory, in megabytes, a reader may take for one picture: a picture of up to 100
// million pixels at 32 bits, such as a page scanned at 600 dpi, whatever its format. Qt's own
// limit of 128 MB refuses a scanned A4 page as a bitmap file or a GIF.
constexpr int PictureAllocationLimitMB = 400;

// The reader's picture; a null image when the reader fails, and also when it reports the
// image data damaged or incomplete, as a decoder that meets bad data part-way may still
// hand back what it made of it, the rest left blank. Every picture the program reads comes
// through here, under PictureAllocationLimitMB.
QImage readUndamaged(QImageReader &reader);

// The image as it looks laid over background: every transparent or half-transparent pixel
// blended with it, so that nothing of the colour a transparent pixel happens to store shows.
// An image without transparency comes back as it is; an indexed one stays indexed.
QImage overBackground(const QImage &image, const QColor &background);

// A picture object: a bitmap owned by the picture, made from an image file or the
// clipboard with Qt's image readers. Black and white pictures become 1-bit bitmaps,
// pictures of up to 16 colours 4-bit, other indexed pictures 8-bit, and everything
// else a 32-bit bitmap, the depth of the screen.
class StdPicture {
  public:
    StdPicture(const StdPicture &) = delete;
    StdPicture &operator=(const StdPicture &) = delete;

    // Raises error 53 when the file does not exist or is a folder, and 481 when it is a
    // device or pipe (never opened), when it is not a picture (the format is told from the
    // content, whatever the name's extension), when the decoder finds it damaged or cut
    // short, or when it is too large to read; the text
    // tells which. The picture is turned upright as its stored orientation (EXIF) says.
    // With `largest`, a larger picture is scaled down to fit it, keeping its proportions:
    // while it is decoded where the format allows, so its full size never has to fit in
    // memory, and at once after decoding otherwise. Transparent parts are laid over
    // background.
    static std::unique_ptr<StdPicture> LoadPicture(const QString &path, const QSize &largest = QSize(),
                                                   const QColor &background = Qt::white);
    // Null when the image is empty or too large for a bitmap. Transparent parts are laid over
    // background.
    static std::unique_ptr<StdPicture> FromImage(const QImage &image, const QColor &background = Qt::white);
    static bool ClipboardHasBitmap();
    // Null when the clipboard holds no bitmap.
    static std::unique_ptr<StdPicture> FromClipboard(const QColor &background = Qt::white);

    // The bitmap handle, the picture's default property.
    HBITMAP Handle() const { return mBitmap.get(); }
    int Width() const;
    int Height() const;

  private:
    explicit StdPicture(ScopedBitmap bitmap) : mBitmap(std::move(bitmap)) {}

    ScopedBitmap mBitmap;
};

} // namespace platform
