#include "pictures/JpegEntropyCoder.h"
#include "pictures/JpegHuffmanTable.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

JpegHuffmanTable tableFrom(std::initializer_list<std::pair<int, std::uint32_t>> counts, int maxSymbol = 255)
{
    JpegHuffmanTable::Counts c{};
    for (auto [symbol, count] : counts)
        c[std::size_t(symbol)] = count;
    JpegHuffmanTable table;
    table.Generate(c);
    table.Expand(maxSymbol);
    return table;
}

// Reads coded bits back, dropping the 00 after each FF.
class BitReader {
  public:
    explicit BitReader(const std::vector<std::uint8_t> &bytes)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            mBytes.push_back(bytes[i]);
            if (bytes[i] == 0xFF)
                ++i;
        }
    }
    int bit()
    {
        const int b = (mBytes.at(mPos / 8) >> (7 - mPos % 8)) & 1;
        ++mPos;
        return b;
    }
    int bits(int n)
    {
        int v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 1) | bit();
        return v;
    }
    int symbol(const JpegHuffmanTable &table)
    {
        int code = 0;
        for (int len = 1; len <= 16; ++len) {
            code = (code << 1) | bit();
            for (int s = 0; s < 256; ++s)
                if (table.Length[std::size_t(s)] == len && table.Code[std::size_t(s)] == code)
                    return s;
        }
        return -1;
    }
    std::size_t position() const { return mPos; }

  private:
    std::vector<std::uint8_t> mBytes;
    std::size_t mPos = 0;
};

int extend(int bits, int size)
{
    return bits < (1 << (size - 1)) ? bits - (1 << size) + 1 : bits;
}

} // namespace

TEST(JpegHuffman, LengthsAreLimitedToSixteen)
{
    // Fibonacci counts make the most lopsided tree: 30 symbols would need codes of up to
    // 30 bits without the limit.
    JpegHuffmanTable::Counts counts{};
    std::uint32_t a = 1, b = 1;
    for (int s = 0; s < 30; ++s) {
        counts[std::size_t(s)] = a;
        const std::uint32_t next = a + b;
        a = b;
        b = next;
    }
    JpegHuffmanTable table;
    table.Generate(counts);
    for (std::uint32_t c : counts)
        EXPECT_EQ(0u, c); // left all zero for the next table
    EXPECT_EQ(30, table.SymbolCount());
    ASSERT_NO_THROW(table.Expand(255));

    double kraft = 0;
    for (int s = 0; s < 30; ++s) {
        ASSERT_GE(table.Length[std::size_t(s)], 1);
        ASSERT_LE(table.Length[std::size_t(s)], 16);
        EXPECT_EQ(1u << (table.Length[std::size_t(s)] - 1), table.Mask[std::size_t(s)]);
        kraft += 1.0 / double(1u << table.Length[std::size_t(s)]);
    }
    // Room is left for the reserved code, so no code is all ones.
    EXPECT_LT(kraft, 1.0);
    for (int s = 0; s < 30; ++s) {
        const int len = table.Length[std::size_t(s)];
        EXPECT_NE((1 << len) - 1, table.Code[std::size_t(s)]);
        for (int t = 0; t < 30; ++t) {
            const int other = table.Length[std::size_t(t)];
            if (t == s || other < len)
                continue;
            // No code is a prefix of another.
            EXPECT_NE(table.Code[std::size_t(s)], table.Code[std::size_t(t)] >> (other - len))
                << s << " " << t;
        }
    }
    // The most frequent symbol has the shortest code.
    for (int s = 0; s < 29; ++s)
        EXPECT_LE(table.Length[29], table.Length[std::size_t(s)]);
    EXPECT_EQ(-1, table.Code[30]);
    EXPECT_EQ(0u, table.Mask[30]);
}

TEST(JpegHuffman, SingleSymbolGetsOneBitCode)
{
    const JpegHuffmanTable table = tableFrom({{5, 40}});
    EXPECT_EQ(1, table.Bits[0]);
    EXPECT_EQ(1, table.SymbolCount());
    EXPECT_EQ(5, table.HuffVal[0]);
    EXPECT_EQ(0, table.Code[5]);
    EXPECT_EQ(1, table.Length[5]);
}

