#pragma once
// Fixed values of the recorder link and the command exchange, in one place.

#include "recorder/serial_line_codes.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace veltrin::recorder_constants {

using std::chrono::milliseconds;

// Serial line to the recorder: 19200 baud, 8 data bits, no parity, 1 stop bit.
inline constexpr int kLinkBaudRate = 19200;
inline constexpr int kLinkDataBits = 8;
inline constexpr Parity kLinkParity = Parity::None;
inline constexpr StopBits kLinkStopBits = StopBits::One;
inline constexpr int kLinkQueueSize = 4096;

// Construction defaults of a serial port object before the link configures it.
inline constexpr const char* kDefaultPortName = "ttyS0";  // first serial port on Linux
inline constexpr int kDefaultBaudRate = 9600;
inline constexpr int kDefaultQueueSize = 1024;

// Capacity of the port list the configuration page asks for.
inline constexpr std::size_t kPortListSize = 256;

// How long a write may take to leave the serial port before it is given up.
inline constexpr milliseconds kSerialWriteTimeout{500};

// Port name that selects the USB transport (letter case ignored).
inline constexpr const char* kUsbPortName = "USB";

// Byte ring buffers of the USB transport: 256 elements, at most 255 held.
inline constexpr std::size_t kRingCapacity = 256;

// The recorder's vendor-specific pass-through command.
inline constexpr std::uint8_t kUsbOpcode = 0x99;
inline constexpr std::size_t kCdbLength = 16;
inline constexpr std::size_t kSenseLength = 18;
inline constexpr std::size_t kDataLength = 36;
inline constexpr std::size_t kMaxBytesOut = 10;       // command bytes per exchange
inline constexpr std::size_t kMaxBytesIn = 15;        // reply bytes per exchange
inline constexpr std::uint8_t kReplyCountLimit = 16;  // a count of 16 or more is invalid
inline constexpr milliseconds kScsiTimeout{30000};

// Identification of the recorder's drive.
inline constexpr const char* kRecorderVendorPrefix = "Quon ";
inline constexpr const char* kRecorderProductPrefix = "Veltrin V2 ";
inline constexpr double kMinRecorderRevision = 2.1;

// Command exchange.
inline constexpr const char* kCommandPrefix = "$VLTCM,";
inline constexpr std::size_t kCommandBufferSize = 256;  // sentence, checksum and terminator
inline constexpr std::size_t kReplyLineSize = 512;      // reply line including terminator
inline constexpr std::size_t kMaxReplyChars = kReplyLineSize - 1;
// Most bytes one reading of replies takes: a recorder that keeps sending must
// not hold the caller forever; what is left is read by the next call.
inline constexpr std::size_t kMaxBytesPerRead = 64 * 1024;

// Fixed waits: detection and password check, reading the limits page, finishing the sheet.
inline constexpr milliseconds kDetectWait{300};
inline constexpr milliseconds kPasswordWait{300};
inline constexpr milliseconds kReadSettingsWait{250};
inline constexpr milliseconds kWriteSettingsWait{50};

}  // namespace veltrin::recorder_constants
