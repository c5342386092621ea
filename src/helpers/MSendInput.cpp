#include "helpers/MSendInput.h"

#include "helpers/KeyInputDelivery.h"
#include "helpers/KeyStringParser.h"

QList<KeyInputRecord> ParseKeyString(const QString &Keys)
{
    return KeyStringParser(IsCapsLockOn()).parse(Keys);
}

void SendKeysInput(const QString &Keys, bool Wait)
{
    Q_UNUSED(Wait);
    KeyInputDelivery::instance()->post(ParseKeyString(Keys));
}

bool IsCapsLockOn()
{
    return KeyInputDelivery::instance()->capsLockOn();
}

void SetCapsLockOn(bool on)
{
    KeyInputDelivery::instance()->setCapsLockOn(on);
}
