#include "export_commands.h"

#include "data/directory_loader.h"
#include "data/start_reader.h"
#include "data/start_text.h"
#include "export/atomic_file.h"
#include "export/data_file_start.h"
#include "export/proposed_name.h"
#include "export/start_export.h"
#include "logbook.h"
#include "report_command.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>

namespace veltrin::tool {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgram = "veltrin-export";

const char kHelp[] =
    "Aufruf: veltrin-export BEFEHL [OPTIONEN] ARGUMENTE\n"
    "\n"
    "Befehle:\n"
    "  list BASISVERZ\n"
    "      Liest jeden Start der Karte und gibt je Start eine Zeile aus:\n"
    "      Tag, Startzeit [- Landezeit] TAB Extremwerte TAB Datendatei.\n"
    "  csv DATENDATEI ZIELDATEI\n"
    "      Schreibt die Messwerte eines Starts. Endung .csv (gleich welche\n"
    "      Schreibweise): Semikolon, Kopfzeile, Dezimalkomma; sonst durch\n"
    "      Leerzeichen getrennt mit Dezimalpunkt.\n"
    "  kml [--extended] DATENDATEI ZIELDATEI\n"
    "      Schreibt die GPS-Spur eines Starts als KML: eine Linie, oder mit\n"
    "      --extended eine Spur mit Zeiten, Beschleunigung und Geschwindigkeit\n"
    "      (ab Google Earth 5.2).\n"
    "  all [--extended] BASISVERZ ZIELVERZ\n"
    "      Schreibt jeden Start der Karte als vlt_JJJJMMTT_hhmm.csv und .kml\n"
    "      (ein zweiter Start in derselben Minute erhält _2, ein dritter _3 ...)\n"
    "      und ein Flugbuch logbook.csv. ZIELVERZ wird bei Bedarf angelegt;\n"
    "      gleichnamige Dateien werden ersetzt. Ein Start, dessen Datei nicht\n"
    "      gelesen werden kann, wird gemeldet und übersprungen.\n"
    "\n"
    "DATENDATEI ist eine Datei .../Djjmmtt/Shhmmss[.ext] der Karte; ihr Startzeitpunkt\n"
    "(UTC) ergibt sich aus den Namen wie beim Laden des Basisverzeichnisses.\n"
    "\n"
    "Flugbuch logbook.csv (Semikolon, Dezimalkomma, Zeilenende CR LF), Spalten:\n"
    "  Date;Start;Landing;Duration;MinAccZ;MaxAccZ;MaxIAS;MaxAltitude;Events;File\n"
    "  Datum TT.MM.JJJJ, Start- und Landezeit hh:mm:ss (UTC), Dauer h:mm:ss\n"
    "  (beide leer ohne Landung), kleinste und größte Vertikalbeschleunigung (g),\n"
    "  höchste Fahrt (km/h), größte Höhe (m), Zahl der Ereignismarken, Datendatei.\n"
    "\n"
    "Umgebungsvariablen (kml, all):\n"
    "  KML_LINEWIDTH   Linienbreite (Vorgabe 2)\n"
    "  KML_REMOVECNT   nur jeden n-ten Punkt der Linie schreiben (0: alle)\n"
    "\n"
    "Rückgabewert: 0 Erfolg, 1 eine Datei oder ein Verzeichnis konnte nicht gelesen\n"
    "oder geschrieben werden (gemeldet mit Grund), 2 falscher Aufruf oder\n"
    "Basisverzeichnis nicht vorhanden.\n";

struct CommandLine {
    std::string command;
    bool extended = false;
    bool help = false;
    std::vector<std::string> operands;
};

void Complain(std::ostream& err, const std::string& subject, std::string_view reason)
{
    err << kProgram << ": ";
    if (!subject.empty())
        err << subject << ": ";
    err << reason << '\n';
}

int UsageError(std::ostream& err, std::string_view reason)
{
    Complain(err, {}, reason);
    err << "Hilfe: " << kProgram << " --help\n";
    return kExitUsage;
}

std::optional<CommandLine> Parse(const std::vector<std::string>& arguments, std::ostream& err)
{
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--extended") {
            line.extended = true;
        } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
            UsageError(err, "unbekannte Option " + argument);
            return std::nullopt;
        } else if (line.command.empty()) {
            line.command = argument;
        } else {
            line.operands.push_back(argument);
        }
    }
    return line;
}

