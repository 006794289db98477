#include "report_command.h"

#include "analysis/aircraft_limits.h"
#include "analysis/start_summary.h"
#include "data/directory_loader.h"
#include "data/start_reader.h"
#include "export/data_file_start.h"
#include "export_commands.h"
#include "limits_option.h"
#include "report/flight_report.h"
#include "report/logbook_report.h"
#include "report/report_texts.h"
#include "tool_support.h"

#include <QGuiApplication>

#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

namespace veltrin::tool {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCommand = "report";

const char kReportHelp[] =
    "\n"
    "Berichte (PDF, A4, ohne Fenster):\n"
    "  report [--limits=NEG,POS,VNE] DATENDATEI ZIEL.pdf\n"
    "      Schreibt den Flugbericht eines Starts: Datum, Start- und Landezeit\n"
    "      (UTC), Dauer, Datendatei, Extremwerte, die drei Graphen mit Ereignis-\n"
    "      und Grenzwertlinien, das V-n-Diagramm, die Ereignisse und die\n"
    "      Überschreitungen.\n"
    "  report [--from DATUM] [--to DATUM] [--limits=NEG,POS,VNE] BASISVERZ ZIEL.pdf\n"
    "      Schreibt den Flugbuch-Bericht der Karte: je Start eine Zeile mit Datum,\n"
    "      Start, Landung, Dauer, Extremwerten, Ereignissen und Überschreitungen,\n"
    "      dazu eine Summenzeile. --from und --to wählen die Starts dieser Tage\n"
    "      (UTC, beide Tage eingeschlossen); DATUM als TT.MM.JJJJ, z. B. 26.08.2012.\n"
    "  --limits=NEG,POS,VNE  negative und positive Lastgrenze (g) und\n"
    "      Höchstgeschwindigkeit (km/h) mit Dezimalpunkt, z. B. --limits=-3.5,5.5,250;\n"
    "      ohne sie werden keine Überschreitungen gesucht.\n"
    "  ZIEL.pdf wird erst ersetzt, wenn der Bericht vollständig geschrieben ist.\n";

struct ReportLine {
    std::optional<AircraftLimits> limits;
    std::optional<CalendarSeconds> fromDay;
    std::optional<CalendarSeconds> toDay;
    bool help = false;
    std::vector<std::string> operands;
};

// Takes the value of --from or --to, given as "--from DATE" or "--from=DATE".
bool TakeDate(const std::vector<std::string>& arguments, std::size_t& i, std::string_view name,
              std::optional<CalendarSeconds>& day, std::ostream& err)
{
    const std::string& argument = arguments[i];
    std::string value;
    if (argument == name) {
        if (i + 1 >= arguments.size()) {
            UsageError(err, std::string(name) + " erwartet ein Datum TT.MM.JJJJ");
            return false;
        }
        value = arguments[++i];
    } else {
        value = argument.substr(name.size() + 1);
    }
    day = ParseReportDate(QString::fromStdString(value));
    if (!day) {
        UsageError(err, "ungültiges Datum " + value + " (erwartet TT.MM.JJJJ)");
        return false;
    }
    return true;
}

bool IsOption(const std::string& argument, std::string_view name)
{
    return argument == name || (argument.size() > name.size() && argument.starts_with(name) &&
                                argument[name.size()] == '=');
}

std::optional<ReportLine> Parse(const std::vector<std::string>& arguments, std::ostream& err)
{
    ReportLine line;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (IsOption(argument, kLimitsOption)) {
            std::string value;
            if (argument.size() > kLimitsOption.size()) {
                value = argument.substr(kLimitsOption.size() + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            }
            std::string error;
            line.limits = ParseLimits(value, error);
            if (!line.limits) {
                UsageError(err, error);
                return std::nullopt;
            }
        } else if (IsOption(argument, "--from")) {
            if (!TakeDate(arguments, i, "--from", line.fromDay, err))
                return std::nullopt;
        } else if (IsOption(argument, "--to")) {
            if (!TakeDate(arguments, i, "--to", line.toDay, err))
                return std::nullopt;
        } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
            UsageError(err, "unbekannte Option " + argument);
            return std::nullopt;
        } else {
            line.operands.push_back(argument);
        }
    }
    return line;
}

