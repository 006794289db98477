#include "recorder-sim/pseudo_terminal.h"

#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace veltrin::sim {

PseudoTerminal::~PseudoTerminal()
{
    if (keepOpen_ >= 0)
        ::close(keepOpen_);
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
    keepOpen_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (keepOpen_ < 0)
        return false;
    termios settings{};
    if (::tcgetattr(keepOpen_, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B19200);
    ::cfsetospeed(&settings, B19200);
    if (::tcsetattr(keepOpen_, TCSANOW, &settings) != 0)
        return false;
    const int flags = ::fcntl(master_, F_GETFL);
    return flags >= 0 && ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace veltrin::sim
