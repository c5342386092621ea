#pragma once

#include <QString>
#include <Qt>

// The keyboard the keystroke sender types on: the US English layout, described by virtual
// keys as the classic keyboard functions do. The parser asks which key and shift state type a
// character; delivery turns a key back into the Qt key and the text it types.
class KeyboardLayout {
  public:
    enum VirtualKey : int {
        VkBack = 8,
        VkTab = 9,
        VkReturn = 13,
        VkShift = 16,
        VkControl = 17,
        VkMenu = 18,
        VkPause = 19,
        VkCapital = 20,
        VkEscape = 27,
        VkSpace = 32,
        VkPrior = 33,
        VkNext = 34,
        VkEnd = 35,
        VkHome = 36,
        VkLeft = 37,
        VkUp = 38,
        VkRight = 39,
        VkDown = 40,
        VkSelect = 41,
        VkPrint = 42,
        VkSnapshot = 44,
        VkInsert = 45,
        VkDelete = 46,
        VkHelp = 47,
        VkF1 = 112,
        VkNumLock = 144,
        VkScroll = 145,
        // A character typed as itself rather than by a key of the layout.
        VkPacket = 231,
    };

    // The key that types the character code (0 to 255) in its low byte, and in its high byte
    // the states it needs (1 Shift, 2 Ctrl, 4 Alt); -1 when no key of the layout types it.
    static short vkKeyScan(int code);

    // The scan code of a virtual key; 0 for a key with none.
    static quint16 mapVirtualKey(int vk);

    // The Qt key a virtual key reports with the given Shift state.
    static int qtKey(int vk, bool shift);

    // The virtual key of a Qt key, as the key codes of the classic key events report it:
    // Key_BraceLeft and Key_BracketLeft are both 219, Key_Enter is the Return key; 0 for a
    // key the layout does not have.
    static int virtualKey(int qtKey);

    // The text a virtual key types with the given Shift and Caps Lock states; empty for keys
    // that type nothing.
    static QString keyText(int vk, bool shift, bool capsLock);
};
