#pragma once

namespace platform {

// The classic key codes the windows' key handlers compare against, in one place.
//
// Key-down and key-up handlers speak virtual keys: the US English layout's keys, as the
// classic keyboard functions number them (the key-name table of the keystroke sender uses
// the same numbers).
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
    VkF5 = 116,
    VkNumLock = 144,
    VkScroll = 145,
    // The two bracket keys of the US layout ("[{" and "]}").
    VkOpenBracket = 219,
    VkCloseBracket = 221,
    // A character typed as itself rather than by a key of the layout.
    VkPacket = 231,
};

// Key-press handlers speak the character a key types. The control characters below are the
// ones handlers act on; printable characters are compared as character literals.
enum KeyCharacter : int {
    CharBackspace = 8,
    CharTab = 9,
    CharEnter = 13,
    CharEscape = 27,
    CharSpace = 32,
};

// A handler sets the key code or character it was given to this to drop the key.
inline constexpr int KeyCancelled = 0;

} // namespace platform
