#include "shell/command_table.h"

#include <algorithm>
#include <array>

namespace veltrin {

namespace {

using namespace command;

constexpr std::array kCommands{
    CommandSpec{LoadDirectory, "Verzeichnis &laden", "Loggerdaten laden", ":/toolbar/load.png"},
    CommandSpec{ConfigureLogger, "Logger konfigurieren", "Logger einrichten", ""},
    CommandSpec{Exit, "&Beenden",
                "Beendet die Anwendung und fordert zum Speichern der Dokumente auf.\nBeenden", ""},
    CommandSpec{ToggleToolBar, "&Symbolleiste",
                "Blendet die Symbolleiste ein oder aus.\nSymbolleiste", ""},
    CommandSpec{ToggleStatusBar, "Status&leiste",
                "Blendet die Statusleiste ein oder aus.\nStatusleiste", ""},
    CommandSpec{ToggleStartList, "Startliste", "", ""},
    CommandSpec{ToggleAcceleration, "Beschleunigung", "", ""},
    CommandSpec{ToggleAltitude, "Höhe", "", ""},
    CommandSpec{ToggleSpeed, "Geschwindigkeit", "", ""},
    CommandSpec{ExportCsv, "Excel CSV", "", ""},
    CommandSpec{ExportKml, "KML", "KML für Google Earth", ":/toolbar/kml.png"},
    CommandSpec{StackWindows, "Über&einander", "", ""},
    CommandSpec{Cascade, "Ü&berlappend",
                "Ordnet die Fenster überlappend an.\nÜberlappende Fenster", ""},
    CommandSpec{Tile, "&Nebeneinander",
                "Ordnet die Fenster nebeneinander an.\nFenster nebeneinander", ""},
    CommandSpec{ArrangeIcons, "&Symbole anordnen",
                "Ordnet die Symbole im unteren Fensterrand an.\nSymbole anordnen", ""},
    CommandSpec{Help, "&Hilfe", "Hilfe", ""},
    CommandSpec{About, "&Info über VELT Win...",
                "Zeigt Programminformationen, Versionsnummer und Copyright an.\nInfo",
                ":/toolbar/about.png"},
    CommandSpec{ZoomIn, "", "Vergrößern", ":/toolbar/zoom_in.png"},
    CommandSpec{ZoomOut, "", "Verkleinern", ":/toolbar/zoom_out.png"},
    CommandSpec{ShiftRight, "", "Nacht rechts schieben", ":/toolbar/shift_right.png"},
    CommandSpec{ShiftLeft, "", "Nach links schieben", ":/toolbar/shift_left.png"},
    CommandSpec{FullView, "", "Vollansicht", ":/toolbar/full_view.png"},
};

}  // namespace

std::span<const CommandSpec> Commands()
{
    return kCommands;
}

const CommandSpec* FindCommand(int id)
{
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandSpec& spec) { return spec.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

PromptParts SplitPrompt(const std::string& prompt)
{
    const auto lineBreak = prompt.find('\n');
    if (lineBreak == std::string::npos)
        return {prompt, {}};
    return {prompt.substr(0, lineBreak), prompt.substr(lineBreak + 1)};
}

}  // namespace veltrin
