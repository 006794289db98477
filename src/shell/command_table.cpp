#include "shell/command_table.h"

#include <algorithm>
#include <array>

namespace veltrin {

namespace {

using enum Command;

constexpr std::array kCommands{
    CommandEntry{LoadDirectory, "Verzeichnis &laden", "Loggerdaten laden", ":/toolbar/load.png"},
    CommandEntry{ConfigureLogger, "Logger konfigurieren", "Logger einrichten", ""},
    CommandEntry{Exit, "&Beenden",
                 "Beendet die Anwendung und fordert zum Speichern der Dokumente auf.\nBeenden", ""},
    CommandEntry{ToggleToolBar, "&Symbolleiste",
                 "Blendet die Symbolleiste ein oder aus.\nSymbolleiste", ""},
    CommandEntry{ToggleStatusBar, "Status&leiste",
                 "Blendet die Statusleiste ein oder aus.\nStatusleiste", ""},
    CommandEntry{ToggleStartList, "Startliste", "", ""},
    CommandEntry{ToggleAcceleration, "Beschleunigung", "", ""},
    CommandEntry{ToggleAltitude, "Höhe", "", ""},
    CommandEntry{ToggleSpeed, "Geschwindigkeit", "", ""},
    CommandEntry{ExportCsv, "Excel CSV", "", ""},
    CommandEntry{ExportKml, "KML", "KML für Google Earth", ":/toolbar/kml.png"},
    CommandEntry{StackWindows, "Über&einander", "", ""},
    CommandEntry{Cascade, "Ü&berlappend",
                 "Ordnet die Fenster überlappend an.\nÜberlappende Fenster", ""},
    CommandEntry{Tile, "&Nebeneinander",
                 "Ordnet die Fenster nebeneinander an.\nFenster nebeneinander", ""},
    CommandEntry{ArrangeIcons, "&Symbole anordnen",
                 "Ordnet die Symbole im unteren Fensterrand an.\nSymbole anordnen", ""},
    CommandEntry{Help, "&Hilfe", "Hilfe", ""},
    CommandEntry{About, "&Info über VELT Win...",
                 "Zeigt Programminformationen, Versionsnummer und Copyright an.\nInfo",
                 ":/toolbar/about.png"},
    CommandEntry{ZoomIn, "", "Vergrößern", ":/toolbar/zoom_in.png"},
    CommandEntry{ZoomOut, "", "Verkleinern", ":/toolbar/zoom_out.png"},
    CommandEntry{ShiftRight, "", "Nacht rechts schieben", ":/toolbar/shift_right.png"},
    CommandEntry{ShiftLeft, "", "Nach links schieben", ":/toolbar/shift_left.png"},
    CommandEntry{FullView, "", "Vollansicht", ":/toolbar/full_view.png"},
    CommandEntry{FlightReportPdf, "Flugbericht als PDF…",
                 "Schreibt den Bericht des gezeigten Starts als PDF-Datei.\nFlugbericht als PDF",
                 ""},
    CommandEntry{PrintFlightReport, "Flugbericht drucken…",
                 "Druckt den Bericht des gezeigten Starts.\nFlugbericht drucken", ""},
    CommandEntry{
        LogbookReportPdf, "Flugbuch-Bericht als PDF…",
        "Schreibt das Flugbuch der geladenen Karte als PDF-Datei.\nFlugbuch-Bericht als PDF", ""},
    CommandEntry{EditLimits, "&Grenzwerte…",
                 "Legt die Grenzwerte des Flugzeugs fest, gegen die die Flüge geprüft werden.", ""},
    CommandEntry{ToggleEventList, "Ereignisse",
                 "Blendet die Liste der Ereignisse und Überschreitungen ein oder aus.", ""},
    CommandEntry{ToggleLogbook, "&Flugbuch", "Blendet das Flugbuch ein oder aus.\nFlugbuch", ""},
    CommandEntry{ToggleVnDiagram, "V-n-Diagramm",
                 "Zeigt jeden Messwert als Punkt aus Geschwindigkeit und Lastvielfachem.", ""},
    CommandEntry{MeasureRange, "&Messbereich",
                 "Misst von der Marke bis zu einem zweiten Cursor (auch Strg + mittlere Maustaste, "
                 "Esc hebt ihn auf).\nMessbereich",
                 ":/toolbar/measure_range.png"},
    CommandEntry{ToggleMeasureWindow, "Messung",
                 "Blendet die Messwerte des Messbereichs ein oder aus.", ""},
    CommandEntry{SaveGraphImage, "Grafik speichern…",
                 "Speichert die aktive Grafik oder alle Grafiken untereinander als PNG- oder "
                 "SVG-Bild.\nGrafik speichern",
                 ""},
    CommandEntry{CopyGraphImage, "Kopieren",
                 "Kopiert die Grafik als Bild in die Zwischenablage.\nGrafik kopieren", ""},
    CommandEntry{ToggleTrack, "Flug&weg",
                 "Blendet den Flugweg neben den Graphen ein oder aus.\nFlugweg",
                 ":/toolbar/track.png"},
    CommandEntry{ExportGpx, "GPX", "Schreibt die GPS-Spur des gewählten Starts als GPX-Datei.", ""},
};

}  // namespace

std::span<const CommandEntry> Commands()
{
    return kCommands;
}

const CommandEntry* FindCommand(Command id)
{
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandEntry& entry) { return entry.id == id; });
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
