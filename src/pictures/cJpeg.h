#pragma once

#include "pictures/JpegHuffmanTable.h"
#include "platform/gdi/GdiTypes.h"

#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// The program's own baseline JPEG encoder: 8-bit samples, sequential DCT, Huffman
// tables fitted to each picture, written as a JFIF file. Set the sampling factors and
// the quality, sample a device context, optionally set a comment, then save.
// Failures are raised as platform::RuntimeError number 1 with a description.
class cJpeg {
  public:
    cJpeg();

    std::int32_t Quality() const { return mQuality; }
    // 1 to 100; any other value is ignored.
    void SetQuality(std::int32_t value);

    const QString &Comment() const { return mComment; }
    // At most 65533 characters, else "Illegal Comment Length" and the old comment stays.
    void SetComment(const QString &text);

    // H2, V2, H3 and V3 all 0 make a grey picture; each factor used must be 1 to 4, else
    // "Invalid Sampling Value" and the components stay as they were. Drops sampled data.
    void SetSamplingFrequencies(std::int32_t H1, std::int32_t V1, std::int32_t H2, std::int32_t V2,
                                std::int32_t H3, std::int32_t V3);

    // Samples a rectangle of a device context into quantised coefficients with the
    // current quality. 0 on success, 1 when the work context or bitmap cannot be made.
    std::int32_t SampleHDC(platform::HDC lHDC, std::int32_t lWidth, std::int32_t lHeight,
                           std::int32_t lSrcLeft = 0, std::int32_t lSrcTop = 0);

    // 0 written; 1 the name is empty; 2 a file of that name exists (it is left alone).
    // The file is created new and written in one piece; other failures are raised.
    std::int32_t SaveFile(const QString &fileName);

    // The bytes SaveFile writes.
    std::vector<std::uint8_t> FileBytes();

    // What the encoder holds, for callers that check it.
    int ComponentCount() const { return int(mComponents.size()); }
    int SamplingH(int component) const { return mComponents[std::size_t(component)].H; }
    int SamplingV(int component) const { return mComponents[std::size_t(component)].V; }
    int BlocksWide(int component) const { return mComponents[std::size_t(component)].bw / 8; }
    int BlocksHigh(int component) const { return mComponents[std::size_t(component)].bh / 8; }
    // Blocks in raster order, each 64 coefficients in zig-zag order.
    const std::vector<std::int16_t> &Coefficients(int component) const
    {
        return mComponents[std::size_t(component)].coefficients;
    }
    // Quantisation table 0 (luminance) or 1 (chrominance), in zig-zag order.
    const std::array<std::uint16_t, 64> &QuantTable(int table) const { return mQuant[std::size_t(table)]; }

    // The zig-zag position of each block position in row order.
    static const std::array<int, 64> &ZigZag();
    static const char *CreditText();

  private:
    struct Component {
        int id = 0;
        int H = 1;
        int V = 1;
        int table = 0;
        int xi = 0, yi = 0; // sample size
        int bw = 0, bh = 0; // sample size padded to whole blocks
        std::vector<std::int16_t> coefficients;
    };
    struct Scan {
        int first = 0;
        int last = 0;
    };

    void PrepareQuantTable(int table);
    void ForwardDCT();
    void QuantizeBlock(std::int16_t *out, int table);
    void SampleComponent(Component &c, const std::uint8_t *bits, int stride);

    std::vector<Scan> ScanGroups(int first, int last) const;
    std::int64_t OptimizeHuffmanTables(int first, int last);
    void CountDCSymbols(const Component &c, JpegHuffmanTable::Counts &counts) const;
    void CountDCSymbolsMCU(const Component &c, JpegHuffmanTable::Counts &counts) const;
    int McuColumns() const;
    int McuRows() const;
    std::int64_t DummyBlocks(const Component &c) const;

    void WriteMarker(std::uint8_t code);
    void WriteWord(int value);
    void WriteAPP0();
    void WriteCOM(const QByteArray &text);
    void WriteDQT(int table);
    void WriteSOF();
    void WriteDHT(int tc, int th);
    void WriteScans(int first, int last);
    void WriteComponentScan(int c);
    void WriteInterleavedScan(int first, int last);

    std::int32_t mQuality = 75;
    QString mComment;
    int mPrecision = 0;
    int mX = 0, mY = 0;
    int mHmax = 1, mVmax = 1;
    std::vector<Component> mComponents;

    std::array<std::array<std::uint16_t, 64>, 2> mQuant{};
    // Quantisation multipliers laid out like the transposed block the transform leaves.
    std::array<std::array<float, 64>, 2> mMultiplierT{};

    alignas(32) float mBlock[64] = {};

    std::array<int, 4> mDCTableOf{}; // per component: Td
    std::array<int, 4> mACTableOf{}; // per component: Ta
    std::array<JpegHuffmanTable, 4> mDCTables{};
    std::array<JpegHuffmanTable, 4> mACTables{};
    std::vector<std::uint8_t> mOut;
};
