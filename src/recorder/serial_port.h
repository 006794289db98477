#pragma once
// A serial (COM) port with its line settings, opened so that reads return at
// once with whatever is waiting.

#include "recorder/recorder_constants.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QSerialPort;

namespace veltrin {

struct SerialSettings {
    std::string portName = recorder_constants::kDefaultPortName;  // name ("ttyS0") or device path
    int baudRate = recorder_constants::kDefaultBaudRate;
    int dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    int queueSize = recorder_constants::kDefaultQueueSize;  // input and output queue, bytes
    bool rtsOn = false;
    bool dtrOn = false;
    bool xonXoff = false;
};

// Writes `names` into `list` as consecutive zero-terminated strings followed by
// one more zero, within `listSize` bytes. A name is taken only when it, its
// terminator and the closing zero still fit; names that do not fit are not
// counted. Returns the number of names written.
int PackPortList(const std::vector<std::string>& names, char* list, std::size_t listSize);

class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // The settings used by the next Open().
    SerialSettings settings;

    // Lists the serial ports the system knows into a double-zero-terminated
    // list of `listSize` bytes. Returns the number of names listed.
    static int EnumeratePorts(char* list, std::size_t listSize);
    // The same names as a vector (what EnumeratePorts would list in `listSize` bytes).
    static std::vector<std::string> EnumeratePortNames(
        std::size_t listSize = recorder_constants::kPortListSize);

    // Opens (or reopens) the port with the settings; false when it cannot be
    // opened or configured, in which case no port is left open.
    bool Open();
    void Close();
    // False also once the port's line has hung up (device unplugged, other
    // end of a pseudo-terminal closed) and every byte received before has
    // been read; the next Write, Read or BytesWaiting then closes it.
    bool IsOpen() const;

    // Writes the bytes and pushes them out; returns the number written (0 when closed).
    std::size_t Write(std::span<const std::uint8_t> bytes);
    // Reads what is waiting, up to bytes.size(); returns the number read (0 when none).
    std::size_t Read(std::span<std::uint8_t> bytes);
    // True when at least one received byte is waiting. A port that has gone
    // away (device unplugged, other end of a pseudo-terminal closed) is closed here.
    bool BytesWaiting();

private:
    // Clears the port's error state, or closes the port when the error left it unusable.
    void ClearError();
    // Closes the port when its line has hung up and nothing received is left
    // to read; returns whether it is still open.
    bool CloseIfGone();

    std::unique_ptr<QSerialPort> port_;
};

}  // namespace veltrin
