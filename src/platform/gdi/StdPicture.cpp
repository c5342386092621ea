#include "platform/gdi/StdPicture.h"

#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiBitmap.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPainter>
#include <cstring>
#include <iterator>

namespace platform {

namespace {

// True when a JPEG file ends before its end-of-image marker: the segments are stepped over
// by their lengths, and each scan's data up to the marker after it.
bool jpegEndsEarly(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const qint64 n = file.size();
    const uchar *mapped = file.map(0, n);
    const QByteArray read = mapped ? QByteArray() : file.readAll();
    const uchar *d = mapped ? mapped : reinterpret_cast<const uchar *>(read.constData());
    qint64 p = 2; // past the start-of-image marker the reader knew the format by
    for (;;) {
        // Stray bytes before a marker, and the fill bytes of one, are passed over.
        while (p < n && d[p] != 0xFF)
            ++p;
        while (p < n && d[p] == 0xFF)
            ++p;
        if (p >= n)
            return true;
        const uchar marker = d[p++];
        if (marker == 0xD9)
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (p + 2 > n)
            return true;
        const qint64 length = qint64(d[p]) << 8 | d[p + 1];
        if (length < 2 || p + length > n)
            return true;
        p += length;
        if (marker != 0xDA)
            continue;
        // A scan's data holds 0xFF only stuffed with a zero, before a restart marker or as
        // a marker's fill; anything else is the next marker.
        for (;;) {
            const void *ff = std::memchr(d + p, 0xFF, std::size_t(n - p));
            if (!ff)
                return true;
            p = static_cast<const uchar *>(ff) - d;
            if (p + 1 >= n)
                return true;
            const uchar next = d[p + 1];
            if (next == 0xFF) {
                ++p;
            } else if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                p += 2;
            } else {
                break;
            }
        }
    }
}

// The readers tell of bad image data only in their log: the PNG reader as a libpng warning
// at the info level of the image readers' category, which is off unless someone turns it on,
// and the JPEG reader as a libjpeg warning in a category of its own, after which it hands
// back the picture with the rest left grey. While a watch lives both are on, and such a
// warning marks the picture damaged; the categories' other messages go on where they went,
// or nowhere when they were off.
class DataWarningWatch {
  public:
    DataWarningWatch()
    {
        current() = this;
        mPreviousHandler = qInstallMessageHandler(&DataWarningWatch::handle);
        mPreviousFilter = QLoggingCategory::installFilter(&DataWarningWatch::filter);
    }
    ~DataWarningWatch()
    {
        QLoggingCategory::installFilter(mPreviousFilter);
        qInstallMessageHandler(mPreviousHandler);
        current() = nullptr;
    }
    DataWarningWatch(const DataWarningWatch &) = delete;
    DataWarningWatch &operator=(const DataWarningWatch &) = delete;

    bool damaged() const { return mDamaged; }

  private:
    struct Watched {
        const char *category;
        QtMsgType level;
        bool (*aboutImageData)(const QString &message);
    };

    static bool pngDataWarning(const QString &message)
    {
        return message.startsWith(QLatin1String("libpng warning")) &&
               (message.contains(QLatin1String("IDAT")) || message.contains(QLatin1String("image data")) ||
                message.contains(QLatin1String("compressed data")));
    }

    // Bytes left over before a marker come after every block was decoded: the picture is
    // whole, and some writers leave such bytes.
    static bool jpegDataWarning(const QString &message)
    {
        return (message.startsWith(QLatin1String("Corrupt JPEG data")) &&
                !message.contains(QLatin1String("extraneous bytes"))) ||
               message.startsWith(QLatin1String("Premature end of JPEG file"));
    }

    static constexpr Watched Categories[] = {
        {"qt.gui.imageio", QtInfoMsg, &pngDataWarning},
        {"qt.gui.imageio.jpeg", QtWarningMsg, &jpegDataWarning},
    };

