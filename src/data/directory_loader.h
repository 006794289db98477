#pragma once
// Builds a Recording from a base directory's day directories and data file names.
// No data file is opened; a start's file is read later by LoadStartData.

#include "data/recording.h"

#include <filesystem>
#include <string_view>

namespace veltrin {

// Empties `recording` and adds one start per data file "Shhmmss…" found in the
// day directories "Dyymmdd…" of `base` (names matched ignoring case, entries in
// name order ignoring case). Returns true in every case; a missing or empty
// base directory leaves `recording` empty.
bool LoadDirectory(const std::filesystem::path& base, Recording& recording);

// Adds the starts of one day directory. A name whose year, month or day piece
// is missing or not above 0 adds nothing.
void ScanDayDirectory(const std::filesystem::path& base, std::string_view dayName,
                      Recording& recording);

// Appends one start for `fileName` in `dayDir`, dated day.month.20yy. A name
// whose hour piece holds no leading digit, or with a missing piece, adds nothing.
void AddStartFile(const std::filesystem::path& dayDir, std::string_view fileName,
                  Recording& recording, int day, int month, int year);

}  // namespace veltrin
