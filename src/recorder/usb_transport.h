#pragma once
// The byte link through the recorder's USB drive: command bytes go out and
// reply bytes come back inside the recorder's vendor-specific SCSI command.

#include "recorder/byte_ring_buffer.h"
#include "recorder/drive_access.h"
#include "recorder/drive_identity.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace veltrin {

class UsbTransport {
public:
    explicit UsbTransport(std::unique_ptr<DriveAccess> drives);

    // Device node of the recorder's drive (the last match when there are
    // several), or an empty text when there is none.
    std::string FindRecorderDrive();

    // Opens the recorder's drive; true when it is open (or already was).
    bool UsbOpen();
    void UsbClose();
    bool IsOpen() const { return device_ != nullptr; }

    // One exchange: sends up to 10 waiting bytes and receives up to 15.
    // Returns 0, or the error code of a failed exchange; a failed exchange
    // closes the drive so that the next open looks for the recorder again.
    // While the incoming buffer has no room for a full answer no exchange
    // runs, so that reply bytes are never dropped.
    int UsbExchange();

    // Queues the bytes and runs one exchange. Returns false, dropping the rest,
    // when the outgoing buffer runs full (no exchange runs then).
    bool UsbWrite(std::span<const std::uint8_t> bytes);
    // Runs one exchange, then takes up to bytes.size() received bytes; returns how many.
    std::size_t UsbRead(std::span<std::uint8_t> bytes);
    // Runs one exchange; true when received bytes are waiting.
    bool UsbDataWaiting();

    const ByteRingBuffer& Outgoing() const { return outgoing_; }
    const ByteRingBuffer& Incoming() const { return incoming_; }

private:
    std::unique_ptr<DriveAccess> drives_;
    std::unique_ptr<ScsiDevice> device_;
    ByteRingBuffer outgoing_;
    ByteRingBuffer incoming_;
};

}  // namespace veltrin
