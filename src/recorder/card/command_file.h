#pragma once
// The command file that the recorder executes from its card, and the key
// that authorises it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin::card {

// The event time at the start of an event line ("d.m.y h:m:s", numbers
// without leading zeros allowed) in the normalised form "DD.MM.YYYY hh:mm:ss";
// nullopt when the line does not begin with six numbers in that pattern.
std::optional<std::string> NormalisedEventTime(std::string_view eventLine);

// FNV-1a over the password, the serial number and, when the last event line
// has a time, its normalised time; nothing else is hashed.
std::uint32_t CommandFileKey(std::string_view password, std::string_view serialNumber,
                             std::string_view lastEventLine);

// The whole command file: section, command and key lines, each ending CR LF.
std::string CommandFileText(int command, std::uint32_t key);

// Writes the event-clearing command file to `path`, replacing an earlier one
// only when the new one is complete (temporary file in the same folder, then
// rename). Returns false when the file could not be written; the card then
// holds the file it held before.
bool WriteCommandFile(const std::filesystem::path& path, std::string_view password,
                      std::string_view serialNumber, std::string_view lastEventLine);

}  // namespace veltrin::card
