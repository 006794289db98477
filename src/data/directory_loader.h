#pragma once
// Builds a Recording from a base directory's day directories and data file names.
// No data file is opened; a start's file is read later by LoadStartData.

#include "data/recording.h"

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace veltrin {

// Empties `recording` and adds one start per data file "Shhmmss…" found in the
// day directories "Dyymmdd…" of `base` (names matched ignoring case, entries in
// name order ignoring case). A missing or empty base directory leaves
// `recording` empty; folders that cannot be read add nothing.
void LoadDirectory(const std::filesystem::path& base, Recording& recording);

// Told of each folder or entry that could not be read while loading, with the
// system's reason. The loading rules stay the same: such a folder adds nothing.
using DirectoryProblem =
    std::function<void(const std::filesystem::path& path, std::error_code reason)>;

// LoadDirectory that tells `problem` of every folder it cannot list and every
// entry whose type it cannot learn. Returns false when `base` itself cannot be
// listed.
bool LoadDirectory(const std::filesystem::path& base, Recording& recording,
                   const DirectoryProblem& problem);

// Adds the starts of one day directory. A name whose year, month or day piece
// is missing or not above 0 adds nothing.
void ScanDayDirectory(const std::filesystem::path& base, std::string_view dayName,
                      Recording& recording, const DirectoryProblem& problem = {});

// Appends one start for `fileName` in `dayDir`, dated day.month.20yy. A name
// whose hour piece holds no leading digit, or with a missing piece, adds nothing.
void AddStartFile(const std::filesystem::path& dayDir, std::string_view fileName,
                  Recording& recording, int day, int month, int year);

}  // namespace veltrin