std::string WithReason(std::string_view text, std::error_code reason)
{
    std::string message(text);
    if (reason)
        message += " (" + reason.message() + ")";
    return message + ".";
}

// kExitOk when `base` is a directory; otherwise complains and returns the
// exit status: a missing base or one that is no directory is a usage error,
// one that cannot be looked at (a symlink loop, no permission) a failure.
int CheckBaseDirectory(const std::string& base, std::ostream& err)
{
    std::error_code error;
    const fs::file_status status = fs::status(base, error);
    if (fs::is_directory(status))
        return kExitOk;
    if (status.type() == fs::file_type::not_found) {
        Complain(err, base, "Das Basisverzeichnis existiert nicht.");
        return kExitUsage;
    }
    if (error) {
        Complain(err, base, WithReason("Das Basisverzeichnis konnte nicht gelesen werden", error));
        return kExitFailure;
    }
    Complain(err, base, "Das Basisverzeichnis ist kein Verzeichnis.");
    return kExitUsage;
}

struct CardLoad {
    bool baseRead = false;  // the base directory itself could be listed
    int status = kExitOk;   // kExitFailure when anything could not be read
};

// Loads the card, telling of every folder or entry that cannot be read (the
// desktop program skips them silently).
CardLoad LoadCard(const std::string& base, Recording& recording, std::ostream& err)
{
    bool complete = true;
    const bool listed =
        LoadDirectory(base, recording, [&](const fs::path& path, std::error_code reason) {
            complete = false;
            Complain(err, path.string(),
                     WithReason(path == fs::path(base)
                                    ? "Das Basisverzeichnis konnte nicht gelesen werden"
                                    : "Konnte nicht gelesen werden",
                                reason));
        });
    return {listed, listed && complete ? kExitOk : kExitFailure};
}

constexpr std::string_view kNotRegular =
    "Keine reguläre Datei (ein Verzeichnis, eine Pipe oder ein Gerät).";

// Reads the start's file; complains when it cannot be read.
bool ReadStart(StartRecord& start, std::ostream& err)
{
    const StartReadResult result = ReadStartData(start);
    if (result.Ok())
        return true;
    Complain(err, start.path.string(),
             result.error == StartReadError::NotRegularFile
                 ? std::string(kNotRegular)
                 : WithReason("Die Datei konnte nicht gelesen werden", result.reason));
    return false;
}

// The start of a single data file, read; nullopt after a complaint.
std::optional<StartRecord> ReadDataFile(const std::string& dataFile, std::ostream& err)
{
    std::error_code error;
    const fs::file_status status = fs::status(dataFile, error);
    if (status.type() == fs::file_type::not_found) {
        Complain(err, dataFile, "Die Datei existiert nicht.");
        return std::nullopt;
    }
    if (error) {  // a symlink loop, a folder on the way without permission
        Complain(err, dataFile, WithReason("Die Datei konnte nicht gelesen werden", error));
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        Complain(err, dataFile, kNotRegular);
        return std::nullopt;
    }
    std::optional<StartRecord> start = StartForDataFile(dataFile);
    if (!start) {
        Complain(err, dataFile,
                 "Aus den Namen ergibt sich kein Startzeitpunkt (erwartet .../Djjmmtt/Shhmmss).");
        return std::nullopt;
    }
    if (!ReadStart(*start, err))
        return std::nullopt;
    return start;
}

// Frees a start's samples and fixes once it has been dealt with, so that a
// whole card never has to fit in memory at once.
void Release(StartRecord& start)
{
    std::deque<Sample>().swap(start.samples);
    std::deque<GpsFix>().swap(start.fixes);
}

bool Report(const ExportResult& result, const fs::path& target, std::ostream& err)
{
    if (result.Ok())
        return true;
    Complain(err, target.string(), result.Message());
    return false;
}

int RunList(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (line.operands.size() != 1)
        return UsageError(err, "list erwartet BASISVERZ");
    const std::string& base = line.operands[0];
    if (const int checked = CheckBaseDirectory(base, err); checked != kExitOk)
        return checked;
    Recording recording;
    const CardLoad card = LoadCard(base, recording, err);
    if (!card.baseRead)
        return card.status;
    int status = card.status;
    for (StartRecord& start : recording) {
        if (!ReadStart(start, err))
            status = kExitFailure;
        out << DayText(start.startTime) << ' ' << StartTimeText(start) << '\t'
            << StartValuesText(start) << '\t' << start.path.string() << '\n';
        Release(start);
    }
    return status;
}

