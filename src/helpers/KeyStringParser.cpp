#include "helpers/KeyStringParser.h"

#include "helpers/KeyboardLayout.h"
#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"

#include <QHash>
#include <cmath>

namespace {

enum ShiftBit { ShiftBit = 1, CtrlBit = 2, AltBit = 4 };

struct NamedKey {
    int vk;
    bool extended;
};

const QHash<QString, NamedKey> &keyTable()
{
    static const QHash<QString, NamedKey> table = [] {
        using L = KeyboardLayout;
        QHash<QString, NamedKey> t{
            {QStringLiteral("BACKSPACE"), {L::VkBack, false}},
            {QStringLiteral("BS"), {L::VkBack, false}},
            {QStringLiteral("BKSP"), {L::VkBack, false}},
            {QStringLiteral("BREAK"), {L::VkPause, true}},
            {QStringLiteral("CAPSLOCK"), {L::VkCapital, false}},
            {QStringLiteral("DELETE"), {L::VkDelete, true}},
            {QStringLiteral("DEL"), {L::VkDelete, true}},
            {QStringLiteral("DOWN"), {L::VkDown, true}},
            {QStringLiteral("END"), {L::VkEnd, true}},
            {QStringLiteral("ENTER"), {L::VkReturn, false}},
            {QStringLiteral("ESC"), {L::VkEscape, false}},
            {QStringLiteral("HELP"), {L::VkHelp, false}},
            {QStringLiteral("HOME"), {L::VkHome, true}},
            {QStringLiteral("INS"), {L::VkInsert, true}},
            {QStringLiteral("INSERT"), {L::VkInsert, true}},
            {QStringLiteral("LEFT"), {L::VkLeft, true}},
            {QStringLiteral("NUMLOCK"), {L::VkNumLock, true}},
            {QStringLiteral("PGDN"), {L::VkNext, true}},
            {QStringLiteral("PGUP"), {L::VkPrior, true}},
            {QStringLiteral("PAUSE"), {L::VkPause, false}},
            {QStringLiteral("PRINT"), {L::VkPrint, true}},
            {QStringLiteral("PRTSC"), {L::VkSnapshot, true}},
            {QStringLiteral("PRTSCN"), {L::VkSnapshot, true}},
            {QStringLiteral("PRINTSCRN"), {L::VkSnapshot, true}},
            {QStringLiteral("PRINTSCREEN"), {L::VkSnapshot, true}},
            {QStringLiteral("RIGHT"), {L::VkRight, true}},
            {QStringLiteral("SCROLLLOCK"), {L::VkScroll, false}},
            {QStringLiteral("SELECT"), {L::VkSelect, false}},
            {QStringLiteral("TAB"), {L::VkTab, false}},
            {QStringLiteral("UP"), {L::VkUp, true}},
        };
        for (int n = 1; n <= 16; ++n)
            t.insert(QStringLiteral("F%1").arg(n), {L::VkF1 + n - 1, false});
        return t;
    }();
    return table;
}

// The whole-number value of the number a text starts with (0 when it starts with none),
// halves rounded to even, kept within the repeat limit.
int repeatCount(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    while (i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128)
        ++i;
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128)
            ++i;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    if (!ok)
        return 1;
    const double whole = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (whole < 1)
        return 1;
    return whole > KeyStringParser::MaxRepeat ? KeyStringParser::MaxRepeat : int(whole);
}

} // namespace

int KeyStringParser::GetVKCode(const QString &name)
{
    const auto found = keyTable().constFind(name.toUpper());
    return found == keyTable().constEnd() ? 0 : found->vk;
}

bool KeyStringParser::IsExtendedKey(const QString &name)
{
    const auto found = keyTable().constFind(name.toUpper());
    return found != keyTable().constEnd() && found->extended;
}

QList<KeyInputRecord> KeyStringParser::parse(const QString &keys)
{
    mKeys = keys;
    mKeyPos = 0;
    mShiftState = 0;
    mInputs.clear();
    while (mKeyPos < mKeys.size())
        ParseNextKey();
    for (KeyInputRecord &record : mInputs)
        record.type = KeyInputRecord::KeyboardInput;
    return std::exchange(mInputs, {});
}

void KeyStringParser::ParseNextKey()
{
    ++mKeyPos;
    // A modifier at the very end has no item left to act on.
    if (mKeyPos > mKeys.size())
        return;
    const QChar ch = mKeys.at(mKeyPos - 1);
    switch (ch.unicode()) {
    case '+':
    case '^':
    case '%':
        AddModifier(ch);
        break;
    case '(':
        ParseGroup();
        break;
    case '{':
        ParseBraceKey();
        break;
    default:
        AddCharKey(ch);
        break;
    }
}

