#include "recorder/serial_port.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QString>

#include <cstring>

#include <poll.h>

namespace veltrin {

namespace {

// A code outside the set (a cast number) gives no parity, as it always has.
QSerialPort::Parity ToParity(Parity parity)
{
    switch (parity) {
    case Parity::Mark: return QSerialPort::MarkParity;
    case Parity::Even: return QSerialPort::EvenParity;
    case Parity::Odd: return QSerialPort::OddParity;
    case Parity::Space: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

// A code outside the set gives one stop bit.
QSerialPort::StopBits ToStopBits(StopBits stopBits)
{
    switch (stopBits) {
    case StopBits::Two: return QSerialPort::TwoStop;
    case StopBits::OneAndHalf: return QSerialPort::OneAndHalfStop;
    default: return QSerialPort::OneStop;
    }
}

QSerialPort::DataBits ToDataBits(int bits)
{
    switch (bits) {
    case 5: return QSerialPort::Data5;
    case 6: return QSerialPort::Data6;
    case 7: return QSerialPort::Data7;
    default: return QSerialPort::Data8;
    }
}

// Errors after which the port is no longer usable: the device went away or
// the other end of a pseudo-terminal was closed.
bool IsFatal(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError ||
           error == QSerialPort::PermissionError;
}

// True when the system reports the port's line hung up: a USB adapter that
// was unplugged, or a pseudo-terminal whose other end was closed. Qt notices
// that only when a read or write fails, so the port is asked directly and the
// link can tell it is gone before anything is sent into it.
bool HungUp(const QSerialPort& port)
{
    const int fd = port.handle();
    if (fd < 0)
        return true;
    pollfd state{fd, 0, 0};
    if (::poll(&state, 1, 0) < 0)
        return false;  // interrupted; the next call asks again
    return (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

int PackPortList(const std::vector<std::string>& names, char* list, std::size_t listSize)
{
    if (list == nullptr || listSize == 0)
        return 0;
    std::size_t used = 0;
    int count = 0;
    for (const std::string& name : names) {
        // The name, its terminator and the list's closing zero must all fit.
        if (name.empty() || used + name.size() + 2 > listSize)
            continue;
        std::memcpy(list + used, name.data(), name.size());
        used += name.size();
        list[used++] = '\0';
        ++count;
    }
    list[used] = '\0';
    return count;
}

SerialPort::SerialPort() = default;

SerialPort::~SerialPort()
{
    Close();
}

int SerialPort::EnumeratePorts(char* list, std::size_t listSize)
{
    std::vector<std::string> names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    names.reserve(static_cast<std::size_t>(ports.size()));
    for (const QSerialPortInfo& info : ports)
        names.push_back(info.portName().toStdString());
    return PackPortList(names, list, listSize);
}

std::vector<std::string> SerialPort::EnumeratePortNames(std::size_t listSize)
{
    std::vector<char> list(listSize + 1, '\0');
    const int count = EnumeratePorts(list.data(), listSize);
    std::vector<std::string> names;
    const char* cursor = list.data();
    for (int i = 0; i < count; ++i) {
        names.emplace_back(cursor);
        cursor += names.back().size() + 1;
    }
    return names;
}

bool SerialPort::Open()
{
    Close();
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(settings.portName));
    if (!port->open(QIODevice::ReadWrite))
        return false;

    // Line settings are built from scratch; what the port had before is not kept.
    const bool configured = port->setBaudRate(settings.baudRate) &&
                            port->setDataBits(ToDataBits(settings.dataBits)) &&
                            port->setParity(ToParity(settings.parity)) &&
                            port->setStopBits(ToStopBits(settings.stopBits)) &&
                            port->setFlowControl(settings.xonXoff ? QSerialPort::SoftwareControl
                                                                  : QSerialPort::NoFlowControl);
    if (!configured) {
        port->close();
        return false;
    }
    port->setReadBufferSize(settings.queueSize);
    // Modem lines: pseudo-terminals have none, so a refusal here is not an error.
    port->setDataTerminalReady(settings.dtrOn);
    port->setRequestToSend(settings.rtsOn);
    port->clearError();

    port_ = std::move(port);
    return true;
}

void SerialPort::Close()
{
    if (!port_)
        return;
    port_->close();
    port_.reset();
}

bool SerialPort::IsOpen() const
{
    // Bytes that arrived before the line hung up can still be read.
    return port_ != nullptr && (port_->bytesAvailable() > 0 || !HungUp(*port_));
}

bool SerialPort::CloseIfGone()
{
    if (port_ && !IsOpen())
        Close();
    return port_ != nullptr;
}

std::size_t SerialPort::Write(std::span<const std::uint8_t> bytes)
{
    if (!CloseIfGone() || bytes.empty())
        return 0;
    const qint64 taken = port_->write(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<qint64>(bytes.size()));
    if (taken <= 0) {
        ClearError();
        return 0;
    }
    // Push the bytes out now; the caller does not run an event loop.
    port_->flush();
    if (port_->bytesToWrite() > 0)
        port_->waitForBytesWritten(
            static_cast<int>(recorder_constants::kSerialWriteTimeout.count()));
    const qint64 unsent = port_->bytesToWrite();
    const qint64 written = taken - unsent;
    if (unsent > 0) {
        // What did not leave in time is not sent later either.
        port_->clear(QSerialPort::Output);
        ClearError();
    }
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

std::size_t SerialPort::Read(std::span<std::uint8_t> bytes)
{
    if (!CloseIfGone() || bytes.empty())
        return 0;
    if (port_->bytesAvailable() == 0)
        port_->waitForReadyRead(0);
    const qint64 got =
        port_->read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (got <= 0) {
        ClearError();
        return 0;
    }
    return static_cast<std::size_t>(got);
}

bool SerialPort::BytesWaiting()
{
    if (!CloseIfGone())
        return false;
    // Nothing polls the port between calls, so collect what the system holds.
    if (port_->bytesAvailable() == 0)
        port_->waitForReadyRead(0);
    if (IsFatal(port_->error())) {
        Close();
        return false;
    }
    return port_->bytesAvailable() > 0;
}

void SerialPort::ClearError()
{
    if (!port_)
        return;
    if (IsFatal(port_->error()))
        Close();
    else
        port_->clearError();
}

}  // namespace veltrin
