#include "recorder/usb_transport.h"

#include <utility>

namespace veltrin {

namespace rc = recorder_constants;

UsbTransport::UsbTransport(std::unique_ptr<DriveAccess> drives) : drives_(std::move(drives))
{
}

std::string UsbTransport::FindRecorderDrive()
{
    if (!drives_)
        return {};
    std::string found;
    for (const DiskDescriptor& disk : drives_->ListDisks()) {
        if (IsRecorderDrive(disk))
            found = disk.node;  // the last match wins
    }
    return found;
}

bool UsbTransport::UsbOpen()
{
    if (device_)
        return true;
    const std::string node = FindRecorderDrive();
    if (node.empty())
        return false;
    device_ = drives_->OpenDisk(node);
    if (device_) {
        // A recorder that was unplugged may have left half a command or reply
        // behind; the newly opened one starts clean.
        outgoing_.Clear();
        incoming_.Clear();
    }
    return device_ != nullptr;
}

void UsbTransport::UsbClose()
{
    device_.reset();
}

int UsbTransport::UsbExchange()
{
    if (!device_)
        return 0;
    if (incoming_.FreeSpace() < rc::kMaxBytesIn)
        return 0;

    ScsiRequest request;
    request.cdb[0] = rc::kUsbOpcode;
    std::size_t taken = 0;
    std::uint8_t byte = 0;
    while (taken < rc::kMaxBytesOut && outgoing_.Get(byte)) {
        request.cdb[2 + taken] = byte;
        ++taken;
    }
    request.cdb[1] = static_cast<std::uint8_t>(taken);

    const int error = device_->Execute(request);
    if (error != 0) {
        // The drive is gone or does not answer; the next open looks again.
        device_.reset();
        return error;
    }
    const std::uint8_t count = request.data[1];
    if (request.data[0] != rc::kUsbOpcode || count >= rc::kReplyCountLimit)
        return 0;
    for (std::size_t i = 0; i < count; ++i)
        incoming_.Put(request.data[2 + i]);
    return 0;
}

bool UsbTransport::UsbWrite(std::span<const std::uint8_t> bytes)
{
    for (const std::uint8_t byte : bytes) {
        if (!outgoing_.Put(byte))
            return false;
    }
    UsbExchange();
    return true;
}

std::size_t UsbTransport::UsbRead(std::span<std::uint8_t> bytes)
{
    UsbExchange();
    std::size_t taken = 0;
    while (taken < bytes.size() && incoming_.Get(bytes[taken]))
        ++taken;
    return taken;
}

bool UsbTransport::UsbDataWaiting()
{
    UsbExchange();
    return !incoming_.IsEmpty();
}

}  // namespace veltrin
