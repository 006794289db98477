#pragma once
// The main frame's commands: numeric ids shared by menu items and tool bar
// buttons, their menu texts and their prompts (status text, then tool tip).

#include <span>
#include <string>

namespace veltrin {

// The command ids. The first ones carry the numbers the menus and tool bar
// have always carried; the later ones, from 33200 on, are grouped by the
// window or dialog that added them.
enum class Command : int {
    LoadDirectory = 57601,
    ConfigureLogger = 32795,
    Exit = 57665,
    ToggleToolBar = 59392,
    ToggleStatusBar = 59393,
    ToggleStartList = 32772,
    ToggleAcceleration = 32775,
    ToggleAltitude = 32778,
    ToggleSpeed = 32779,
    ExportCsv = 32787,
    ExportKml = 32788,
    StackWindows = 32781,
    Cascade = 57650,
    Tile = 57651,
    ArrangeIcons = 57649,
    Help = 32796,
    About = 57664,
    ZoomIn = 32789,
    ZoomOut = 32790,
    ShiftRight = 32792,
    ShiftLeft = 32793,
    FullView = 32794,
    FlightReportPdf = 33200,
    PrintFlightReport = 33201,
    LogbookReportPdf = 33202,
    EditLimits = 33300,
    ToggleEventList = 33301,
    ToggleLogbook = 33400,
    ToggleVnDiagram = 33500,
    MeasureRange = 33600,
    ToggleMeasureWindow = 33601,
    SaveGraphImage = 33700,
    CopyGraphImage = 33701,
    ExportGpx = 33800,
    ToggleTrack = 33900,
};

// The number a command carries in its action's data.
constexpr int CommandNumber(Command id)
{
    return static_cast<int>(id);
}

// One command: its id, its menu text with "&" before the mnemonic (empty for
// commands that only have a tool bar button), its prompt string and its tool
// bar image (empty for commands without a button).
struct CommandEntry {
    Command id;
    const char* menuText;
    const char* prompt;
    const char* image;
};

// Every command of the frame, in no particular order.
std::span<const CommandEntry> Commands();

// The command with `id`, or nullptr when there is none.
const CommandEntry* FindCommand(Command id);

// A prompt split at its line break: the status text before it, the tool tip
// after it (empty when the prompt has no line break).
struct PromptParts {
    std::string statusTip;
    std::string toolTip;
};
PromptParts SplitPrompt(const std::string& prompt);

}  // namespace veltrin