TEST(JpegHuffman, TiesGoToTheHigherSymbol)
{
    // Symbols 0 and 1 both count 5: the higher, 1, is joined with the reserved symbol's
    // tree first and so ends up one bit longer than 0.
    const JpegHuffmanTable table = tableFrom({{0, 5}, {1, 5}, {2, 1}});
    EXPECT_EQ((std::array<std::uint8_t, 3>{1, 1, 1}),
              (std::array<std::uint8_t, 3>{table.Bits[0], table.Bits[1], table.Bits[2]}));
    EXPECT_EQ(0, table.HuffVal[0]);
    EXPECT_EQ(1, table.HuffVal[1]);
    EXPECT_EQ(2, table.HuffVal[2]);
    EXPECT_EQ(0b0, table.Code[0]);
    EXPECT_EQ(0b10, table.Code[1]);
    EXPECT_EQ(0b110, table.Code[2]);
}

TEST(JpegHuffman, ExpandRefusesBadTables)
{
    const auto fails = [](const JpegHuffmanTable &table, int maxSymbol) {
        JpegHuffmanTable copy = table;
        try {
            copy.Expand(maxSymbol);
        } catch (const platform::RuntimeError &e) {
            return e.number() == 1 && e.description() == QStringLiteral("Bad Huffman Table");
        }
        return false;
    };
    JpegHuffmanTable none;
    EXPECT_TRUE(fails(none, 255));

    JpegHuffmanTable tooMany;
    tooMany.Bits[15] = 255;
    tooMany.Bits[14] = 2;
    EXPECT_TRUE(fails(tooMany, 255));

    JpegHuffmanTable threeOneBitCodes;
    threeOneBitCodes.Bits[0] = 3;
    threeOneBitCodes.HuffVal[0] = 0, threeOneBitCodes.HuffVal[1] = 1, threeOneBitCodes.HuffVal[2] = 2;
    EXPECT_TRUE(fails(threeOneBitCodes, 255));

    JpegHuffmanTable twice;
    twice.Bits[1] = 2;
    twice.HuffVal[0] = 4, twice.HuffVal[1] = 4;
    EXPECT_TRUE(fails(twice, 255));

    JpegHuffmanTable dcTooBig;
    dcTooBig.Bits[1] = 2;
    dcTooBig.HuffVal[0] = 3, dcTooBig.HuffVal[1] = 12;
    EXPECT_TRUE(fails(dcTooBig, 11));
    EXPECT_FALSE(fails(dcTooBig, 255));
}

TEST(JpegEntropy, BitsAreStuffedAndPaddedWithOnes)
{
    std::vector<std::uint8_t> out;
    JpegEntropyCoder coder(out);
    coder.ResetBitWriter();
    coder.WriteBits(0x80, 0xFF);
    coder.WriteBits(0, 0xFFFF); // a mask below 1 writes nothing
    coder.WriteBits(4, 0b101);
    coder.FlushBits();
    EXPECT_EQ((std::vector<std::uint8_t>{0xFF, 0x00, 0xBF}), out);
    // Padding that completes an FF is stuffed too.
    coder.WriteBits(1 << 6, 0x7F);
    coder.FlushBits();
    EXPECT_EQ((std::vector<std::uint8_t>{0xFF, 0x00, 0xBF, 0xFF, 0x00}), out);
    // A byte boundary needs no padding.
    coder.WriteBits(0x80, 0x12);
    coder.FlushBits();
    EXPECT_EQ(6u, out.size());
    EXPECT_EQ(0x12, out.back());
}

