#pragma once
// The program's side of veltrin-usb-access: the kernel lets only a process
// with raw-I/O rights send the recorder's vendor-specific command, so a
// program without them starts the helper on the recorder's node and sends
// its commands through it (frames in usb_access_frame.h).

#include "recorder/drive_access.h"

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

namespace veltrin {

inline constexpr const char* kUsbAccessHelperName = "veltrin-usb-access";

// Starts the helper for a node; nullptr when it cannot be started.
using HelperStart = std::function<std::unique_ptr<ScsiDevice>(const std::string& node)>;

// Sends through the opened node as long as the kernel lets it; on the first
// refusal (EPERM or EACCES) it starts the helper and sends through that from
// then on.
class FallbackScsiDevice final : public ScsiDevice {
public:
    FallbackScsiDevice(std::unique_ptr<ScsiDevice> direct, std::string node, HelperStart start);
    int Execute(ScsiRequest& request) override;
    bool UsesHelper() const { return helper_ != nullptr; }

private:
    std::unique_ptr<ScsiDevice> direct_;
    std::unique_ptr<ScsiDevice> helper_;
    std::string node_;
    HelperStart start_;
};

// A running helper reached through one stream socket (its stdin and stdout).
// Closing the device closes the socket, which ends the helper.
class UsbAccessClient final : public ScsiDevice {
public:
    // `child` is reaped on destruction; -1 when there is no process to reap.
    UsbAccessClient(int socket, pid_t child);
    ~UsbAccessClient() override;
    UsbAccessClient(const UsbAccessClient&) = delete;
    UsbAccessClient& operator=(const UsbAccessClient&) = delete;

    // EPERM when the helper refused the command, EIO when it failed or the
    // helper is gone or answered with something that is not a reply frame;
    // after a broken frame every further exchange fails.
    int Execute(ScsiRequest& request) override;

private:
    int socket_;
    pid_t child_;
    bool broken_ = false;
};

// The helper's path: next to the running program first, then the first
// executable one in the folders of `pathVariable`; empty when none is found.
std::string FindUsbAccessHelper(const std::string& programFolder, const std::string& pathVariable);

// Finds the helper (next to /proc/self/exe, then in PATH) and starts it on
// the node with an empty environment.
std::unique_ptr<ScsiDevice> StartUsbAccessHelper(const std::string& node);

}  // namespace veltrin
