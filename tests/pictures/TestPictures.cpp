#include "TestPictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <QtEndian>
#include <zlib.h>

namespace testpictures {

namespace {
QByteArray bigEndian(quint32 v)
{
    v = qToBigEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&v), 4);
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = type + data;
    return bigEndian(data.size()) + typed +
           bigEndian(crc32(0, reinterpret_cast<const Bytef *>(typed.data()), uInt(typed.size())));
}
} // namespace

QByteArray pngWithLowerHalfLost(int width, int height, QColor colour)
{
    // Rows of filter type 0 then red, green, blue, stored uncompressed (level 0) so that the
    // zeroed bytes decode as they are; the whole picture's data checksum goes in a chunk of
    // its own, read after the last row.
    const char pixel[] = {char(colour.red()), char(colour.green()), char(colour.blue())};
    QByteArray rows = (QByteArray(1, 0) + QByteArray(pixel, 3).repeated(width)).repeated(height);
    const QByteArray sum = bigEndian(adler32(1, reinterpret_cast<const Bytef *>(rows.data()), uInt(rows.size())));
    std::fill(rows.begin() + rows.size() / 2, rows.end(), char(0));
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\0\0\0", 5)) +
           chunk("IDAT", qCompress(rows, 0).mid(4).chopped(4)) + chunk("IDAT", sum) + chunk("IEND", {});
}

std::vector<std::uint8_t> photoLike(int width, int height, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> grain(-3, 3);
    std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
    const double cx = width * 0.6, cy = height * 0.4, radius = std::min(width, height) * 0.3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / std::max(1, width - 1), fy = double(y) / std::max(1, height - 1);
            // Sky-like gradient.
            double r = 60 + 120 * fy, g = 110 + 80 * fy, b = 200 - 90 * fy;
            // A soft-edged disc.
            const double d = std::hypot(x - cx, y - cy);
            const double inside = std::clamp((radius - d) / 3.0, 0.0, 1.0);
            r = r * (1 - inside) + (220 - 40 * fx) * inside;
            g = g * (1 - inside) + (150 + 30 * std::sin(y * 0.05)) * inside;
            b = b * (1 - inside) + 60 * inside;
            // Fine texture in the lower third, like grass or fabric.
            if (fy > 0.66) {
                const double t = 25 * std::sin(x * 0.9 + std::sin(y * 0.3) * 2) * std::cos(y * 0.7);
                r = 70 + t;
                g = 120 + t * 1.2;
                b = 50 + t * 0.5;
            }
            std::uint8_t *p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            p[0] = std::uint8_t(std::clamp(int(std::lround(r)) + grain(random), 0, 255));
            p[1] = std::uint8_t(std::clamp(int(std::lround(g)) + grain(random), 0, 255));
            p[2] = std::uint8_t(std::clamp(int(std::lround(b)) + grain(random), 0, 255));
        }
    }
    return rgb;
}

std::vector<std::uint8_t> noise(int width, int height, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
    for (auto &byte : rgb)
        byte = std::uint8_t(random() & 0xFF);
    return rgb;
}

std::unique_ptr<cImage> imageOf(const std::vector<std::uint8_t> &rgb, int width, int height)
{
    auto image = std::make_unique<cImage>();
    if (!image->Create(width, height, 24))
        return nullptr;
    const int stride = image->BytesPerScanLine();
    for (int y = 0; y < height; ++y) {
        // Bottom-up: the top row is the last in memory.
        std::uint8_t *row = image->DIBitsPtr() + std::size_t(height - 1 - y) * std::size_t(stride);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t *p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            row[x * 3] = p[2];
            row[x * 3 + 1] = p[1];
            row[x * 3 + 2] = p[0];
        }
    }
    return image;
}

std::vector<std::uint8_t> greyOf(const std::vector<std::uint8_t> &rgb)
{
    std::vector<std::uint8_t> grey(rgb.size() / 3);
    for (std::size_t i = 0; i < grey.size(); ++i)
        grey[i] =
            std::uint8_t(std::lround(0.299 * rgb[i * 3] + 0.587 * rgb[i * 3 + 1] + 0.114 * rgb[i * 3 + 2]));
    return grey;
}

double psnrY(const std::vector<std::uint8_t> &originalRgb, const std::vector<std::uint8_t> &decoded,
             int decodedComponents)
{
    const std::size_t pixels = originalRgb.size() / 3;
    double squares = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const double y0 =
            0.299 * originalRgb[i * 3] + 0.587 * originalRgb[i * 3 + 1] + 0.114 * originalRgb[i * 3 + 2];
        const double y1 = decodedComponents == 1 ? decoded[i]
                                                 : 0.299 * decoded[i * 3] + 0.587 * decoded[i * 3 + 1] +
                                                       0.114 * decoded[i * 3 + 2];
        squares += (y0 - y1) * (y0 - y1);
    }
    const double mse = squares / double(pixels);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace testpictures
