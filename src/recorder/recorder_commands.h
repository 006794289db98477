#pragma once
// Texts of the commands sent to the recorder and their framing as sentences.

#include "recorder/recorder_info.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::recorder_commands {

inline constexpr std::string_view kVersion = "VERSION";
inline constexpr std::string_view kSerial = "SERIAL";
inline constexpr std::string_view kReadLimits = "LIMITS,1";
inline constexpr std::string_view kReadRegistration = "LFZSIGN";
inline constexpr std::string_view kSaveConfig = "SAVECFG";
inline constexpr std::string_view kClearEvents = "CLREVT";

// "PASS,<password>"
std::string Password(std::string_view password);
// "LIMITS,1,<negative load %0.1f>,<positive load %0.1f>,<speed %0.0f>"
std::string WriteLimits(double maxNegativeLoad, double maxPositiveLoad, double maxSpeed);
// "LFZSIGN,<registration>"
std::string WriteRegistration(std::string_view registration);
// "SETPASS,<password>"
std::string SetPassword(std::string_view password);

// The sentence "$VLTCM,<text>*hh" (without line end). Empty when the text
// holds a control character (it would break the line apart on the recorder)
// or when the sentence would not fit the recorder's 256-byte command buffer.
std::optional<std::string> FrameCommand(std::string_view text);

}  // namespace veltrin::recorder_commands
