#pragma once

#include <array>
#include <cstdint>

// One Huffman table of the encoder: the code counts and symbols as the file carries
// them, and each symbol's code ready for writing.
class JpegHuffmanTable {
  public:
    using Counts = std::array<std::uint32_t, 257>;

    // Number of codes of each length 1 to 16 (Bits[0] for length 1).
    std::array<std::uint8_t, 16> Bits{};
    // The symbols in order of increasing code length.
    std::array<std::uint8_t, 256> HuffVal{};
    // Per symbol: the top-bit mask of its code (2^(length - 1), 0 without a code),
    // the code (-1 without one) and the length (0 without one).
    std::array<std::uint32_t, 256> Mask{};
    std::array<std::int32_t, 256> Code{};
    std::array<std::uint8_t, 256> Length{};

    // Builds Bits and HuffVal from symbol counts (entry 256 is reserved and set to 1, so
    // that no code is all ones), limiting code lengths to 16. Leaves the counts all zero.
    void Generate(Counts &counts);
    // Assigns the codes; raises "Bad Huffman Table" (error 1) for counts that add up to
    // more than 256 or to none, a symbol above maxSymbol or given twice, or codes that
    // do not fit their length.
    void Expand(int maxSymbol);

    int SymbolCount() const;
};
