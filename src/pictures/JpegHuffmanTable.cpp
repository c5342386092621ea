#include "pictures/JpegHuffmanTable.h"

#include "platform/RuntimeError.h"

#include <algorithm>
#include <vector>

namespace {

[[noreturn]] void badTable()
{
    throw platform::RuntimeError(1, QStringLiteral("Bad Huffman Table"));
}

} // namespace

int JpegHuffmanTable::SymbolCount() const
{
    int total = 0;
    for (std::uint8_t n : Bits)
        total += n;
    return total;
}

void JpegHuffmanTable::Generate(Counts &counts)
{
    std::array<int, 257> codeSize{};
    std::array<int, 257> others;
    others.fill(-1);
    counts[256] = 1;

    // Repeatedly join the two least frequent trees; on equal counts the higher symbol
    // is taken, so that the reserved symbol ends up with the longest code.
    for (;;) {
        int c1 = -1;
        std::uint64_t least = UINT64_MAX;
        for (int i = 0; i <= 256; ++i) {
            if (counts[std::size_t(i)] != 0 && counts[std::size_t(i)] <= least) {
                least = counts[std::size_t(i)];
                c1 = i;
            }
        }
        int c2 = -1;
        least = UINT64_MAX;
        for (int i = 0; i <= 256; ++i) {
            if (counts[std::size_t(i)] != 0 && counts[std::size_t(i)] <= least && i != c1) {
                least = counts[std::size_t(i)];
                c2 = i;
            }
        }
        if (c2 < 0) {
            if (c1 >= 0)
                counts[std::size_t(c1)] = 0;
            break;
        }
        counts[std::size_t(c1)] += counts[std::size_t(c2)];
        counts[std::size_t(c2)] = 0;
        ++codeSize[std::size_t(c1)];
        while (others[std::size_t(c1)] >= 0) {
            c1 = others[std::size_t(c1)];
            ++codeSize[std::size_t(c1)];
        }
        others[std::size_t(c1)] = c2;
        ++codeSize[std::size_t(c2)];
        while (others[std::size_t(c2)] >= 0) {
            c2 = others[std::size_t(c2)];
            ++codeSize[std::size_t(c2)];
        }
    }

    // Codes per length; a tree of 257 symbols is at most 256 deep.
    std::vector<int> bits(258, 0);
    int longest = 0;
    for (int i = 0; i <= 256; ++i) {
        if (codeSize[std::size_t(i)] != 0) {
            ++bits[std::size_t(codeSize[std::size_t(i)])];
            longest = std::max(longest, codeSize[std::size_t(i)]);
        }
    }
    // Move codes up until none is longer than 16: two codes of the longest length give
    // one to the length below, and split a shorter code into two.
    for (int i = longest; i > 16; --i) {
        while (bits[std::size_t(i)] > 0) {
            int j = i - 2;
            while (bits[std::size_t(j)] == 0)
                --j;
            bits[std::size_t(i)] -= 2;
            bits[std::size_t(i) - 1] += 1;
            bits[std::size_t(j) + 1] += 2;
            bits[std::size_t(j)] -= 1;
        }
    }
    // Drop the reserved symbol's code, one of the longest.
    int i = std::min(longest, 16);
    while (i > 0 && bits[std::size_t(i)] == 0)
        --i;
    if (i > 0)
        --bits[std::size_t(i)];

    Bits.fill(0);
    for (int len = 1; len <= 16; ++len)
        Bits[std::size_t(len - 1)] = std::uint8_t(bits[std::size_t(len)]);
    // Symbols ordered by their length before the limiting, then by number.
    HuffVal.fill(0);
    int p = 0;
    for (int len = 1; len <= longest; ++len)
        for (int s = 0; s <= 255; ++s)
            if (codeSize[std::size_t(s)] == len)
                HuffVal[std::size_t(p++)] = std::uint8_t(s);
}

void JpegHuffmanTable::Expand(int maxSymbol)
{
    const int total = SymbolCount();
    if (total > 256 || total == 0)
        badTable();
    Mask.fill(0);
    Code.fill(-1);
    Length.fill(0);
    std::uint32_t code = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len) {
        for (int n = 0; n < Bits[std::size_t(len - 1)]; ++n, ++k) {
            const int symbol = HuffVal[std::size_t(k)];
            if (symbol > maxSymbol || Code[std::size_t(symbol)] >= 0)
                badTable();
            Code[std::size_t(symbol)] = std::int32_t(code);
            Mask[std::size_t(symbol)] = 1u << (len - 1);
            Length[std::size_t(symbol)] = std::uint8_t(len);
            ++code;
        }
        if (code > (1u << len))
            badTable();
        code <<= 1;
    }
}
