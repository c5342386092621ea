#include "helpers/KeyStringParser.h"
#include "helpers/MSendInput.h"
#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// One record as a short token: "<vk>d" key down (with "x" when extended), "<vk>u" key up with
// "@<scan code in hex>" when it carries one, "U<hex>d"/"U<hex>u" a Unicode character.
QString token(const KeyInputRecord &r)
{
    const QString dir = r.isKeyUp() ? QStringLiteral("u") : QStringLiteral("d");
    if (r.isUnicode())
        return QStringLiteral("U%1%2").arg(r.scanCode, 4, 16, QLatin1Char('0')).arg(dir);
    QString t = QString::number(r.virtualKey) + dir;
    if (r.isExtended())
        t += QLatin1Char('x');
    if (r.scanCode)
        t += QStringLiteral("@%1").arg(r.scanCode, 0, 16);
    return t;
}

QString parsed(const QString &keys, bool capsLock = false)
{
    QStringList tokens;
    for (const KeyInputRecord &r : KeyStringParser(capsLock).parse(keys))
        tokens << token(r);
    return tokens.join(QLatin1Char(' '));
}

std::string p(const char *keys, bool capsLock = false)
{
    return parsed(QString::fromUtf8(keys), capsLock).toStdString();
}

QString repeated(const QString &tokens, int times)
{
    QStringList list;
    for (int n = 0; n < times; ++n)
        list << tokens;
    return list.join(QLatin1Char(' '));
}

} // namespace

TEST(KeyStringParser, AltRDependsOnCapsLock)
{
    // Capital R needs Shift unless Caps Lock is on.
    EXPECT_EQ(p("%R"), "18d 16d 82d 82u@13 16u 18u");
    EXPECT_EQ(p("%R", true), "18d 82d 82u@13 18u");
}

TEST(KeyStringParser, LettersFollowShiftAndCapsLock)
{
    EXPECT_EQ(p("A"), "16d 65d 65u@1e 16u");
    EXPECT_EQ(p("A", true), "65d 65u@1e");
    EXPECT_EQ(p("a"), "65d 65u@1e");
    EXPECT_EQ(p("a", true), "16d 65d 65u@1e 16u");
    // Caps Lock concerns the letters only: digits and punctuation keep their Shift state.
    EXPECT_EQ(p("1!", true), "49d 49u@2 16d 49d 49u@2 16u");
}

TEST(KeyStringParser, ModifiersHoldForOneItem)
{
    EXPECT_EQ(p("+{Tab}"), "16d 9d 9u@f 16u");
    EXPECT_EQ(p("{Tab}"), "9d 9u@f");
    // Shift already held by "+": the capital adds no second Shift.
    EXPECT_EQ(p("+A"), "16d 65d 65u@1e 16u");
    // Only the first letter after "+" gets Shift.
    EXPECT_EQ(p("+abc"), "16d 65d 65u@1e 16u 66d 66u@30 67d 67u@2e");
    EXPECT_EQ(p("+^a"), "16d 17d 65d 65u@1e 17u 16u");
    EXPECT_EQ(p("^%{DEL}"), "17d 18d 46dx 46u@53 18u 17u");
}

TEST(KeyStringParser, ModifierAtTheEndIsReleased)
{
    EXPECT_EQ(p("+"), "16d 16u");
    EXPECT_EQ(p("a%"), "65d 65u@1e 18d 18u");
    EXPECT_EQ(p("^+"), "17d 16d 16u 17u");
}

TEST(KeyStringParser, GroupsAreLiteralAndShareTheirModifier)
{
    EXPECT_EQ(p("+(ab)c"), "16d 65d 65u@1e 66d 66u@30 16u 67d 67u@2e");
    // Inside a group + ^ % { ( are typed as themselves; ~ is Enter.
    EXPECT_EQ(p("(+^%{(~)"), "16d 187d 187u@d 16u 16d 54d 54u@7 16u 16d 53d 53u@6 16u "
                             "16d 219d 219u@1a 16u 16d 57d 57u@a 16u 13d 13u@1c");
}

TEST(KeyStringParser, MalformedGroupsAreNotErrors)
{
    // An unclosed "(" is dropped and the rest parsed as usual.
    EXPECT_EQ(p("(ab"), "65d 65u@1e 66d 66u@30");
    // "()" sends nothing for the "(" and types the ")".
    EXPECT_EQ(p("()"), "16d 48d 48u@b 16u");
}

