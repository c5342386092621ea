#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal standing in for a modem: the program opens slavePath() as its serial
// device, and the test reads back every byte it was sent.
class PseudoModem {
  public:
    PseudoModem();
    ~PseudoModem();
    PseudoModem(const PseudoModem &) = delete;
    PseudoModem &operator=(const PseudoModem &) = delete;

    QString slavePath() const { return mSlavePath; }
    // Every byte written to the device since the last call.
    QByteArray received();

  private:
    int mMaster = -1;
    QString mSlavePath;
};
