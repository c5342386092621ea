#include "helpers/KeyboardLayout.h"

#include <array>

namespace {

using platform::VkCloseBracket;
using platform::VkOpenBracket;

// The punctuation keys of the US layout: key, unshifted and shifted character.
struct CharacterKey {
    int vk;
    char plain;
    char shifted;
};

constexpr std::array<CharacterKey, 11> punctuationKeys{{
    {0xBA, ';', ':'},
    {0xBB, '=', '+'},
    {0xBC, ',', '<'},
    {0xBD, '-', '_'},
    {0xBE, '.', '>'},
    {0xBF, '/', '?'},
    {0xC0, '`', '~'},
    {VkOpenBracket, '[', '{'},
    {0xDC, '\\', '|'},
    {VkCloseBracket, ']', '}'},
    {0xDE, '\'', '"'},
}};

// Shift + digit key, from 0 to 9.
constexpr char shiftedDigits[] = ")!@#$%^&*(";

constexpr short ShiftNeeded = 0x100;
constexpr short CtrlNeeded = 0x200;

const CharacterKey *punctuationKey(int vk)
{
    for (const CharacterKey &key : punctuationKeys) {
        if (key.vk == vk)
            return &key;
    }
    return nullptr;
}

// The character a printable key types, or 0.
int typedCharacter(int vk, bool shift)
{
    if (vk == KeyboardLayout::VkSpace)
        return ' ';
    if (vk >= '0' && vk <= '9')
        return shift ? shiftedDigits[vk - '0'] : vk;
    if (vk >= 'A' && vk <= 'Z')
        return shift ? vk : vk - 'A' + 'a';
    if (const CharacterKey *key = punctuationKey(vk))
        return shift ? key->shifted : key->plain;
    return 0;
}

} // namespace

short KeyboardLayout::vkKeyScan(int code)
{
    if (code >= 'a' && code <= 'z')
        return short(code - 'a' + 'A');
    if (code >= 'A' && code <= 'Z')
        return short(ShiftNeeded | code);
    if (code >= '0' && code <= '9')
        return short(code);
    if (code == ' ')
        return VkSpace;
    for (int digit = 0; digit < 10; ++digit) {
        if (shiftedDigits[digit] == code)
            return short(ShiftNeeded | ('0' + digit));
    }
    for (const CharacterKey &key : punctuationKeys) {
        if (key.plain == code)
            return short(key.vk);
        if (key.shifted == code)
            return short(ShiftNeeded | key.vk);
    }
    // Control characters: the keys that type them, most with Ctrl held.
    switch (code) {
    case 0x00:
        return short(ShiftNeeded | CtrlNeeded | '2');
    case 0x08:
        return VkBack;
    case 0x09:
        return VkTab;
    case 0x0A:
        return short(CtrlNeeded | VkReturn);
    case 0x0D:
        return VkReturn;
    case 0x1B:
        return VkEscape;
    case 0x1C:
        return short(CtrlNeeded | 0xDC);
    case 0x1D:
        return short(CtrlNeeded | 0xDD);
    case 0x1E:
        return short(ShiftNeeded | CtrlNeeded | '6');
    case 0x1F:
        return short(ShiftNeeded | CtrlNeeded | 0xBD);
    case 0x7F:
        return short(CtrlNeeded | VkBack);
    default:
        break;
    }
    if (code >= 0x01 && code <= 0x1A)
        return short(CtrlNeeded | (code - 1 + 'A'));
    return -1;
}

