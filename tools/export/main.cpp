// veltrin-export: command-line access to a recorder card's starts and exports.

#include "export_commands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status = veltrin::tool::RunExportTool(arguments, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
