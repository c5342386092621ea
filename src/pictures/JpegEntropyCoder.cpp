#include "pictures/JpegEntropyCoder.h"

#include "platform/RuntimeError.h"

#include <bit>
#include <cstdlib>

namespace {

// The AC symbols of a block in coding order, each with the value and the number of
// bits appended after its code: a ZRL (F0) for each full run of 16 zeros before a
// non-zero coefficient, run * 16 + size for the coefficient, and an end of block (00)
// when the block ends in zeros.
template <typename Emit> void forEachACSymbol(const std::int16_t *block, Emit symbolOut)
{
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int v = block[k];
        if (v == 0) {
            ++run;
            continue;
        }
        while (run >= 16) {
            symbolOut(0xF0, 0, 0);
            run -= 16;
        }
        const int size = JpegEntropyCoder::BitSize(v);
        symbolOut(run * 16 + size, v, size);
        run = 0;
    }
    if (run > 0)
        symbolOut(0x00, 0, 0);
}

} // namespace

int JpegEntropyCoder::BitSize(int value)
{
    const unsigned magnitude = unsigned(std::abs(value));
    return magnitude == 0 ? 0 : int(std::bit_width(magnitude));
}

void JpegEntropyCoder::ResetBitWriter()
{
    mAccumulator = 0;
    mPending = 0;
}

// Bits gather in an accumulator and leave it a byte at a time, which writes exactly
// the bytes that setting one bit after another would.
void JpegEntropyCoder::WriteLength(int length, std::uint32_t value)
{
    if (length <= 0)
        return;
    mAccumulator = (mAccumulator << length) | (value & ((std::uint64_t(1) << length) - 1));
    mPending += length;
    while (mPending >= 8) {
        mPending -= 8;
        const auto byte = std::uint8_t(mAccumulator >> mPending);
        mOut.push_back(byte);
        if (byte == 0xFF)
            mOut.push_back(0);
    }
}

void JpegEntropyCoder::WriteBits(std::uint32_t mask, std::uint32_t value)
{
    if (mask < 1)
        return;
    WriteLength(std::countr_zero(mask) + 1, value);
}

void JpegEntropyCoder::FlushBits()
{
    if (mPending > 0)
        WriteLength(8 - mPending, 0xFF);
}

void JpegEntropyCoder::WriteCode(const JpegHuffmanTable &table, int symbol)
{
    const int length = table.Length[std::size_t(symbol)];
    if (length == 0)
        throw platform::RuntimeError(1, QStringLiteral("No Huffman Code for Symbol %1")
                                            .arg(QString::number(symbol, 16).toUpper().rightJustified(2, u'0')));
    WriteLength(length, std::uint32_t(table.Code[std::size_t(symbol)]));
}

void JpegEntropyCoder::EncodeBlock(const std::int16_t *block, int &prediction, const JpegHuffmanTable &dc,
                                   const JpegHuffmanTable &ac)
{
    const int difference = block[0] - prediction;
    prediction = block[0];
    const int size = BitSize(difference);
    WriteCode(dc, size);
    WriteLength(size, std::uint32_t(difference < 0 ? difference - 1 : difference));

    forEachACSymbol(block, [&](int symbol, int value, int bits) {
        WriteCode(ac, symbol);
        WriteLength(bits, std::uint32_t(value < 0 ? value - 1 : value));
    });
}

void JpegEntropyCoder::EncodeDummyBlock(const JpegHuffmanTable &dc, const JpegHuffmanTable &ac)
{
    WriteCode(dc, 0);
    WriteCode(ac, 0x00);
}

void JpegEntropyCoder::CountACSymbols(const std::int16_t *block, JpegHuffmanTable::Counts &counts)
{
    forEachACSymbol(block, [&](int symbol, int, int) { ++counts[std::size_t(symbol)]; });
}
