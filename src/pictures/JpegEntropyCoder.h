#pragma once

#include "pictures/JpegHuffmanTable.h"

#include <cstdint>
#include <vector>

// Huffman codes blocks of quantised coefficients (in zig-zag order) into an output
// buffer, stuffing a 00 after every FF byte of coded data.
class JpegEntropyCoder {
  public:
    explicit JpegEntropyCoder(std::vector<std::uint8_t> &out) : mOut(out) {}

    void ResetBitWriter();
    // Writes the bits of value from the bit given by mask (a power of two) down to bit 0.
    void WriteBits(std::uint32_t mask, std::uint32_t value);
    // Pads a started byte with 1 bits.
    void FlushBits();
    // Codes one block and moves the prediction to its DC coefficient. A symbol that the
    // tables have no code for raises an error instead of leaving a hole in the data.
    void EncodeBlock(const std::int16_t *block, int &prediction, const JpegHuffmanTable &dc,
                     const JpegHuffmanTable &ac);
    // A dummy block of an interleaved scan: DC difference 0 and an end of block.
    void EncodeDummyBlock(const JpegHuffmanTable &dc, const JpegHuffmanTable &ac);

    // The number of bits of |value| (0 for 0).
    static int BitSize(int value);
    // Counts the AC symbols one block will code.
    static void CountACSymbols(const std::int16_t *block, JpegHuffmanTable::Counts &counts);

  private:
    void WriteCode(const JpegHuffmanTable &table, int symbol, int extraLength, std::uint32_t extraBits);
    void WriteLength(int length, std::uint32_t value);
    void EmitBytes(int count);

    std::vector<std::uint8_t> &mOut;
    std::uint64_t mAccumulator = 0;
    int mPending = 0;
};