// The application object that painting needs, on the offscreen platform so
// that no display is needed; none when the process has one already.
std::unique_ptr<QGuiApplication> MakeApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    static int argc = 3;
    static char name[] = "veltrin-export";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool WriteOrComplain(const ReportResult& result, const std::string& target, std::ostream& err)
{
    if (result.Ok())
        return true;
    Complain(err, target, result.error.toStdString());
    return false;
}

int RunFlightReport(const ReportLine& line, std::ostream& err)
{
    const std::string& dataFile = line.operands[0];
    if (line.fromDay || line.toDay)
        return UsageError(err, "--from und --to gelten nur für BASISVERZ");
    std::optional<StartRecord> start = StartForDataFile(dataFile);
    if (!start) {
        Complain(err, dataFile,
                 "Aus den Namen ergibt sich kein Startzeitpunkt (erwartet .../Djjmmtt/Shhmmss).");
        return kExitFailure;
    }
    const StartReadResult read = ReadStartData(*start);
    if (!read.Ok()) {
        Complain(err, dataFile, WithReason("Die Datei konnte nicht gelesen werden", read.reason));
        return kExitFailure;
    }
    const auto application = MakeApplication();
    const FlightReport report = MakeFlightReport(*start, line.limits);
    const std::string& target = line.operands[1];
    return WriteOrComplain(WriteFlightReport(report, QString::fromStdString(target)), target, err)
               ? kExitOk
               : kExitFailure;
}

int RunLogbookReport(const ReportLine& line, std::ostream& err)
{
    const std::string& base = line.operands[0];
    int status = kExitOk;
    Recording recording;
    const bool listed =
        LoadDirectory(base, recording, [&](const fs::path& path, std::error_code reason) {
            status = kExitFailure;
            Complain(err, path.string(), WithReason("Konnte nicht gelesen werden", reason));
        });
    if (!listed)
        return kExitFailure;

    std::vector<StartFile> files;
    for (const StartFile& file : StartFiles(recording)) {
        if (StartInRange(file.startTime, line.fromDay, line.toDay))
            files.push_back(file);
    }
    recording.clear();
    CardSummaryOptions options;
    options.limits = line.limits;
    LogbookReport report;
    report.starts = SummariseCard(files, options);
    report.source = QString::fromStdString(base);
    report.fromDay = line.fromDay;
    report.toDay = line.toDay;
    report.limits = line.limits;
    for (const StartSummary& summary : report.starts) {
        if (summary.read.Ok())
            continue;
        status = kExitFailure;
        Complain(err, summary.file.path.string(),
                 WithReason("Die Datei konnte nicht gelesen werden", summary.read.reason));
    }

    const auto application = MakeApplication();
    const std::string& target = line.operands[1];
    if (!WriteOrComplain(WriteLogbookReport(report, QString::fromStdString(target)), target, err))
        return kExitFailure;
    return status;
}

}  // namespace

bool IsReportCommand(const std::vector<std::string>& arguments)
{
    return !arguments.empty() && arguments[0] == kCommand;
}

const char* ReportHelpText()
{
    return kReportHelp;
}

int RunReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const std::optional<ReportLine> line = Parse(arguments, err);
    if (!line)
        return kExitUsage;
    if (line->help) {
        out << HelpText() << kReportHelp;
        return kExitOk;
    }
    if (line->operands.size() != 2)
        return UsageError(err, "report erwartet DATENDATEI ZIEL.pdf oder BASISVERZ ZIEL.pdf");
    const std::string& source = line->operands[0];
    std::error_code error;
    const fs::file_status status = fs::status(source, error);
    if (status.type() == fs::file_type::not_found) {
        Complain(err, source, "Die Datei oder das Basisverzeichnis existiert nicht.");
        return kExitUsage;
    }
    if (fs::is_directory(status))
        return RunLogbookReport(*line, err);
    if (fs::is_regular_file(status))
        return RunFlightReport(*line, err);
    if (error) {
        Complain(err, source, WithReason("Konnte nicht gelesen werden", error));
        return kExitFailure;
    }
    Complain(err, source, "Keine reguläre Datei (eine Pipe oder ein Gerät).");
    return kExitFailure;
}

}  // namespace veltrin::tool
