#pragma once
// The commands of veltrin-export: list, csv, kml and all. Kept apart from
// main() so that they can be run in-process.

#include <ostream>
#include <string>
#include <vector>

namespace veltrin::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file or folder could not be read, or a file not written
inline constexpr int kExitUsage = 2;    // wrong arguments or a missing base directory

// Runs the command line `arguments` (without the program name), writing
// results to `out` and messages to `err`. Returns the exit status.
int RunExportTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The --help text.
const char* HelpText();

}  // namespace veltrin::tool
