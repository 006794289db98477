#pragma once
// Names, titles and sizes of the desktop program's shell, in one place.

#include "recorder/ui/program_name.h"
#include "veltrin/version.h"

namespace veltrin {

inline constexpr const char* kApplicationTitle = kProgramName;
inline constexpr const char* kOrganisation = "Quon";
inline constexpr const char* kMainTitle = "ZADUdir";
inline constexpr const char* kIdleText = "Bereit";
inline constexpr const char* kStartListTitle = "Startliste";
inline constexpr const char* kEventListTitle = "Ereignisse";
inline constexpr const char* kBrowseTitle = "Veltrin Daten Basisverzeichnis (\\VELT)";

inline constexpr const char* kAccelerationTitle = "Beschleunigung";
inline constexpr const char* kAltitudeTitle = "Höhe";
inline constexpr const char* kSpeedTitle = "Geschwindigkeit";
inline constexpr const char* kVnDiagramTitle = "V-n-Diagramm";
// After the V-n diagram's title while it shows many starts: %1 their number.
inline constexpr const char* kVnStartsSuffix = " (%1 Starts)";
// The button that stops long work in the background.
inline constexpr const char* kCancelText = "Abbrechen";

// Menu titles, with "&" before the mnemonic, and the tool bar's title.
inline constexpr const char* kFileMenuTitle = "&Datei";
inline constexpr const char* kViewMenuTitle = "&Ansicht";
inline constexpr const char* kExportMenuTitle = "Export";
inline constexpr const char* kWindowMenuTitle = "&Fenster";
inline constexpr const char* kHelpMenuTitle = "&Hilfe";
inline constexpr const char* kToolBarTitle = "Symbolleiste";

// Between the main title and the active graph window's title.
inline constexpr const char* kTitleSeparator = " - ";

// An export file that could not be written: %1 its path, %2 the reason.
inline constexpr const char* kExportFailedText =
    "Die Datei \"%1\" konnte nicht geschrieben werden:\n%2";

// The about box and the program's version.
inline constexpr const char* kApplicationVersion = kVersion;
inline constexpr const char* kAboutTitle = "Info über ZADUdir";
inline constexpr const char* kVersionText = "ZADUdir Version " VELTRIN_VERSION;
inline constexpr const char* kNoticeText = "Copyright © Quon. Alle Rechte vorbehalten.";
inline constexpr const char* kOkText = "OK";

// After the shown start in the status bar once the card it came from was
// loaded anew or another one was loaded.
inline constexpr const char* kNoLongerLoadedSuffix = " (nicht mehr geladen)";
// The tool tip of a start whose data file holds no sample.
inline constexpr const char* kNoSamplesTip = "Keine Messwerte in der Datei";

// Status bar indicators: caps lock, num lock, scroll lock.
inline constexpr const char* kIndicatorTexts[] = {"UF", "NUM", "RF"};

// Start-list items carry the start index in this role; day items carry -1.
inline constexpr int kStartIndexRole = 0x0100;  // Qt::UserRole

// Start list width in pixels (the bar's template is 128 dialog units wide).
inline constexpr int kStartListWidth = 200;

// Resource name of the help text.
inline constexpr const char* kHelpResource = ":/IDR_RTF_HELP";
// Resource name of the help's second section: wheel, keys, range cursor.
inline constexpr const char* kHelpKeysResource = ":/HELP_KEYS";

}  // namespace veltrin
