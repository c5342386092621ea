#include "support/PseudoModem.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PseudoModem::PseudoModem()
{
    mMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (mMaster < 0 || grantpt(mMaster) != 0 || unlockpt(mMaster) != 0)
        throw std::runtime_error("no pseudo-terminal");
    mSlavePath = QString::fromLocal8Bit(ptsname(mMaster));
    // Raw, so the line discipline hands every byte through as it was written.
    termios mode{};
    if (tcgetattr(mMaster, &mode) == 0) {
        cfmakeraw(&mode);
        tcsetattr(mMaster, TCSANOW, &mode);
    }
}

PseudoModem::~PseudoModem()
{
    if (mMaster >= 0)
        ::close(mMaster);
}

QByteArray PseudoModem::received()
{
    QByteArray bytes;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(mMaster, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    return bytes;
}
