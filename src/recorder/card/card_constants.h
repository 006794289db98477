#pragma once
// Names and values of the recorder's card files, in one place.

#include <string_view>

namespace veltrin::card {

// Paths below a card's root; each part is looked up ignoring letter case.
inline constexpr std::string_view kLastEventsFile = "VELT/LASTEV.LOG";
inline constexpr std::string_view kEventsFile = "VELT/EVENTS.LOG";
inline constexpr std::string_view kCommandFile = "VELT/CONFIG.INI";

// Command file contents.
inline constexpr std::string_view kCommandSection = "[VELTRIN]";
inline constexpr int kClearEventsCommand = 16;

// 32-bit FNV-1a parameters of the authorisation key.
inline constexpr unsigned kKeyOffsetBasis = 2166136261u;
inline constexpr unsigned kKeyPrime = 16777619u;

// File systems a recorder card may carry (the recorder reads nothing else).
inline constexpr std::string_view kCardFileSystems[] = {"FAT16", "FAT32"};

}  // namespace veltrin::card
