#pragma once
// The start that a single data file ".../Dyymmdd/Shhmmss" stands for, found by
// the same name rules as loading a whole directory.

#include "data/recording.h"

#include <filesystem>
#include <optional>

namespace veltrin {

// An unloaded start with the given path and the start time that its day
// directory and file names give. nullopt when the file does not exist or its
// names give no start time.
std::optional<StartRecord> StartForDataFile(const std::filesystem::path& dataFile);

}  // namespace veltrin
