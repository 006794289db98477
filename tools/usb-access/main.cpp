// veltrin-usb-access NODE
//
// Sends the recorder's pass-through command for a program that may not send
// it itself. It is the only file installed with raw-I/O rights, so it trusts
// nothing it is given: the node must be the recorder's whole disk, only the
// recorder's exchange is carried out, and it touches nothing but the node,
// its input and its output.
#include "recorder/sg_device.h"
#include "recorder/udev_disk.h"
#include "usb-access/node_check.h"
#include "usb-access/relay.h"
#include "veltrin/version.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

using namespace veltrin;
using namespace veltrin::usb_access;

// Exit codes, as the manual page lists them.
enum ExitCode : int {
    kExitInputClosed = 0,  // the input ended between two frames
    kExitUsage = 1,        // not exactly one argument
    kExitCannotOpen = 2,   // the node could not be opened
    kExitNotRecorder = 3,  // the node is not the recorder's whole disk
    kExitSetup = 4,        // the rights or descriptors could not be set up
    kExitStream = 5,       // the input ended inside a frame, or reading or writing failed
};

int Fail(int code, const char* what, const char* node = nullptr)
{
    if (node != nullptr)
        std::fprintf(stderr, "veltrin-usb-access: %s: %s\n", node, what);
    else
        std::fprintf(stderr, "veltrin-usb-access: %s\n", what);
    return code;
}

bool IsOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

// Keeps standard input, output and error and closes every other descriptor
// the starting program may have left open.
bool CloseOtherDescriptors()
{
    if (::close_range(3, UINT_MAX, 0) == 0)
        return true;
    const long limit = ::sysconf(_SC_OPEN_MAX);
    for (long fd = 3; fd < (limit > 0 ? limit : 1024); ++fd)
        ::close(static_cast<int>(fd));
    return true;
}

// Sets the capabilities to raw I/O at most (permitted), in effect only when
// `inEffect`, and none that could be passed on.
bool SetRawIo(bool inEffect)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct current[2]{};
    if (::syscall(SYS_capget, &header, current) != 0)
        return false;
    const unsigned index = CAP_TO_INDEX(CAP_SYS_RAWIO);
    const unsigned mask = CAP_TO_MASK(CAP_SYS_RAWIO);
    __user_cap_data_struct kept[2]{};
    kept[index].permitted = current[index].permitted & mask;
    kept[index].effective = inEffect ? kept[index].permitted : 0;
    return ::syscall(SYS_capset, &header, kept) == 0;
}

// Drops every capability but raw I/O, which the pass-through command needs,
// and makes sure nothing started later could gain any. Raw I/O stays out of
// effect until the node has passed the check, so that opening the node is
// done with the user's own rights alone.
bool KeepOnlyRawIo()
{
    if (!SetRawIo(false))
        return false;
    // Ambient capabilities are unknown to older kernels; there are none then.
    if (::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0 && errno != EINVAL)
        return false;
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0;
}

const char* Describe(NodeVerdict verdict)
{
    switch (verdict) {
    case NodeVerdict::Recorder: return "the recorder";
    case NodeVerdict::NotBlockDevice: return "not a block device";
    case NodeVerdict::Unknown: return "not a disk udev knows";
    case NodeVerdict::Partition: return "a partition, not a whole disk";
    case NodeVerdict::NotRecorder: return "not the recorder";
    }
    return "not the recorder";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return Fail(kExitUsage, "usage: veltrin-usb-access NODE");
    // A disk node is an absolute path, so this word is never one.
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("veltrin-usb-access %s\n", VELTRIN_VERSION);
        return 0;
    }
    const char* node = argv[1];

    // With standard input or output closed the node would take its number
    // and replies would be written to the device.
    if (!IsOpen(STDIN_FILENO) || !IsOpen(STDOUT_FILENO))
        return kExitSetup;
    if (!IsOpen(STDERR_FILENO) && ::open("/dev/null", O_WRONLY) != STDERR_FILENO)
        return kExitSetup;
    if (!CloseOtherDescriptors() || !KeepOnlyRawIo())
        return Fail(kExitSetup, "cannot drop capabilities");

    const int fd = ::open(node, O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Fail(kExitCannotOpen, std::strerror(errno), node);
    const NodeVerdict verdict = CheckOpenedNode(fd, IdentifyBlockDevice);
    if (verdict != NodeVerdict::Recorder) {
        ::close(fd);
        return Fail(kExitNotRecorder, Describe(verdict), node);
    }

    if (!SetRawIo(true)) {
        ::close(fd);
        return Fail(kExitSetup, "cannot take up raw I/O rights");
    }
    const std::unique_ptr<ScsiDevice> device = MakeSgDevice(fd);
    switch (RelayExchanges(STDIN_FILENO, STDOUT_FILENO, *device)) {
    case RelayEnd::InputClosed: return kExitInputClosed;
    case RelayEnd::BrokenFrame: return Fail(kExitStream, "input ended inside a frame");
    case RelayEnd::InputFailed: return Fail(kExitStream, "reading the input failed");
    case RelayEnd::OutputFailed: return Fail(kExitStream, "writing the output failed");
    }
    return kExitStream;
}
