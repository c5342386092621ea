#include "platform/comm/Comm.h"
#include "support/ExpectRuntimeError.h"
#include "support/PseudoModem.h"

#include <gtest/gtest.h>

using platform::Comm;

namespace {

// Points COM<n> at a device for the life of the object.
struct ComEnvironment {
    ComEnvironment(int port, const QString &device) : name(QStringLiteral("QUILTERN_COM%1").arg(port).toLatin1())
    {
        qputenv(name.constData(), device.toLocal8Bit());
    }
    ~ComEnvironment() { qunsetenv(name.constData()); }
    QByteArray name;
};

} // namespace

TEST(Comm, WritesTextsInOrderToTheNamedDeviceAndClosesOnRequest)
{
    PseudoModem modem;
    ComEnvironment com(4, modem.slavePath());
    Comm comm;
    comm.setCommPort(4);
    EXPECT_EQ(Comm::deviceForPort(4), modem.slavePath());
    comm.setCommPortOpen(true);
    ASSERT_TRUE(comm.commPortOpen());
    comm.commOutput(QStringLiteral("9,5551234;\r"));
    comm.commOutput(QStringLiteral("+++"));
    comm.commOutput(QStringLiteral("ATH0\r"));
    comm.setCommPortOpen(false);
    EXPECT_FALSE(comm.commPortOpen());
    EXPECT_EQ(modem.received(), QByteArray("9,5551234;\r+++ATH0\r"));
}

TEST(Comm, RefusalsNameThePortAndLeaveItClosed)
{
    ComEnvironment com(7, QStringLiteral("/nonexistent/ttyQuiltern"));
    Comm comm;
    comm.setCommPort(7);
    try {
        comm.setCommPortOpen(true);
        ADD_FAILURE() << "a missing device opened";
    } catch (const platform::RuntimeError &error) {
        EXPECT_EQ(error.number(), platform::err::CommPortOpenFailed);
        EXPECT_TRUE(error.description().contains(QStringLiteral("COM7"))) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(QStringLiteral("/nonexistent/ttyQuiltern")));
    }
    EXPECT_FALSE(comm.commPortOpen());
    EXPECT_RUNTIME_ERROR(comm.commOutput(QStringLiteral("ATH0\r")), platform::err::CommPortNotOpen);
    EXPECT_RUNTIME_ERROR(comm.setCommPort(0), platform::err::CommInvalidPort);
    EXPECT_EQ(comm.commPort(), 7);
}

TEST(Comm, PortCannotChangeWhileOpen)
{
    PseudoModem modem;
    ComEnvironment com(2, modem.slavePath());
    Comm comm;
    comm.setCommPort(2);
    comm.setCommPortOpen(true);
    EXPECT_RUNTIME_ERROR(comm.setCommPort(3), platform::err::CommPortAlreadyOpen);
    EXPECT_RUNTIME_ERROR(comm.setCommPortOpen(true), platform::err::CommPortAlreadyOpen);
    EXPECT_EQ(comm.commPort(), 2);
}

TEST(Comm, PortNumbersFollowTheDevicesNaturalOrder)
{
    // As the system lists them; as COM1, COM2, ... take them.
    const std::pair<QStringList, QStringList> cases[] = {
        {{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS0"}, {"/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}},
        {{"/dev/rfcomm0", "/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyUSB9", "/dev/ttyAMA0", "/dev/ttyS1"},
         {"/dev/ttyS1", "/dev/ttyAMA0", "/dev/ttyUSB9", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/rfcomm0"}},
    };
    for (const auto &[listed, numbered] : cases)
        EXPECT_EQ(Comm::inDeviceOrder(listed), numbered) << listed.join(' ').toStdString();
}
