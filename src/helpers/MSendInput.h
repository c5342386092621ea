#pragma once

#include "helpers/KeyInputRecord.h"

#include <QList>
#include <QString>

// Sends a key string (usual send-keys syntax, see KeyStringParser) to the widget that has the
// keyboard focus. The whole string is parsed first and its keys are queued as one batch: they
// arrive after the calling handler returns, never re-entrantly, with nothing in between.
// Wait is accepted for the callers' sake and has no effect.
void SendKeysInput(const QString &Keys, bool Wait = false);

// The keyboard input records a key string types, with the Caps Lock state as it is now.
QList<KeyInputRecord> ParseKeyString(const QString &Keys);

// The emulated Caps Lock toggle the sender types with.
bool IsCapsLockOn();
void SetCapsLockOn(bool on);
