// veltrin-export's manual page and its --help list the same commands, each
// with the same options.

#include "export_commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace veltrin {
namespace {

// A command's forms (report has two) and the options named in them.
using CommandForms = std::map<std::string, std::set<std::string>>;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void AddForm(CommandForms& forms, const std::string& line)
{
    static const std::regex kCommand("^([a-z]+)( |$)");
    static const std::regex kOption("--[a-z][a-z-]*");
    std::smatch command;
    if (!std::regex_search(line, command, kCommand))
        return;
    std::set<std::string>& options = forms[command[1]];
    for (auto it = std::sregex_iterator(line.begin(), line.end(), kOption);
         it != std::sregex_iterator(); ++it)
        options.insert(it->str());
}

// In the help a command's line is indented by two and its description by six.
CommandForms HelpForms(const std::string& help)
{
    const std::vector<std::string> lines = Lines(help);
    CommandForms forms;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] != ' ' &&
            lines[i + 1].rfind("      ", 0) == 0)
            AddForm(forms, line.substr(2));
    }
    return forms;
}

// The line after each .TP of the section, without font changes and with
// roff's minus as a hyphen.
std::string PlainRoff(std::string line)
{
    line = std::regex_replace(line, std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(line, std::regex(R"(\\-)"), "-");
}

CommandForms ManForms(const std::string& page, const std::string& section)
{
    const std::vector<std::string> lines = Lines(page);
    CommandForms forms;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(".SH", 0) == 0)
            inSection = lines[i] == ".SH " + section;
        else if (inSection && lines[i] == ".TP" && i + 1 < lines.size())
            AddForm(forms, PlainRoff(lines[i + 1]));
    }
    return forms;
}

std::string ReadManPage(const std::string& name)
{
    std::ifstream in(std::string(VELTRIN_MAN_SOURCE_DIR) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ExportHelp()
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(tool::RunExportTool({"--help"}, out, err), tool::kExitOk);
    return out.str();
}

TEST(ExportManPage, ListsTheCommandsAndOptionsOfTheHelp)
{
    const CommandForms help = HelpForms(ExportHelp());
    const CommandForms man = ManForms(ReadManPage("veltrin-export.1"), "BEFEHLE");
    // Guards the reading itself: a changed layout must not make both empty.
    ASSERT_EQ(help.size(), 8U);
    EXPECT_EQ(help.at("report"), (std::set<std::string>{"--from", "--to", "--limits"}));
    EXPECT_EQ(man, help);
}

TEST(ExportManPage, DescribesEveryOptionAndTheHelpNamesHelpAndVersion)
{
    const std::string help = ExportHelp();
    std::set<std::string> named;
    for (const auto& [command, options] : HelpForms(help))
        named.insert(options.begin(), options.end());
    const std::string page = ReadManPage("veltrin-export.1");
    const std::size_t from = page.find(".SH OPTIONEN\n");
    ASSERT_NE(from, std::string::npos);
    const std::string options = page.substr(from, page.find(".SH ", from + 1) - from);
    for (const std::string& option : named) {
        const std::string roff = std::regex_replace(option, std::regex("-"), R"(\-)");
        // "\fB\-\-gpx\fP" or, with a value, "\fB\-\-limits=\fP".
        const bool described = options.find("\\fB" + roff + "\\fP") != std::string::npos ||
                               options.find("\\fB" + roff + "=\\fP") != std::string::npos;
        EXPECT_TRUE(described) << option;
    }
    EXPECT_NE(help.find("--help | --version"), std::string::npos);
    EXPECT_NE(page.find(".B veltrin\\-export \\-\\-help\n|\n.B \\-\\-version"), std::string::npos);
}

TEST(ExportManPage, TheFormReaderSeesOptionsOnlyInCommandLines)
{
    const CommandForms forms = HelpForms(
        "Befehle:\n"
        "  kml [--extended] DATEI\n"
        "      Beschreibung mit --gpx\n"
        "  und Dauer --limits\n"
        "  Weiter\n");
    EXPECT_EQ(forms, (CommandForms{{"kml", {"--extended"}}}));
    EXPECT_EQ(PlainRoff(R"(\fBall\fP [\fB\-\-limits=\fP\fINEG\fP])"), "all [--limits=NEG]");
}

}  // namespace
}  // namespace veltrin
