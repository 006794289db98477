#include "recorder/recorder_link.h"

#include "data/ascii_case.h"

#include <string>
#include <utility>

namespace veltrin {

namespace rc = recorder_constants;

namespace {

bool IsUsbName(std::string_view name)
{
    return EqualsIgnoringCase(name, rc::kUsbPortName);
}

}  // namespace

RecorderLink::RecorderLink(std::unique_ptr<DriveAccess> drives) : usb_(std::move(drives))
{
}

bool RecorderLink::LinkOpen(std::string_view name)
{
    if (open_)
        LinkClose();
    usbMode_ = false;
    if (IsUsbName(name)) {
        open_ = usb_.UsbOpen();
        usbMode_ = true;
        return open_;
    }
    // Device paths are longer than the old "COMn" names, so the name is kept whole.
    serial_.settings.portName = std::string(name);
    serial_.settings.baudRate = rc::kLinkBaudRate;
    serial_.settings.dataBits = rc::kLinkDataBits;
    serial_.settings.parity = rc::kLinkParity;
    serial_.settings.stopBits = rc::kLinkStopBits;
    serial_.settings.queueSize = rc::kLinkQueueSize;
    open_ = serial_.Open();
    return open_;
}

void RecorderLink::LinkClose()
{
    // Both, so that a drive opened only to see whether the recorder is
    // attached does not stay open under a serial link.
    usb_.UsbClose();
    serial_.Close();
    open_ = false;
}

bool RecorderLink::LinkWrite(std::span<const std::uint8_t> bytes)
{
    if (!StillOpen())
        return false;
    if (usbMode_)
        return usb_.UsbWrite(bytes);
    return serial_.Write(bytes) == bytes.size();
}

bool RecorderLink::LinkReadByte(std::uint8_t& byte)
{
    if (!StillOpen())
        return false;
    std::span<std::uint8_t> one(&byte, 1);
    return (usbMode_ ? usb_.UsbRead(one) : serial_.Read(one)) == 1;
}

bool RecorderLink::LinkDataWaiting()
{
    if (!StillOpen())
        return false;
    return usbMode_ ? usb_.UsbDataWaiting() : serial_.BytesWaiting();
}

bool RecorderLink::StillOpen()
{
    if (LinkIsOpen())
        return true;
    if (open_)
        LinkClose();  // the port or drive went away: let go of it
    return false;
}

bool RecorderLink::LinkIsOpen() const
{
    return open_ && (usbMode_ ? usb_.IsOpen() : serial_.IsOpen());
}

}  // namespace veltrin
