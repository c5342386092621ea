#include "platform/base/AnsiText.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(AnsiText, EncodesLatinAndTheCodePagesOwnCharacters)
{
    EXPECT_EQ(toAnsi("Plain, \"quoted\"\r\n"), QByteArray("Plain, \"quoted\"\r\n"));
    EXPECT_EQ(toAnsi(QString::fromUtf8("Zoë Müller-Ångström")),
              QByteArray("Zo\xEB M\xFCller-\xC5ngstr\xF6m"));
    // The euro sign, curly quotes, dashes and the ellipsis sit in 0x80..0x9F.
    EXPECT_EQ(toAnsi(QString::fromUtf8("€ ‘a’ “b” – — … Š œ Ÿ")),
              QByteArray("\x80 \x91"
                         "a\x92 \x93"
                         "b\x94 \x96 \x97 \x85 \x8A \x9C \x9F"));
}

TEST(AnsiText, CharactersTheCodePageLacksBecomeQuestionMarks)
{
    // Cyrillic, CJK, a character outside the basic plane: one '?' per character,
    // never the substitute byte 0x1A.
    const QByteArray bytes = toAnsi(QString::fromUtf8("Ж日本😀x"));
    EXPECT_EQ(bytes, QByteArray("????x"));
    EXPECT_FALSE(bytes.contains('\x1A'));
    EXPECT_EQ(toAnsi(QString::fromUtf8("ā")), QByteArray("?"));
}

TEST(AnsiText, KeepsARealSubstituteCharacterAndControlCharacters)
{
    EXPECT_EQ(toAnsi(QString(QChar(0x1A))), QByteArray("\x1A"));
    EXPECT_EQ(toAnsi(QString(QChar(0)) + "a\t"), QByteArray("\0a\t", 3));
}

TEST(AnsiText, DecodesEveryByteAndRoundTrips)
{
    EXPECT_EQ(fromAnsi("Zo\xEB \x80 \x93q\x94"), QString::fromUtf8("Zoë € “q”"));
    QByteArray all;
    for (int i = 0; i < 256; ++i) {
        all.append(char(i));
    }
    const QString text = fromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
    EXPECT_EQ(text[0x81], QChar(0x81)); // unassigned in the code page, kept as its C1 twin
    EXPECT_EQ(text[0x9F], QChar(0x178));
}

TEST(AnsiText, EmptyTextAndEmptyBytes)
{
    EXPECT_TRUE(toAnsi(QString()).isEmpty());
    EXPECT_TRUE(fromAnsi(QByteArray()).isEmpty());
}

TEST(AnsiText, AppendsToBytesAlreadyThereAndTakesAStrayHalfAsOneCharacter)
{
    QByteArray bytes("\"a\",");
    appendAnsi(bytes, QStringView(u"\"é\xD800\",\"\xDC00\xD83D\xDE00\""));
    EXPECT_EQ(bytes, QByteArray("\"a\",\"\xE9?\",\"??\""));
}