quint16 KeyboardLayout::mapVirtualKey(int vk)
{
    // Scan codes of the letter keys, A to Z.
    static constexpr quint8 letters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                           0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                           0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    if (vk >= 'A' && vk <= 'Z')
        return letters[vk - 'A'];
    if (vk >= '1' && vk <= '9')
        return quint16(0x02 + vk - '1');
    if (vk >= VkF1 && vk < VkF1 + 10)
        return quint16(0x3B + vk - VkF1);
    if (vk >= VkF1 + 12 && vk < VkF1 + 16)
        return quint16(0x64 + vk - VkF1 - 12);
    switch (vk) {
    case '0':
        return 0x0B;
    case VkBack:
        return 0x0E;
    case VkTab:
        return 0x0F;
    case VkReturn:
        return 0x1C;
    case VkShift:
        return 0x2A;
    case VkControl:
        return 0x1D;
    case VkMenu:
        return 0x38;
    case VkPause:
        return 0x45;
    case VkCapital:
        return 0x3A;
    case VkEscape:
        return 0x01;
    case VkSpace:
        return 0x39;
    case VkPrior:
        return 0x49;
    case VkNext:
        return 0x51;
    case VkEnd:
        return 0x4F;
    case VkHome:
        return 0x47;
    case VkLeft:
        return 0x4B;
    case VkUp:
        return 0x48;
    case VkRight:
        return 0x4D;
    case VkDown:
        return 0x50;
    case VkSnapshot:
        return 0x54;
    case VkInsert:
        return 0x52;
    case VkDelete:
        return 0x53;
    case VkF1 + 10:
        return 0x57;
    case VkF1 + 11:
        return 0x58;
    case VkNumLock:
        return 0x45;
    case VkScroll:
        return 0x46;
    case 0xBA:
        return 0x27;
    case 0xBB:
        return 0x0D;
    case 0xBC:
        return 0x33;
    case 0xBD:
        return 0x0C;
    case 0xBE:
        return 0x34;
    case 0xBF:
        return 0x35;
    case 0xC0:
        return 0x29;
    case 0xDB:
        return 0x1A;
    case 0xDC:
        return 0x2B;
    case 0xDD:
        return 0x1B;
    case 0xDE:
        return 0x28;
    default:
        return 0;
    }
}

int KeyboardLayout::qtKey(int vk, bool shift)
{
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + (vk - 'A');
    if (const int ch = typedCharacter(vk, shift))
        return ch; // Qt's keys for printable ASCII are the characters themselves.
    if (vk >= VkF1 && vk < VkF1 + 24)
        return Qt::Key_F1 + (vk - VkF1);
    switch (vk) {
    case VkBack:
        return Qt::Key_Backspace;
    case VkTab:
        return shift ? Qt::Key_Backtab : Qt::Key_Tab;
    case VkReturn:
        return Qt::Key_Return;
    case VkShift:
        return Qt::Key_Shift;
    case VkControl:
        return Qt::Key_Control;
    case VkMenu:
        return Qt::Key_Alt;
    case VkPause:
        return Qt::Key_Pause;
    case VkCapital:
        return Qt::Key_CapsLock;
    case VkEscape:
        return Qt::Key_Escape;
    case VkPrior:
        return Qt::Key_PageUp;
    case VkNext:
        return Qt::Key_PageDown;
    case VkEnd:
        return Qt::Key_End;
    case VkHome:
        return Qt::Key_Home;
    case VkLeft:
        return Qt::Key_Left;
    case VkUp:
        return Qt::Key_Up;
    case VkRight:
        return Qt::Key_Right;
    case VkDown:
        return Qt::Key_Down;
    case VkSelect:
        return Qt::Key_Select;
    case VkPrint:
        return Qt::Key_Printer;
    case VkSnapshot:
        return Qt::Key_Print;
    case VkInsert:
        return Qt::Key_Insert;
    case VkDelete:
        return Qt::Key_Delete;
    case VkHelp:
        return Qt::Key_Help;
    case VkNumLock:
        return Qt::Key_NumLock;
    case VkScroll:
        return Qt::Key_ScrollLock;
    default:
        return Qt::Key_unknown;
    }
}

QString KeyboardLayout::keyText(int vk, bool shift, bool capsLock)
{
    const bool letter = vk >= 'A' && vk <= 'Z';
    if (const int ch = typedCharacter(vk, letter ? shift != capsLock : shift))
        return QString(QChar(ch));
    switch (vk) {
    case VkBack:
        return QStringLiteral("\b");
    case VkTab:
        return QStringLiteral("\t");
    case VkReturn:
        return QStringLiteral("\r");
    case VkEscape:
        return QStringLiteral("\x1b");
    default:
        return QString();
    }
}

int KeyboardLayout::virtualKey(int qtKey)
{
    if (qtKey == Qt::Key_unknown || qtKey == 0)
        return 0;
    if (qtKey == Qt::Key_Enter)
        return VkReturn;
    if (qtKey == Qt::Key_Backtab)
        return VkTab;
    for (const bool shift : {false, true})
        for (int vk = 1; vk < 255; ++vk)
            if (KeyboardLayout::qtKey(vk, shift) == qtKey)
                return vk;
    return 0;
}