void KeyStringParser::AddModifier(QChar ch)
{
    int vk = KeyboardLayout::VkShift;
    int bit = ShiftBit;
    if (ch == QLatin1Char('^')) {
        vk = KeyboardLayout::VkControl;
        bit = CtrlBit;
    } else if (ch == QLatin1Char('%')) {
        vk = KeyboardLayout::VkMenu;
        bit = AltBit;
    }
    AddKeyInput(vk, true);
    mShiftState |= bit;
    ParseNextKey();
    AddKeyInput(vk, false);
    mShiftState &= ~bit;
}

void KeyStringParser::ParseGroup()
{
    const qsizetype close = mKeys.indexOf(QLatin1Char(')'), mKeyPos); // 0-based, after the "("
    // An unclosed "(" and an empty "()" type nothing for the "("; the rest parses as usual.
    if (close < 0 || close == mKeyPos)
        return;
    for (qsizetype i = mKeyPos; i < close; ++i)
        AddCharKey(mKeys.at(i));
    mKeyPos = close + 1;
}

void KeyStringParser::ParseBraceKey()
{
    // The search starts one character behind the "{", so "{}}" and "{{}" type the brace.
    const qsizetype close = mKeys.indexOf(QLatin1Char('}'), mKeyPos + 1);
    if (close < 0)
        return;
    const QString inner = mKeys.mid(mKeyPos, close - mKeyPos);
    mKeyPos = close + 1;

    const QStringList parts = inner.split(QLatin1Char(' '));
    const QString name = parts.at(0);
    const int count = parts.size() > 1 ? repeatCount(parts.at(1)) : 1;

    int vk = GetVKCode(name);
    bool needShift = false;
    bool needCtrlAlt = false;
    bool extended = false;
    if (vk != 0) {
        extended = IsExtendedKey(name);
    } else {
        const char16_t code = inner.at(0).unicode();
        const short scan = code <= 255 ? KeyboardLayout::vkKeyScan(code) : short(-1);
        if (scan == -1) {
            // No key types it: send the character itself rather than a made-up key.
            for (int n = 0; n < count; ++n)
                AddUnicodeKey(code);
            return;
        }
        vk = scan & 0xFF;
        needShift = scan & 0x100;
        needCtrlAlt = scan & 0x600;
    }
    for (int n = 0; n < count; ++n)
        AddKeyStroke(vk, needShift, extended, needCtrlAlt);
}

void KeyStringParser::AddCharKey(QChar ch)
{
    const char16_t code = ch.unicode();
    if (code <= 255) {
        const short scan =
            ch == QLatin1Char('~') ? short(KeyboardLayout::VkReturn) : KeyboardLayout::vkKeyScan(code);
        if (scan != -1) {
            bool needShift = scan & 0x100;
            const bool asciiLetter = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
            if (mCapsLockOn && asciiLetter)
                needShift = !needShift;
            AddKeyStroke(scan & 0xFF, needShift, false, scan & 0x600);
            return;
        }
    }
    AddUnicodeKey(code);
}

void KeyStringParser::AddKeyStroke(int vk, bool needShift, bool isExtended, bool needCtrlAlt)
{
    const bool addShift = needShift && !(mShiftState & ShiftBit);
    if (addShift)
        AddKeyInput(KeyboardLayout::VkShift, true);
    if (needCtrlAlt) {
        AddKeyInput(KeyboardLayout::VkControl, true);
        AddKeyInput(KeyboardLayout::VkMenu, true);
    }
    add(quint16(vk), 0, isExtended ? quint32(KeyInputRecord::ExtendedKey) : 0u);
    add(quint16(vk), KeyboardLayout::mapVirtualKey(vk), KeyInputRecord::KeyUp);
    if (needCtrlAlt) {
        AddKeyInput(KeyboardLayout::VkControl, false);
        AddKeyInput(KeyboardLayout::VkMenu, false);
    }
    if (addShift)
        AddKeyInput(KeyboardLayout::VkShift, false);
}

void KeyStringParser::AddKeyInput(int vk, bool keyDown)
{
    add(quint16(vk), 0, keyDown ? 0u : quint32(KeyInputRecord::KeyUp));
}

void KeyStringParser::AddUnicodeKey(char16_t code)
{
    add(0, code, KeyInputRecord::Unicode);
    add(0, code, KeyInputRecord::Unicode | KeyInputRecord::KeyUp);
}

void KeyStringParser::add(quint16 vk, quint16 scan, quint32 flags)
{
    KeyInputRecord record;
    record.virtualKey = vk;
    record.scanCode = scan;
    record.flags = flags;
    if (mInputs.size() >= MaxRecords) {
        mInputs.clear();
        throw platform::RuntimeError(platform::err::InvalidProcedureCall,
                                     QStringLiteral("Invalid procedure call or argument: the key string "
                                                    "types more than %1 key strokes.")
                                         .arg(MaxRecords));
    }
    mInputs.append(record);
}
