#include "platform/comm/Comm.h"

#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"

#include <QHash>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>
#include <vector>

namespace platform {

namespace {
constexpr int WriteTimeoutMs = 5000;

// Where a kind of device stands: the machine's own ports (ttyS, then other on-board kinds),
// USB adapters, USB modems, then ports over the air.
int kindRank(const QString &stem)
{
    static const QHash<QString, int> ranks = {{QStringLiteral("ttyS"), 0},   {QStringLiteral("ttyUSB"), 2},
                                              {QStringLiteral("ttyACM"), 3}, {QStringLiteral("rfcomm"), 4},
                                              {QStringLiteral("ircomm"), 4}};
    return ranks.value(stem, 1);
}

// A device's place: its kind, then the name without its number, then the number.
struct DeviceKey {
    int rank;
    QString stem;
    qulonglong number;
    QString location;

    explicit DeviceKey(const QString &path) : location(path)
    {
        const QString name = path.mid(path.lastIndexOf(u'/') + 1);
        qsizetype digits = name.size();
        while (digits > 0 && name.at(digits - 1).isDigit())
            --digits;
        stem = name.left(digits);
        number = name.mid(digits).toULongLong();
        rank = kindRank(stem);
    }
    bool operator<(const DeviceKey &other) const
    {
        return std::tie(rank, stem, number, location) <
               std::tie(other.rank, other.stem, other.number, other.location);
    }
};
} // namespace

Comm::Comm(QObject *parent) : QObject(parent), mSerial(new QSerialPort(this)) {}

Comm::~Comm()
{
    if (mSerial->isOpen())
        mSerial->close();
}

void Comm::setCommPort(int port)
{
    if (port < 1 || port > 16)
        throw RuntimeError(err::CommInvalidPort, QStringLiteral("Invalid port number: COM%1.").arg(port));
    if (mSerial->isOpen())
        throw RuntimeError(err::CommPortAlreadyOpen,
                           QStringLiteral("The port cannot be changed while COM%1 is open.").arg(mPort));
    mPort = port;
}

bool Comm::commPortOpen() const
{
    return mSerial->isOpen();
}

QString Comm::deviceForPort(int port)
{
    const QByteArray named = qgetenv(QStringLiteral("QUILTERN_COM%1").arg(port).toLatin1().constData());
    if (!named.isEmpty())
        return QString::fromLocal8Bit(named);
    QStringList locations;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        locations << info.systemLocation();
    locations = inDeviceOrder(locations);
    if (port < 1 || port > locations.size())
        return QString();
    return locations.at(port - 1);
}

QStringList Comm::inDeviceOrder(QStringList locations)
{
    std::vector<DeviceKey> keys(locations.cbegin(), locations.cend());
    std::sort(keys.begin(), keys.end());
    locations.clear();
    for (const DeviceKey &key : keys)
        locations << key.location;
    return locations;
}

void Comm::setCommPortOpen(bool open)
{
    if (!open) {
        if (mSerial->isOpen()) {
            mSerial->flush();
            mSerial->close();
        }
        return;
    }
    if (mSerial->isOpen())
        throw RuntimeError(err::CommPortAlreadyOpen, QStringLiteral("COM%1 is already open.").arg(mPort));
    const QString device = deviceForPort(mPort);
    if (device.isEmpty())
        throw RuntimeError(err::CommPortOpenFailed,
                           QStringLiteral("COM%1 cannot be opened: this computer has no such serial port.").arg(mPort));
    mSerial->setPortName(device);
    if (!mSerial->open(QIODevice::ReadWrite)) {
        const QString reason = mSerial->errorString();
        mSerial->clearError();
        throw RuntimeError(err::CommPortOpenFailed,
                           QStringLiteral("COM%1 (%2) cannot be opened: %3.").arg(mPort).arg(device, reason));
    }
    mSerial->setBaudRate(QSerialPort::Baud9600);
    mSerial->setParity(QSerialPort::NoParity);
    mSerial->setDataBits(QSerialPort::Data8);
    mSerial->setStopBits(QSerialPort::OneStop);
    mSerial->setFlowControl(QSerialPort::NoFlowControl);
}

void Comm::commOutput(const QString &text)
{
    if (!mSerial->isOpen())
        throw RuntimeError(err::CommPortNotOpen, QStringLiteral("COM%1 is not open.").arg(mPort));
    const QByteArray bytes = toAnsi(text);
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = mSerial->write(bytes.constData() + written, bytes.size() - written);
        if (n < 0)
            break;
        written += n;
    }
    bool sent = written == bytes.size();
    while (sent && mSerial->bytesToWrite() > 0)
        sent = mSerial->waitForBytesWritten(WriteTimeoutMs);
    if (!sent) {
        const QString reason = mSerial->errorString();
        mSerial->clearError();
        throw RuntimeError(err::CommWriteFailed,
                           QStringLiteral("Writing to COM%1 (%2) failed: %3.").arg(mPort).arg(mSerial->portName(), reason));
    }
}

} // namespace platform
