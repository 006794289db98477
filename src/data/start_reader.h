#pragma once
// Reads a start's data file into its samples and fixes, once.

#include "data/recording.h"

namespace veltrin {

// Reads the start's file unless it is loaded already. Returns true when the
// start is loaded (now or before); false when the file cannot be opened, in
// which case the start stays unloaded and empty and a later call tries again.
bool LoadStartData(StartRecord& start);

}  // namespace veltrin
