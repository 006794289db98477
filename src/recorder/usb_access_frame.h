#pragma once
// The frames between the program and veltrin-usb-access, the helper that
// sends the recorder's pass-through command on its behalf. Both directions
// have a fixed size, so a frame is never split or joined by guesswork:
//
//   program -> helper, 16 bytes:  the command block (CDB) as it is sent;
//                                 only opcode 0x99 is carried out.
//   helper -> program, 38 bytes:  bytes 0-35  the data the device returned
//                                 byte  36    the SCSI status byte
//                                 byte  37    outcome: 0 carried out,
//                                             1 refused (not the exchange),
//                                             2 failed (device gone, time-out)
//
// After a refusal or a failure the data bytes and the status are zero.

#include "recorder/drive_access.h"
#include "recorder/recorder_constants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace veltrin::usb_access {

inline constexpr std::size_t kCommandFrameSize = recorder_constants::kCdbLength;
inline constexpr std::size_t kReplyDataSize = recorder_constants::kDataLength;
inline constexpr std::size_t kStatusOffset = kReplyDataSize;
inline constexpr std::size_t kOutcomeOffset = kReplyDataSize + 1;
inline constexpr std::size_t kReplyFrameSize = kReplyDataSize + 2;

using CommandFrame = std::array<std::uint8_t, kCommandFrameSize>;
using ReplyFrame = std::array<std::uint8_t, kReplyFrameSize>;

enum class Outcome : std::uint8_t { Done = 0, Refused = 1, Failed = 2 };

struct Reply {
    std::array<std::uint8_t, kReplyDataSize> data{};
    std::uint8_t scsiStatus = 0;
    Outcome outcome = Outcome::Done;
};

// Only the recorder's exchange may pass; every other opcode is refused.
bool IsAllowedCommand(const CommandFrame& command);

// A reply frame is exactly 38 bytes with a known outcome; nothing else is one.
std::optional<Reply> ParseReply(std::span<const std::uint8_t> bytes);
ReplyFrame FormatReply(const Reply& reply);

// Builds the request a command frame stands for, and the reply to it.
ScsiRequest RequestFor(const CommandFrame& command);
Reply ReplyTo(const ScsiRequest& request);
// A refused or failed reply: zero data and status.
Reply EmptyReply(Outcome outcome);

}  // namespace veltrin::usb_access
