#pragma once

#include <QtGlobal>

// One keyboard input record of a key string: a virtual key going down or up, or one UTF-16
// code unit typed as a character. The layout follows the classic keyboard input record so
// that a key string always yields the same, checkable sequence.
struct KeyInputRecord {
    enum Flag : quint32 {
        ExtendedKey = 1,
        KeyUp = 2,
        Unicode = 4,
    };
    enum : quint32 { KeyboardInput = 1 };

    quint32 type = 0;
    quint16 virtualKey = 0;
    quint16 scanCode = 0;
    quint32 flags = 0;
    quint32 time = 0;
    quintptr extraInfo = 0;

    bool isKeyUp() const { return flags & KeyUp; }
    bool isUnicode() const { return flags & Unicode; }
    bool isExtended() const { return flags & ExtendedKey; }

    friend bool operator==(const KeyInputRecord &, const KeyInputRecord &) = default;
};
