#pragma once
// The main frame's commands: numeric ids shared by menu items and tool bar
// buttons, their menu texts and their prompts (status text, then tool tip).

#include <span>
#include <string>

namespace veltrin {

namespace command {
inline constexpr int LoadDirectory = 57601;
inline constexpr int ConfigureLogger = 32795;
inline constexpr int Exit = 57665;
inline constexpr int ToggleToolBar = 59392;
inline constexpr int ToggleStatusBar = 59393;
inline constexpr int ToggleStartList = 32772;
inline constexpr int ToggleAcceleration = 32775;
inline constexpr int ToggleAltitude = 32778;
inline constexpr int ToggleSpeed = 32779;
inline constexpr int ExportCsv = 32787;
inline constexpr int ExportKml = 32788;
inline constexpr int StackWindows = 32781;
inline constexpr int Cascade = 57650;
inline constexpr int Tile = 57651;
inline constexpr int ArrangeIcons = 57649;
inline constexpr int Help = 32796;
inline constexpr int About = 57664;
inline constexpr int ZoomIn = 32789;
inline constexpr int ZoomOut = 32790;
inline constexpr int ShiftRight = 32792;
inline constexpr int ShiftLeft = 32793;
inline constexpr int FullView = 32794;
}  // namespace command

// One command: its id, its menu text with "&" before the mnemonic (empty for
// commands that only have a tool bar button), its prompt string and its tool
// bar image (empty for commands without a button).
struct CommandEntry {
    int id;
    const char* menuText;
    const char* prompt;
    const char* image;
};

// Every command of the frame, in no particular order.
std::span<const CommandEntry> Commands();

// The command with `id`, or nullptr when there is none.
const CommandEntry* FindCommand(int id);

// A prompt split at its line break: the status text before it, the tool tip
// after it (empty when the prompt has no line break).
struct PromptParts {
    std::string statusTip;
    std::string toolTip;
};
PromptParts SplitPrompt(const std::string& prompt);

}  // namespace veltrin