    static DataWarningWatch *&current()
    {
        static DataWarningWatch *watch = nullptr;
        return watch;
    }

    static void filter(QLoggingCategory *category)
    {
        DataWarningWatch *watch = current();
        if (watch && watch->mPreviousFilter)
            watch->mPreviousFilter(category);
        for (std::size_t i = 0; watch && i < std::size(Categories); ++i) {
            if (qstrcmp(category->categoryName(), Categories[i].category) == 0) {
                watch->mPassOn[i] = category->isEnabled(Categories[i].level);
                category->setEnabled(Categories[i].level, true);
            }
        }
    }

    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        DataWarningWatch *watch = current();
        for (std::size_t i = 0; watch && context.category && i < std::size(Categories); ++i) {
            if (qstrcmp(context.category, Categories[i].category) != 0)
                continue;
            if (Categories[i].aboutImageData(message))
                watch->mDamaged = true;
            if (!watch->mPassOn[i])
                return;
        }
        if (watch && watch->mPreviousHandler)
            watch->mPreviousHandler(type, context, message);
    }

    QtMessageHandler mPreviousHandler = nullptr;
    QLoggingCategory::CategoryFilter mPreviousFilter = nullptr;
    bool mPassOn[std::size(Categories)] = {};
    bool mDamaged = false;
};

} // namespace

QImage readUndamaged(QImageReader &reader)
{
    QImageReader::setAllocationLimit(PictureAllocationLimitMB);
    const DataWarningWatch watch;
    QImage image;
    if (!reader.read(&image) || watch.damaged())
        return QImage();
    return image;
}

QImage overBackground(const QImage &image, const QColor &background)
{
    if (image.isNull() || !image.hasAlphaChannel())
        return image;
    const QRgb under = background.rgb();
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB) {
        // Blending the colour table blends every pixel, and keeps the picture's depth.
        const auto mix = [](int over, int below, int alpha) {
            return (over * alpha + below * (255 - alpha) + 127) / 255;
        };
        QList<QRgb> table = image.colorTable();
        for (QRgb &c : table) {
            const int a = qAlpha(c);
            c = qRgb(mix(qRed(c), qRed(under), a), mix(qGreen(c), qGreen(under), a),
                     mix(qBlue(c), qBlue(under), a));
        }
        QImage blended = image;
        blended.setColorTable(table);
        return blended;
    }
    QImage blended(image.size(), QImage::Format_RGB32);
    blended.fill(under);
    QPainter painter(&blended);
    // Drawn pixel for pixel, whatever device pixel ratio the image carries.
    painter.drawImage(blended.rect(), image, image.rect());
    painter.end();
    return blended;
}

int StdPicture::Width() const
{
    return liveBitmap(mBitmap.get()) ? mBitmap.get()->width() : 0;
}

int StdPicture::Height() const
{
    return liveBitmap(mBitmap.get()) ? mBitmap.get()->height() : 0;
}

