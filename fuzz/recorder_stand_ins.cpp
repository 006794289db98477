// Stand-ins for the system parts of the recorder link in a build without Qt
// and libudev: a serial port that never opens and no system drives. The fuzz
// targets reach the recorder through an injected drive access instead.
#include "recorder/drive_access.h"
#include "recorder/serial_port.h"

// Only so that the port's unique_ptr can be destroyed; no port is ever made.
class QSerialPort {};

namespace veltrin {

SerialPort::SerialPort() = default;
SerialPort::~SerialPort() = default;

bool SerialPort::Open()
{
    return false;
}
void SerialPort::Close()
{
}
bool SerialPort::IsOpen() const
{
    return false;
}
std::size_t SerialPort::Write(std::span<const std::uint8_t>)
{
    return 0;
}
std::size_t SerialPort::Read(std::span<std::uint8_t>)
{
    return 0;
}
bool SerialPort::BytesWaiting()
{
    return false;
}

std::unique_ptr<DriveAccess> CreateSystemDriveAccess()
{
    return nullptr;
}

}  // namespace veltrin
