#include "export_commands.h"

#include "commands.h"
#include "limits_option.h"
#include "report_command.h"
#include "veltrin/version.h"

#include <optional>
#include <string_view>

namespace veltrin::tool {
namespace {

struct Command {
    std::string_view name;
    CommandRunner run;
    std::string_view options;  // the options it takes, separated by blanks
};

// Every command. A new command is one line here and its runner in commands.h.
constexpr Command kCommands[] = {
    {"list", RunList, ""},
    {"csv", RunCsv, ""},
    {"kml", RunKml, "--extended"},
    {"gpx", RunGpx, ""},
    {"all", RunAll, "--extended --gpx --limits"},
    {"events", RunEvents, ""},
    {"exceedances", RunExceedances, "--limits"},
};

struct OptionRule {
    std::string_view name;
    bool takesValue;  // "--NAME=VALUE" or "--NAME VALUE"
};

constexpr OptionRule kOptions[] = {
    {"--extended", false},
    {"--gpx", false},
    {kLimitsOption, true},
};

const OptionRule* FindOption(std::string_view name)
{
    for (const OptionRule& rule : kOptions) {
        if (rule.name == name)
            return &rule;
    }
    return nullptr;
}

const Command* FindCommand(std::string_view name)
{
    for (const Command& command : kCommands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

bool Takes(const Command& command, std::string_view option)
{
    std::string_view rest = command.options;
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        if (rest.substr(0, blank) == option)
            return true;
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    return false;
}

// "kml und all": the commands that take `option`.
std::string CommandsTaking(std::string_view option)
{
    std::vector<std::string_view> names;
    for (const Command& command : kCommands) {
        if (Takes(command, option))
            names.push_back(command.name);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " und " : ", ";
        text += names[i];
    }
    return text;
}

std::optional<CommandLine> Parse(const std::vector<std::string>& arguments, std::ostream& err)
{
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
            const std::size_t equals = argument.find('=');
            const std::string name = argument.substr(0, equals);
            const OptionRule* rule = FindOption(name);
            if (rule == nullptr || (!rule->takesValue && equals != std::string::npos)) {
                UsageError(err, "unbekannte Option " + argument);
                return std::nullopt;
            }
            if (!rule->takesValue) {
                line.options[name];
            } else if (equals != std::string::npos) {
                line.options[name] = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                line.options[name] = arguments[++i];
            } else {
                UsageError(err, name + " erwartet einen Wert");
                return std::nullopt;
            }
        } else if (line.command.empty()) {
            line.command = argument;
        } else {
            line.operands.push_back(argument);
        }
    }
    return line;
}

}  // namespace

int RunExportTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.size() == 1 && arguments[0] == "--version") {
        out << kProgram << ' ' << kVersion << '\n';
        return kExitOk;
    }
    if (IsReportCommand(arguments))
        return RunReport(arguments, out, err);
    std::optional<CommandLine> line = Parse(arguments, err);
    if (!line)
        return kExitUsage;
    if (line->help) {
        out << HelpText() << ReportHelpText();
        return kExitOk;
    }
    if (line->command.empty())
        return UsageError(err, "kein Befehl angegeben");
    const Command* command = FindCommand(line->command);
    for (const auto& [option, value] : line->options) {
        if (command == nullptr || !Takes(*command, option))
            return UsageError(err, option + " gilt nur für " + CommandsTaking(option));
    }
    if (command == nullptr)
        return UsageError(err, "unbekannter Befehl " + line->command);
    return command->run(*line, out, err);
}

}  // namespace veltrin::tool