int RunCsv(const CommandLine& line, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "csv erwartet DATENDATEI ZIELDATEI");
    std::optional<StartRecord> start = ReadDataFile(line.operands[0], err);
    if (!start)
        return kExitFailure;
    const fs::path target = line.operands[1];
    return Report(ExportCsv(*start, target), target, err) ? kExitOk : kExitFailure;
}

int RunKml(const CommandLine& line, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "kml erwartet DATENDATEI ZIELDATEI");
    std::optional<StartRecord> start = ReadDataFile(line.operands[0], err);
    if (!start)
        return kExitFailure;
    const fs::path target = line.operands[1];
    KmlWriter writer;
    return Report(ExportKml(*start, target, line.extended, writer), target, err) ? kExitOk
                                                                                 : kExitFailure;
}

// "vlt_…" for the first start of a minute, then "vlt_…_2", "vlt_…_3" ...
std::string UniqueName(const std::string& proposed, std::set<std::string>& used)
{
    std::string name = proposed;
    for (int n = 2; !used.insert(name).second; ++n)
        name = proposed + "_" + std::to_string(n);
    return name;
}

int RunAll(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "all erwartet BASISVERZ ZIELVERZ");
    const std::string& base = line.operands[0];
    const fs::path outDir = line.operands[1];
    if (const int checked = CheckBaseDirectory(base, err); checked != kExitOk)
        return checked;
    std::error_code error;
    fs::create_directories(outDir, error);
    if (!fs::is_directory(outDir, error)) {
        Complain(err, outDir.string(), "Das Zielverzeichnis konnte nicht angelegt werden.");
        return kExitFailure;
    }

    Recording recording;
    const CardLoad card = LoadCard(base, recording, err);
    if (!card.baseRead)
        return card.status;  // no logbook of a card that was never read
    int status = card.status;
    KmlWriter writer;  // one writer for the whole run, as in the desktop program
    std::set<std::string> used;
    std::vector<std::string> rows;
    for (StartRecord& start : recording) {
        if (!ReadStart(start, err)) {
            status = kExitFailure;
            continue;
        }
        rows.push_back(LogbookRow(start));
        const std::string name = UniqueName(ProposedFileName(start.startTime), used);
        const fs::path csv = outDir / (name + ".csv");
        const fs::path kml = outDir / (name + ".kml");
        if (Report(ExportCsv(start, csv, CsvVariant::Semicolon), csv, err)) {
            out << csv.string() << '\n';
        } else {
            status = kExitFailure;
        }
        if (Report(ExportKml(start, kml, line.extended, writer), kml, err)) {
            out << kml.string() << '\n';
        } else {
            status = kExitFailure;
        }
        Release(start);
    }

    const fs::path logbook = outDir / kLogbookFileName;
    AtomicFile file;
    ExportResult result = file.Open(logbook);
    if (result.Ok()) {
        WriteLogbook(rows, file);
        result = file.Commit();
    }
    if (Report(result, logbook, err)) {
        out << logbook.string() << '\n';
    } else {
        status = kExitFailure;
    }
    return status;
}

}  // namespace

const char* HelpText()
{
    return kHelp;
}

int RunExportTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (IsReportCommand(arguments))
        return RunReport(arguments, out, err);
    std::optional<CommandLine> line = Parse(arguments, err);
    if (!line)
        return kExitUsage;
    if (line->help) {
        out << kHelp << ReportHelpText();
        return kExitOk;
    }
    if (line->command.empty())
        return UsageError(err, "kein Befehl angegeben");
    if (line->command != "kml" && line->command != "all" && line->extended) {
        return UsageError(err, "--extended gilt nur für kml und all");
    }
    if (line->command == "list")
        return RunList(*line, out, err);
    if (line->command == "csv")
        return RunCsv(*line, err);
    if (line->command == "kml")
        return RunKml(*line, err);
    if (line->command == "all")
        return RunAll(*line, out, err);
    return UsageError(err, "unbekannter Befehl " + line->command);
}

}  // namespace veltrin::tool
