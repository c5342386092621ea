#pragma once

#include "helpers/KeyInputRecord.h"

#include <QList>
#include <QString>

// Turns a key string in the usual send-keys syntax into keyboard input records:
// "+" "^" "%" hold Shift, Ctrl or Alt for the next item; "(...)" is a group of literal
// characters; "{NAME}" or "{NAME n}" is a named key or a literal character, pressed n times;
// "~" is Enter; any other character is typed with the key and Shift state that type it.
class KeyStringParser {
  public:
    // Largest repeat count of a braced key; larger counts are cut to it.
    static constexpr int MaxRepeat = 32767;
    // Most input records one key string may give; a longer one is refused whole (run-time
    // error 5) rather than flooding the input queue and memory.
    static constexpr qsizetype MaxRecords = 4096;

    explicit KeyStringParser(bool capsLockOn) : mCapsLockOn(capsLockOn) {}

    QList<KeyInputRecord> parse(const QString &keys);

    // The virtual key of a key name, matched without regard to case; 0 for an unknown name.
    static int GetVKCode(const QString &name);
    static bool IsExtendedKey(const QString &name);

  private:
    void ParseNextKey();
    void AddModifier(QChar ch);
    void ParseGroup();
    void ParseBraceKey();
    void AddCharKey(QChar ch);
    void AddKeyStroke(int vk, bool needShift, bool isExtended, bool needCtrlAlt);
    void AddKeyInput(int vk, bool keyDown);
    void AddUnicodeKey(char16_t code);
    void add(quint16 vk, quint16 scan, quint32 flags);

    bool mCapsLockOn;
    QString mKeys;
    qsizetype mKeyPos = 0; // characters consumed so far
    int mShiftState = 0;   // 1 Shift, 2 Ctrl, 4 Alt held by a pending modifier item
    QList<KeyInputRecord> mInputs;
};
