#pragma once
// The texts of the logbook window "Flugbuch" and of its progress in the
// main frame's status bar.

namespace veltrin {

inline constexpr const char* kLogbookTitle = "Flugbuch";

// Column heads, in the order of LogbookColumn.
inline constexpr const char* kLogbookColumnTitles[] = {
    "Datum",  "Start",           "Landung",       "Dauer",      "Min. g",
    "Max. g", "Max. IAS (km/h)", "Max. Höhe (m)", "Ereignisse", "Überschreitungen",
};

// The totals row: %1 the number of starts shown.
inline constexpr const char* kLogbookStartsText = "%1 Starts";
inline constexpr const char* kLogbookOneStartText = "1 Start";

// The date filter.
inline constexpr const char* kLogbookFromText = "Von:";
inline constexpr const char* kLogbookToText = "Bis:";
inline constexpr const char* kLogbookDateFormat = "dd.MM.yyyy";
inline constexpr const char* kLogbookReportText = "Bericht als PDF…";
inline constexpr const char* kLogbookVnText = "V-n-Diagramm";
inline constexpr const char* kLogbookVnTip = "Alle Starts des Zeitraums im V-n-Diagramm";

// The fill's state: %1 starts read, %2 starts of the card.
inline constexpr const char* kLogbookFillingText = "Wird gelesen: %1 von %2 Starts";
inline constexpr const char* kLogbookCancelledText = "Abgebrochen: %1 von %2 Starts gelesen";
inline constexpr const char* kLogbookProgressFormat = "Flugbuch: %v von %m";
inline constexpr const char* kLogbookCancelText = "Abbrechen";
inline constexpr const char* kLogbookUnreadableText = "Die Datei konnte nicht gelesen werden.";

}  // namespace veltrin
