#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QSerialPort;

namespace platform {

// A serial port driven as the classic communications control: choose a port number, open
// it, write texts, close it. COM<n> is the n-th of the system's serial devices in device
// order (see inDeviceOrder), unless the environment variable QUILTERN_COM<n> names the device.
// The line runs at 9600 baud, no parity, 8 data bits, 1 stop bit. Failures raise a
// RuntimeError whose text names the device.
class Comm : public QObject {
    Q_OBJECT
  public:
    explicit Comm(QObject *parent = nullptr);
    ~Comm() override; // closes the port

    int commPort() const { return mPort; }
    void setCommPort(int port);

    bool commPortOpen() const;
    void setCommPortOpen(bool open);

    // Nothing is ever read back, so the input length only has to be accepted.
    void setCommInputLen(int length) { mInputLen = length; }
    int commInputLen() const { return mInputLen; }

    // Writes the text in the ANSI code page and waits until the device has taken it.
    void commOutput(const QString &text);

    // The device a port number stands for; empty when the system has no such port.
    static QString deviceForPort(int port);
    // The devices' paths in the order their port numbers follow: the ports built into the
    // machine first (ttyS0, ttyS1, ... ttyS10, then other on-board kinds), then USB adapters
    // (ttyUSB*, then ttyACM*), then ports that come and go over the air (rfcomm*, ircomm*);
    // within a kind by number, not by text. So plugging in an adapter never renumbers a port
    // the machine has of its own.
    static QStringList inDeviceOrder(QStringList locations);

  private:
    QSerialPort *mSerial;
    int mPort = 1;
    int mInputLen = 0;
};

namespace err {
constexpr int CommInvalidPort = 8002;
constexpr int CommPortAlreadyOpen = 8005;
constexpr int CommPortNotOpen = 8012;
constexpr int CommPortOpenFailed = 8015;
constexpr int CommWriteFailed = 8020;
} // namespace err

} // namespace platform
