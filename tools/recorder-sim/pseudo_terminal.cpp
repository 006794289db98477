#include "recorder-sim/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cstdlib>

namespace veltrin::sim {

PseudoTerminal::~PseudoTerminal()
{
    if (master_ >= 0)
        ::close(master_);
}

bool PseudoTerminal::Open()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return false;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return false;
    const char* name = ::ptsname(master_);
    if (name == nullptr)
        return false;
    path_ = name;
    // The settings stay with the pair while our end is open, also when no
    // program holds the other end. That end is not kept open here, so that
    // a program closing it shows as a hang-up on ours.
    const int other = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (other < 0)
        return false;
    termios settings{};
    bool raw = ::tcgetattr(other, &settings) == 0;
    if (raw) {
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B19200);
        ::cfsetospeed(&settings, B19200);
        raw = ::tcsetattr(other, TCSANOW, &settings) == 0;
    }
    ::close(other);
    const int flags = ::fcntl(master_, F_GETFL);
    return raw && flags >= 0 && ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool PseudoTerminal::HungUp() const
{
    pollfd watched{master_, POLLIN, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & POLLHUP) != 0;
}

void PseudoTerminal::DropUnreadReplies()
{
    const int other = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (other < 0)
        return;
    ::tcflush(other, TCIFLUSH);
    ::close(other);
}

}  // namespace veltrin::sim
