#pragma once
// The save dialogs of the CSV, KML and GPX exports: proposed name, default
// extension, filters and overwrite prompt.

#include <QString>

#include <optional>

class QFileDialog;
class QWidget;

namespace veltrin {

// Filter lists in the "text|pattern|text|pattern||" form of the exports.
inline constexpr const char* kCsvFilterList =
    "Excel CSV Dateien (*.csv)|*.csv|Daten Dateien (*.dat)|*.dat|Alle Dateien (*.*)|*.*||";
inline constexpr const char* kKmlFilterList = "KML Dateien (*.kml)|*.kml|Alle Dateien (*.*)|*.*||";
inline constexpr const char* kGpxFilterList = "GPX Dateien (*.gpx)|*.gpx|Alle Dateien (*.*)|*.*||";

// Converts a "text|pattern|...||" filter list into Qt's "text (pattern);;..." form.
// The pattern "*.*" becomes "*" so that names without an extension match too.
QString QtFilterFromList(const char* list);

// Prepares `dialog` as a save dialog: filters, default suffix (which follows the
// chosen filter when that names one extension), overwrite prompt, the proposed name.
void SetUpSaveDialog(QFileDialog& dialog, const char* filterList, const QString& defaultSuffix,
                     const QString& proposedPath);

// Asks where to write a CSV (or blank-separated) export; `proposedPath` is the
// folder plus the proposed name without extension. nullopt when cancelled.
std::optional<QString> AskCsvExportPath(QWidget* parent, const QString& proposedPath);

// Asks where to write a KML export. `extended` gives the initial state of the
// extended-KML check box and receives its final state when the user confirms;
// it is left unchanged on cancel (nullopt).
std::optional<QString> AskKmlExportPath(QWidget* parent, const QString& proposedPath,
                                        bool& extended);

// Asks where to write a GPX export; `proposedPath` is the folder plus the
// proposed name without extension. nullopt when cancelled.
std::optional<QString> AskGpxExportPath(QWidget* parent, const QString& proposedPath);

}  // namespace veltrin
