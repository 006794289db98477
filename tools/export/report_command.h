#pragma once
// "veltrin-export report": the flight report of one data file, or the logbook
// report of a card or of a date range, written as PDF without a window.

#include <ostream>
#include <string>
#include <vector>

namespace veltrin::tool {

// True when `arguments` (without the program name) run the report command.
bool IsReportCommand(const std::vector<std::string>& arguments);

// Runs the report command line `arguments`; messages go to `err`. Returns the
// exit status as the other commands do.
int RunReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The report command's part of the --help text.
const char* ReportHelpText();

}  // namespace veltrin::tool