TEST(JpegEntropy, LongZeroRunsUseZrlCodes)
{
    // DC 5 and one AC coefficient -3 after 35 zeros: F0, F0, then run 3 with size 2, then EOB.
    std::int16_t block[64] = {};
    block[0] = 5;
    block[36] = -3;
    JpegHuffmanTable::Counts counts{};
    JpegEntropyCoder::CountACSymbols(block, counts);
    EXPECT_EQ(2u, counts[0xF0]);
    EXPECT_EQ(1u, counts[0x32]);
    EXPECT_EQ(1u, counts[0x00]);
    EXPECT_EQ(4u, std::accumulate(counts.begin(), counts.end(), 0u));

    const JpegHuffmanTable dc = tableFrom({{3, 1}}, 11);
    const JpegHuffmanTable ac = tableFrom({{0xF0, 2}, {0x32, 1}, {0x00, 1}});
    std::vector<std::uint8_t> out;
    JpegEntropyCoder coder(out);
    coder.ResetBitWriter();
    int prediction = 0;
    coder.EncodeBlock(block, prediction, dc, ac);
    coder.FlushBits();
    EXPECT_EQ(5, prediction);

    BitReader reader(out);
    EXPECT_EQ(3, reader.symbol(dc));
    EXPECT_EQ(5, extend(reader.bits(3), 3));
    EXPECT_EQ(0xF0, reader.symbol(ac));
    EXPECT_EQ(0xF0, reader.symbol(ac));
    EXPECT_EQ(0x32, reader.symbol(ac));
    EXPECT_EQ(-3, extend(reader.bits(2), 2));
    EXPECT_EQ(0x00, reader.symbol(ac));
}

TEST(JpegEntropy, DcDifferencesFollowThePrediction)
{
    std::int16_t first[64] = {}, second[64] = {};
    first[0] = -7;
    second[0] = -7;
    const JpegHuffmanTable dc = tableFrom({{3, 1}, {0, 1}}, 11);
    const JpegHuffmanTable ac = tableFrom({{0x00, 2}});
    std::vector<std::uint8_t> out;
    JpegEntropyCoder coder(out);
    int prediction = 0;
    coder.EncodeBlock(first, prediction, dc, ac);
    coder.EncodeBlock(second, prediction, dc, ac);
    coder.EncodeDummyBlock(dc, ac);
    coder.FlushBits();
    BitReader reader(out);
    EXPECT_EQ(3, reader.symbol(dc));
    EXPECT_EQ(-7, extend(reader.bits(3), 3));
    EXPECT_EQ(0, reader.symbol(ac));
    EXPECT_EQ(0, reader.symbol(dc)); // same DC: difference 0, no extra bits
    EXPECT_EQ(0, reader.symbol(ac));
    EXPECT_EQ(0, reader.symbol(dc)); // the dummy block
    EXPECT_EQ(0, reader.symbol(ac));
}

TEST(JpegEntropy, SymbolWithoutCodeFailsLoudly)
{
    // A block that ends in zeros needs an end-of-block code the table lacks.
    std::int16_t block[64] = {};
    block[1] = 1;
    const JpegHuffmanTable dc = tableFrom({{0, 1}}, 11);
    const JpegHuffmanTable ac = tableFrom({{0x01, 1}});
    std::vector<std::uint8_t> out;
    JpegEntropyCoder coder(out);
    int prediction = 0;
    try {
        coder.EncodeBlock(block, prediction, dc, ac);
        FAIL() << "no error raised";
    } catch (const platform::RuntimeError &e) {
        EXPECT_EQ(1, e.number());
        EXPECT_EQ(QStringLiteral("No Huffman Code for Symbol 00"), e.description());
    }
    EXPECT_THROW(coder.EncodeDummyBlock(dc, ac), platform::RuntimeError);
}

TEST(JpegEntropy, BitSizes)
{
    EXPECT_EQ(0, JpegEntropyCoder::BitSize(0));
    EXPECT_EQ(1, JpegEntropyCoder::BitSize(-1));
    EXPECT_EQ(2, JpegEntropyCoder::BitSize(3));
    EXPECT_EQ(3, JpegEntropyCoder::BitSize(-4));
    EXPECT_EQ(11, JpegEntropyCoder::BitSize(-1024));
}
