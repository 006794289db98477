#pragma once
// Runs veltrin-export in-process and keeps what it printed.

#include "export_commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace veltrin::test {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun Tool(std::vector<std::string> arguments)
{
    std::ostringstream out, err;
    const int status = tool::RunExportTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace veltrin::test