TEST(KeyStringParser, BracedNamesIgnoreCaseAndRepeat)
{
    EXPECT_EQ(p("{right}"), "39dx 39u@4d");
    EXPECT_EQ(p("{RIGHT}"), p("{Right}"));
    EXPECT_EQ(parsed(QStringLiteral("{LEFT 3}")), repeated(QStringLiteral("37dx 37u@4b"), 3));
    EXPECT_EQ(parsed(QStringLiteral("{bs 5}")), repeated(QStringLiteral("8d 8u@e"), 5));
    // A count of 0, below 0, missing or not a number sends one press.
    for (const char *keys : {"{ENTER 0}", "{ENTER -4}", "{ENTER}", "{ENTER x}", "{ENTER  2}"})
        EXPECT_EQ(p(keys), "13d 13u@1c") << keys;
    // A fractional count is taken to the nearest whole number, halves to even.
    EXPECT_EQ(parsed(QStringLiteral("{UP 2.5}")), repeated(QStringLiteral("38dx 38u@48"), 2));
    EXPECT_EQ(parsed(QStringLiteral("{UP 3.5}")), repeated(QStringLiteral("38dx 38u@48"), 4));
    EXPECT_EQ(parsed(QStringLiteral("{UP 2abc}")), repeated(QStringLiteral("38dx 38u@48"), 2));
}

TEST(KeyStringParser, OutputIsBoundedAndMoreIsRefusedWhole)
{
    const auto refusal = [](const QString &keys) {
        try {
            KeyStringParser(false).parse(keys);
        } catch (const platform::RuntimeError &e) {
            return e.number();
        }
        return 0;
    };
    // Up to the bound every record is given; one press more refuses the whole string.
    const qsizetype half = KeyStringParser::MaxRecords / 2;
    EXPECT_EQ(KeyStringParser(false).parse(QStringLiteral("{a %1}").arg(half)).size(), 2 * half);
    EXPECT_EQ(refusal(QStringLiteral("{a %1}").arg(half + 1)), platform::err::InvalidProcedureCall);
    // A short text whose repeat counts would expand it a thousandfold.
    EXPECT_EQ(refusal(QStringLiteral("+{A 32767}")), platform::err::InvalidProcedureCall);
    EXPECT_EQ(refusal(QStringLiteral("{a 99999999999}")), platform::err::InvalidProcedureCall);
    EXPECT_EQ(refusal(QString(KeyStringParser::MaxRecords, u'x')), platform::err::InvalidProcedureCall);
    // The parser is usable again after a refusal.
    KeyStringParser parser(false);
    EXPECT_THROW(parser.parse(QStringLiteral("+{b 9999}")), platform::RuntimeError);
    EXPECT_EQ(parser.parse(QStringLiteral("ab")).size(), 4);
}

TEST(KeyStringParser, NamedKeysCarryTheirCodesAndExtendedFlags)
{
    EXPECT_EQ(p("{BREAK}"), "19dx 19u@45");
    EXPECT_EQ(p("{PAUSE}"), "19d 19u@45");
    EXPECT_EQ(p("{F1}{F16}"), "112d 112u@3b 127d 127u@67");
    EXPECT_EQ(p("{NUMLOCK}{SCROLLLOCK}"), "144dx 144u@45 145d 145u@46");
    EXPECT_EQ(p("{BKSP}{ESC}{HOME}{PGDN}{INSERT}"), "8d 8u@e 27d 27u@1 36dx 36u@47 34dx 34u@51 45dx 45u@52");
    EXPECT_EQ(p("{HELP}{SELECT}{PRINT}{PRTSC}"), "47d 47u 41d 41u 42dx 42u 44dx 44u@54");
    EXPECT_EQ(KeyStringParser::GetVKCode(QStringLiteral("printscreen")), 44);
    EXPECT_EQ(KeyStringParser::GetVKCode(QStringLiteral("NUMPAD1")), 0);
    EXPECT_FALSE(KeyStringParser::IsExtendedKey(QStringLiteral("nothing")));
}

TEST(KeyStringParser, TildeIsEnterUnlessBraced)
{
    EXPECT_EQ(p("~"), "13d 13u@1c");
    EXPECT_EQ(p("{~}"), "16d 192d 192u@29 16u");
}

