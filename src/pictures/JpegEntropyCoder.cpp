#include "pictures/JpegEntropyCoder.h"

#include "platform/RuntimeError.h"

#include <bit>
#include <cstdlib>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Bit k set for each non-zero coefficient k of a block.
std::uint64_t nonZeroMask(const std::int16_t *block)
{
#ifdef __SSE2__
    std::uint64_t mask = 0;
    const __m128i zero = _mm_setzero_si128();
    for (int i = 0; i < 8; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 8 * i));
        const __m128i isZero = _mm_cmpeq_epi16(v, zero);
        const unsigned zeros = unsigned(_mm_movemask_epi8(_mm_packs_epi16(isZero, isZero))) & 0xFFu;
        mask |= std::uint64_t(~zeros & 0xFFu) << (8 * i);
    }
    return mask;
#else
    std::uint64_t mask = 0;
    for (int k = 0; k < 64; ++k)
        if (block[k] != 0)
            mask |= std::uint64_t(1) << k;
    return mask;
#endif
}

// The AC symbols of a block in coding order, each with the value and the number of
// bits appended after its code: a ZRL (F0) for each full run of 16 zeros before a
// non-zero coefficient, run * 16 + size for the coefficient, and an end of block (00)
// when the block ends in zeros.
template <typename Emit> void forEachACSymbol(const std::int16_t *block, Emit symbolOut)
{
    std::uint64_t mask = nonZeroMask(block) & ~std::uint64_t(1);
    int last = 0;
    while (mask != 0) {
        const int k = std::countr_zero(mask);
        mask &= mask - 1;
        int run = k - last - 1;
        while (run >= 16) {
            symbolOut(0xF0, 0, 0);
            run -= 16;
        }
        const int v = block[k];
        const int size = JpegEntropyCoder::BitSize(v);
        symbolOut(run * 16 + size, v, size);
        last = k;
    }
    if (last < 63)
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

// Bits gather in an accumulator and leave it four bytes at a time, which writes exactly
// the bytes that setting one bit after another would.
void JpegEntropyCoder::WriteLength(int length, std::uint32_t value)
{
    if (length <= 0)
        return;
    mAccumulator = (mAccumulator << length) | (value & ((std::uint64_t(1) << length) - 1));
    mPending += length;
    if (mPending >= 32)
        EmitBytes(4);
}

void JpegEntropyCoder::EmitBytes(int count)
{
    mPending -= 8 * count;
    const auto word = std::uint32_t(mAccumulator >> mPending) << (8 * (4 - count));
    const std::size_t size = mOut.size();
    // No FF byte among them: no stuffing, so all go at once.
    const std::uint32_t inverted = ~word;
    if (count == 4 && ((inverted - 0x01010101u) & ~inverted & 0x80808080u) == 0) {
        mOut.resize(size + 4);
        mOut[size] = std::uint8_t(word >> 24);
        mOut[size + 1] = std::uint8_t(word >> 16);
        mOut[size + 2] = std::uint8_t(word >> 8);
        mOut[size + 3] = std::uint8_t(word);
        return;
    }
    for (int i = 0; i < count; ++i) {
        const auto byte = std::uint8_t(word >> (24 - 8 * i));
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
    if (mPending % 8 != 0)
        WriteLength(8 - mPending % 8, 0xFF);
    if (mPending > 0)
        EmitBytes(mPending / 8);
}

void JpegEntropyCoder::WriteCode(const JpegHuffmanTable &table, int symbol, int extraLength,
                                 std::uint32_t extraBits)
{
    const int length = table.Length[std::size_t(symbol)];
    if (length == 0)
        throw platform::RuntimeError(1,
                                     QStringLiteral("No Huffman Code for Symbol %1")
                                         .arg(QString::number(symbol, 16).toUpper().rightJustified(2, u'0')));
    // A code of up to 16 bits and up to 16 appended bits go in as one.
    const std::uint32_t extra = extraBits & ((1u << extraLength) - 1);
    WriteLength(length + extraLength,
                (std::uint32_t(table.Code[std::size_t(symbol)]) << extraLength) | extra);
}

void JpegEntropyCoder::EncodeBlock(const std::int16_t *block, int &prediction, const JpegHuffmanTable &dc,
                                   const JpegHuffmanTable &ac)
{
    const int difference = block[0] - prediction;
    prediction = block[0];
    const int size = BitSize(difference);
    WriteCode(dc, size, size, std::uint32_t(difference < 0 ? difference - 1 : difference));
    forEachACSymbol(block, [&](int symbol, int value, int bits) {
        WriteCode(ac, symbol, bits, std::uint32_t(value < 0 ? value - 1 : value));
    });
}

void JpegEntropyCoder::EncodeDummyBlock(const JpegHuffmanTable &dc, const JpegHuffmanTable &ac)
{
    WriteCode(dc, 0, 0, 0);
    WriteCode(ac, 0x00, 0, 0);
}

void JpegEntropyCoder::CountACSymbols(const std::int16_t *block, JpegHuffmanTable::Counts &counts)
{
    forEachACSymbol(block, [&](int symbol, int, int) { ++counts[std::size_t(symbol)]; });
}
