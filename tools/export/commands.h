#pragma once
// The commands of veltrin-export, each run on a parsed command line. The
// table in export_commands.cpp names them and the options they take.

#include "tool_support.h"

#include <ostream>

namespace veltrin::tool {

// Runs one command; returns the exit status.
using CommandRunner = int (*)(const CommandLine& line, std::ostream& out, std::ostream& err);

int RunList(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunCsv(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunKml(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunGpx(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunAll(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunEvents(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunExceedances(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace veltrin::tool
