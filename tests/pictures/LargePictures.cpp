#include "LargePictures.h"

#include <QFile>
#include <QtEndian>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace largepictures {

void writeJpeg(const QString &path, int width, int height, QColor colour)
{
    FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 50, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    for (std::size_t x = 0; x < row.size(); x += 3) {
        row[x] = JSAMPLE(colour.red());
        row[x + 1] = JSAMPLE(colour.green());
        row[x + 2] = JSAMPLE(colour.blue());
    }
    JSAMPROW rows[1] = {row.data()};
    while (cinfo.next_scanline < cinfo.image_height)
        jpeg_write_scanlines(&cinfo, rows, 1);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    QByteArray typed = QByteArray(type) + data;
    QByteArray out(4, '\0');
    qToBigEndian(quint32(data.size()), out.data());
    out += typed;
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(typed), crc.data());
    return out + crc;
}

// A deflate stream with the fixed codes: bits go in from the lowest, codes from the highest.
class BitWriter {
  public:
    void bits(quint32 value, int count)
    {
        for (int i = 0; i < count; ++i)
            put((value >> i) & 1u);
    }
    void code(quint32 value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            put((value >> i) & 1u);
    }
    void literal(int byte) { code(0x30u + quint32(byte), 8); } // bytes below 144
    void runOf258AtDistance1()
    {
        code(0xC5, 8); // length code 285
        code(0, 5);    // distance code 0
    }
    QByteArray finish()
    {
        code(0, 7); // end of block
        if (mUsed)
            mOut.append(char(mByte));
        return mOut;
    }

  private:
    void put(quint32 bit)
    {
        mByte |= quint8(bit << mUsed);
        if (++mUsed == 8) {
            mOut.append(char(mByte));
            mByte = 0;
            mUsed = 0;
        }
    }
    QByteArray mOut;
    quint8 mByte = 0;
    int mUsed = 0;
};

} // namespace

void writeGreyPng(const QString &path, int width, int height, int level)
{
    // Each row: the "Sub" filter, its first pixel, then zeros (each pixel the same as the last).
    BitWriter deflate;
    deflate.bits(1, 1); // the last block
    deflate.bits(1, 2); // fixed codes
    constexpr quint32 Modulus = 65521;
    quint32 a = 1, b = 0;
    const auto add = [&](quint32 byte, quint64 times) {
        for (quint64 i = 0; i < times && byte != 0; ++i) {
            a = (a + byte) % Modulus;
            b = (b + a) % Modulus;
        }
        if (byte == 0)
            b = quint32((b + quint64(a) * (times % Modulus)) % Modulus);
    };
    const qint64 zeros = qint64(width) * 3 - 3;
    for (int y = 0; y < height; ++y) {
        for (const int byte : {1, level, level, level}) {
            deflate.literal(byte);
            add(quint32(byte), 1);
        }
        deflate.literal(0);
        for (qint64 left = zeros - 1; left > 0;) {
            if (left >= 258) {
                deflate.runOf258AtDistance1();
                left -= 258;
            } else {
                deflate.literal(0);
                --left;
            }
        }
        add(0, quint64(zeros));
    }
    QByteArray idat("\x78\x01", 2);
    idat += deflate.finish();
    QByteArray adler(4, '\0');
    qToBigEndian((b << 16) | a, adler.data());
    idat += adler;

    QByteArray header(13, '\0');
    qToBigEndian(quint32(width), header.data());
    qToBigEndian(quint32(height), header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = 2; // RGB
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write("\x89PNG\r\n\x1a\n", 8);
    out.write(chunk("IHDR", header));
    out.write(chunk("IDAT", idat));
    out.write(chunk("IEND", QByteArray()));
}

} // namespace largepictures
