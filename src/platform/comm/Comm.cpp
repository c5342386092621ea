#include "platform/comm/Comm.h"

#include "platform/RuntimeError.h"
#include "platform/base/AnsiText.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

namespace platform {

namespace {
constexpr int WriteTimeoutMs = 5000;
}

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
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo &a, const QSerialPortInfo &b) {
        return a.systemLocation() < b.systemLocation();
    });
    if (port < 1 || port > ports.size())
        return QString();
    return ports.at(port - 1).systemLocation();
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