TEST(KeyStringParser, BracesTypeTheSyntaxCharacters)
{
    EXPECT_EQ(p("{{}"), "16d 219d 219u@1a 16u");
    EXPECT_EQ(p("{}}"), "16d 221d 221u@1b 16u");
    EXPECT_EQ(p("{+}"), "16d 187d 187u@d 16u");
    EXPECT_EQ(p("{^}{%}"), "16d 54d 54u@7 16u 16d 53d 53u@6 16u");
    EXPECT_EQ(p("{(}{)}"), "16d 57d 57u@a 16u 16d 48d 48u@b 16u");
    // Braced characters keep their own Shift state whatever Caps Lock says.
    EXPECT_EQ(p("{a}", true), "65d 65u@1e");
}

TEST(KeyStringParser, UnclosedOrEmptyBracesAreDropped)
{
    // "{" without "}" is dropped, the rest typed.
    EXPECT_EQ(p("x{ab"), "88d 88u@2d 65d 65u@1e 66d 66u@30");
    // "{}" has no closing brace behind its first character: the "{" goes, the "}" is typed.
    EXPECT_EQ(p("{}"), "16d 221d 221u@1b 16u");
}

TEST(KeyStringParser, UnknownNamesTypeTheirFirstCharacter)
{
    EXPECT_EQ(p("{xyz}"), "88d 88u@2d");
    EXPECT_EQ(p("{Xyz 2}"), "16d 88d 88u@2d 16u 16d 88d 88u@2d 16u");
    EXPECT_EQ(p("{ 2}"), "32d 32u@39 32d 32u@39");
}

TEST(KeyStringParser, CharactersWithoutAKeyAreSentAsUnicode)
{
    EXPECT_EQ(p("é"), "U00e9d U00e9u");
    EXPECT_EQ(p("€"), "U20acd U20acu");
    // Beyond the first plane: each half of the pair is its own character record.
    EXPECT_EQ(p("😀"), "Ud83dd Ud83du Ude00d Ude00u");
    // A modifier still wraps a Unicode character.
    EXPECT_EQ(p("+ß"), "16d U00dfd U00dfu 16u");
    // In braces too, rather than a made-up key.
    EXPECT_EQ(p("{é 2}"), "U00e9d U00e9u U00e9d U00e9u");
    EXPECT_EQ(p("{Ω}"), "U03a9d U03a9u");
}

TEST(KeyStringParser, ControlCharactersUseTheirKeys)
{
    EXPECT_EQ(p("\t"), "9d 9u@f");
    EXPECT_EQ(p("\r"), "13d 13u@1c");
    // A line feed is Ctrl+Enter; Ctrl and Alt always go down together.
    EXPECT_EQ(p("\n"), "17d 18d 13d 13u@1c 17u 18u");
}

TEST(KeyStringParser, EmptyStringSendsNothing)
{
    EXPECT_TRUE(KeyStringParser(false).parse(QString()).isEmpty());
    EXPECT_TRUE(ParseKeyString(QString()).isEmpty());
}

TEST(KeyStringParser, RecordsAreKeyboardInputWithNoScanCodeOnKeyDown)
{
    const QList<KeyInputRecord> records = KeyStringParser(false).parse(QStringLiteral("%R{LEFT}é~"));
    ASSERT_EQ(records.size(), 12);
    for (const KeyInputRecord &r : records) {
        EXPECT_EQ(r.type, quint32(KeyInputRecord::KeyboardInput));
        EXPECT_EQ(r.time, 0u);
        EXPECT_EQ(r.extraInfo, 0u);
        if (!r.isKeyUp() && !r.isUnicode()) {
            EXPECT_EQ(r.scanCode, 0);
        }
        if (r.isKeyUp()) {
            EXPECT_FALSE(r.isExtended());
        }
    }
}

TEST(KeyStringParser, ParseKeyStringUsesTheCurrentCapsLockState)
{
    SetCapsLockOn(true);
    const QList<KeyInputRecord> capsOn = ParseKeyString(QStringLiteral("A"));
    SetCapsLockOn(false);
    const QList<KeyInputRecord> capsOff = ParseKeyString(QStringLiteral("A"));
    EXPECT_EQ(capsOn.size(), 2);
    EXPECT_EQ(capsOff.size(), 4);
}
