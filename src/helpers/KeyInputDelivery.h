#pragma once

#include "helpers/KeyInputRecord.h"

#include <QList>
#include <QObject>
#include <Qt>

class QWidget;

// Plays keyboard input records to the application as Qt key events. A batch is queued like
// input from the keyboard: it is played after the running handler returns, all of it at once,
// with no other event processed between its keys. Each key goes to the widget that has the
// focus when it is played, so a Tab inside a batch moves the following keys on.
class KeyInputDelivery : public QObject {
    Q_OBJECT
  public:
    static KeyInputDelivery *instance();

    void post(QList<KeyInputRecord> records);

    // Plays records at once; the queued batches use it too.
    void play(const QList<KeyInputRecord> &records);

    // The emulated Caps Lock toggle: set by tests and the program, flipped by a Caps Lock key.
    bool capsLockOn() const { return mCapsLockOn; }
    void setCapsLockOn(bool on) { mCapsLockOn = on; }

  protected:
    bool event(QEvent *e) override;

  private:
    explicit KeyInputDelivery(QObject *parent) : QObject(parent) {}

    void playOne(const KeyInputRecord &record);
    void sendKey(QWidget *target, bool press, int key, const QString &text, Qt::KeyboardModifiers mods);
    Qt::KeyboardModifiers heldModifiers() const;

    bool mCapsLockOn = false;
    bool mShift = false;
    bool mCtrl = false;
    bool mAlt = false;
    char16_t mPendingHighSurrogate = 0;
};
