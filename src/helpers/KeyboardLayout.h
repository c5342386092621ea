#pragma once

#include "platform/ui/KeyCodes.h"

#include <QString>
#include <Qt>

// The keyboard the keystroke sender types on: the US English layout, described by virtual
// keys as the classic keyboard functions do. The parser asks which key and shift state type a
// character; delivery turns a key back into the Qt key and the text it types.
class KeyboardLayout {
  public:
    // The virtual keys live with the other key codes; they are spelled KeyboardLayout::VkBack
    // here too, as the layout's own keys.
    using VirtualKey = platform::VirtualKey;
    using enum platform::VirtualKey;

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
