#pragma once
// The entry point of veltrin-export and its exit statuses, kept apart from
// main() so that the commands (see commands.h) can be run in-process.

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
