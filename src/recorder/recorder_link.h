#pragma once
// The one byte link to the recorder: a serial port or, for the port name
// "USB", the recorder's USB drive.

#include "recorder/drive_access.h"
#include "recorder/serial_port.h"
#include "recorder/usb_transport.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace veltrin {

class RecorderLink {
public:
    // `drives` is how the USB transport reaches the recorder's drive.
    explicit RecorderLink(std::unique_ptr<DriveAccess> drives = CreateSystemDriveAccess());

    // Closes the link if open, then opens it: "USB" in any letter case selects
    // the USB drive, any other name is a serial port name or device path.
    // Returns whether the link is open.
    bool LinkOpen(std::string_view name);
    void LinkClose();
    // Sends the bytes; false when the link is closed or not all bytes were taken.
    bool LinkWrite(std::span<const std::uint8_t> bytes);
    // Reads one byte; false when none came.
    bool LinkReadByte(std::uint8_t& byte);
    bool LinkDataWaiting();
    // False also once the port or drive has gone away under an open link.
    bool LinkIsOpen() const;
    bool IsUsbMode() const { return usbMode_; }

    UsbTransport& Usb() { return usb_; }

private:
    // LinkIsOpen(), closing the link first when its port or drive went away.
    bool StillOpen();

    SerialPort serial_;
    UsbTransport usb_;
    bool open_ = false;
    bool usbMode_ = false;
};

}  // namespace veltrin
