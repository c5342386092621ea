#include "platform/gdi/StdPicture.h"

#include "platform/RuntimeError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiBitmap.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <cstring>

namespace platform {

int StdPicture::Width() const
{
    return liveBitmap(mBitmap.get()) ? mBitmap.get()->width() : 0;
}

int StdPicture::Height() const
{
    return liveBitmap(mBitmap.get()) ? mBitmap.get()->height() : 0;
}

std::unique_ptr<StdPicture> StdPicture::LoadPicture(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir())
        throw RuntimeError(err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    auto picture = image.isNull() ? nullptr : FromImage(image);
    if (!picture)
        throw RuntimeError(err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    return picture;
}

std::unique_ptr<StdPicture> StdPicture::FromImage(const QImage &image)
{
    if (image.isNull())
        return nullptr;
    QImage source = image;
    int bitCount = 32;
    switch (image.format()) {
    case QImage::Format_Mono:
        bitCount = 1;
        break;
    case QImage::Format_MonoLSB:
        source = image.convertToFormat(QImage::Format_Mono);
        bitCount = 1;
        break;
    case QImage::Format_Indexed8:
        bitCount = image.colorCount() <= 16 ? 4 : 8;
        break;
    default:
        source = image.convertToFormat(QImage::Format_RGB32);
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

std::unique_ptr<StdPicture> StdPicture::FromClipboard()
{
    if (!ClipboardHasBitmap())
        return nullptr;
    return FromImage(QGuiApplication::clipboard()->image());
}

} // namespace platform