std::unique_ptr<StdPicture> StdPicture::LoadPicture(const QString &path, const QSize &largest,
                                                    const QColor &background)
{
    const auto refuse = [&](const char *why) {
        throw RuntimeError(err::InvalidPicture, QString::fromLatin1(why).arg(path));
    };
    // Looked at before anything opens it: a pipe or a device would hold the reader for ever.
    switch (fileKind(path)) {
    case FileKind::Missing:
    case FileKind::Folder:
        throw RuntimeError(err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    case FileKind::Special:
        refuse("Invalid picture: %1");
        break;
    case FileKind::Regular:
        break;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // What the header says: a file whose header cannot be read is no picture at all.
    const QByteArray format = reader.format();
    if (format == "jpeg" && jpegEndsEarly(path))
        refuse("The picture file is cut short and cannot be used: %1");
    // The size as stored: a picture to be turned a quarter turn upright is decoded into the
    // room turned the other way.
    const QSize size = reader.size();
    const QSize room =
        reader.transformation() & QImageIOHandler::TransformationRotate90 ? largest.transposed() : largest;
    const bool scaling =
        room.isValid() && size.isValid() && (size.width() > room.width() || size.height() > room.height());
    if (scaling)
        reader.setScaledSize(size.scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = readUndamaged(reader);
    if (image.isNull()) {
        if (format.isEmpty() || !size.isValid())
            refuse("Invalid picture: %1");
        // A reader that cannot scale while decoding needs the whole picture in memory first.
        const qint64 fullBytes = qint64(size.width()) * size.height() * 4;
        if (!reader.supportsOption(QImageIOHandler::ScaledSize) &&
            fullBytes > qint64(QImageReader::allocationLimit()) * 1024 * 1024)
            refuse("The picture is too large to read: %1");
        refuse("The picture file is damaged and cannot be used: %1");
    }
    // A reader that cannot scale while decoding hands back the whole picture: only what is
    // needed of it is kept.
    if (largest.isValid() && (image.width() > largest.width() || image.height() > largest.height()))
        image = image.scaled(largest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    auto picture = FromImage(image, background);
    if (!picture)
        refuse("Invalid picture: %1");
    return picture;
}

std::unique_ptr<StdPicture> StdPicture::FromImage(const QImage &image, const QColor &background)
{
    if (image.isNull())
        return nullptr;
    QImage source = overBackground(image, background);
    int bitCount = 32;
    switch (source.format()) {
    case QImage::Format_Mono:
        bitCount = 1;
        break;
    case QImage::Format_MonoLSB:
        source = source.convertToFormat(QImage::Format_Mono);
        bitCount = 1;
        break;
    case QImage::Format_Indexed8:
        bitCount = source.colorCount() <= 16 ? 4 : 8;
        break;
    default:
        source = source.convertToFormat(QImage::Format_RGB32);
        break;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = source.width();
    info.bmiHeader.biHeight = source.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = std::uint16_t(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    if (bitCount <= 8) {
        const QList<QRgb> table = source.colorTable();
        for (int i = 0; i < int(table.size()) && i < (1 << bitCount); ++i)
            info.bmiColors[i] = RGBQUAD{std::uint8_t(qBlue(table[i])), std::uint8_t(qGreen(table[i])),
                                        std::uint8_t(qRed(table[i])), 0};
    }
    ScopedBitmap owned(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0));
    if (!owned)
        return nullptr;
    HBITMAP bitmap = owned.get();
    for (int y = 0; y < source.height(); ++y) {
        const uchar *line = source.constScanLine(y);
        std::uint8_t *row = bitmap->row(y);
        switch (bitCount) {
        case 1:
            std::memcpy(row, line, std::size_t((source.width() + 7) / 8));
            break;
        case 4:
            for (int x = 0; x < source.width(); ++x)
                bitmap->setIndex(x, y, line[x]);
            break;
        case 8:
            std::memcpy(row, line, std::size_t(source.width()));
            break;
        default:
            // Format_RGB32 is 0xffRRGGBB per pixel: blue, green, red, 0xff in memory.
            for (int x = 0; x < source.width(); ++x) {
                const QRgb c = reinterpret_cast<const QRgb *>(line)[x];
                row[x * 4] = std::uint8_t(qBlue(c));
                row[x * 4 + 1] = std::uint8_t(qGreen(c));
                row[x * 4 + 2] = std::uint8_t(qRed(c));
                row[x * 4 + 3] = 0;
            }
            break;
        }
    }
    return std::unique_ptr<StdPicture>(new StdPicture(std::move(owned)));
}

bool StdPicture::ClipboardHasBitmap()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasImage();
}

std::unique_ptr<StdPicture> StdPicture::FromClipboard(const QColor &background)
{
    if (!ClipboardHasBitmap())
        return nullptr;
    return FromImage(QGuiApplication::clipboard()->image(), background);
}

} // namespace platform
