// list, csv, kml, gpx and all: the start list and the exports of one start or a
// whole card.

#include "analysis/exceedances.h"
#include "commands.h"
#include "data/start_text.h"
#include "export/atomic_file.h"
#include "export/proposed_name.h"
#include "export/start_export.h"
#include "limits_option.h"
#include "logbook.h"

#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

namespace veltrin::tool {
namespace {

namespace fs = std::filesystem;

// "vlt_…" for the first start of a minute, then "vlt_…_2", "vlt_…_3" ...
std::string UniqueName(const std::string& proposed, std::set<std::string>& used)
{
    std::string name = proposed;
    for (int n = 2; !used.insert(name).second; ++n)
        name = proposed + "_" + std::to_string(n);
    return name;
}

}  // namespace

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

int RunCsv(const CommandLine& line, std::ostream& /*out*/, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "csv erwartet DATENDATEI ZIELDATEI");
    std::optional<StartRecord> start = ReadDataFile(line.operands[0], err);
    if (!start)
        return kExitFailure;
    const fs::path target = line.operands[1];
    return Report(ExportCsv(*start, target), target, err) ? kExitOk : kExitFailure;
}

int RunKml(const CommandLine& line, std::ostream& /*out*/, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "kml erwartet DATENDATEI ZIELDATEI");
    std::optional<StartRecord> start = ReadDataFile(line.operands[0], err);
    if (!start)
        return kExitFailure;
    const fs::path target = line.operands[1];
    KmlWriter writer;
    return Report(ExportKml(*start, target, line.Has("--extended"), writer), target, err)
               ? kExitOk
               : kExitFailure;
}

int RunGpx(const CommandLine& line, std::ostream& /*out*/, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "gpx erwartet DATENDATEI ZIELDATEI");
    std::optional<StartRecord> start = ReadDataFile(line.operands[0], err);
    if (!start)
        return kExitFailure;
    const fs::path target = line.operands[1];
    return Report(ExportGpx(*start, target), target, err) ? kExitOk : kExitFailure;
}

int RunAll(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (line.operands.size() != 2)
        return UsageError(err, "all erwartet BASISVERZ ZIELVERZ");
    std::optional<AircraftLimits> limits;
    if (const std::string* text = line.Value(kLimitsOption)) {
        std::string reason;
        limits = ParseLimits(*text, reason);
        if (!limits)
            return UsageError(err, reason);
    }
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
    const bool extended = line.Has("--extended");
    const bool gpx = line.Has("--gpx");
    std::set<std::string> used;
    std::vector<std::string> rows;
    for (StartRecord& start : recording) {
        if (!ReadStart(start, err)) {
            status = kExitFailure;
            continue;
        }
        std::optional<std::size_t> exceedances;
        if (limits)
            exceedances = FindExceedances(start.samples, *limits).size();
        rows.push_back(LogbookRow(start, exceedances));
        const std::string name = UniqueName(ProposedFileName(start.startTime), used);
        const fs::path csv = outDir / (name + ".csv");
        const fs::path kml = outDir / (name + ".kml");
        if (Report(ExportCsv(start, csv, CsvVariant::Semicolon), csv, err)) {
            out << csv.string() << '\n';
        } else {
            status = kExitFailure;
        }
        if (Report(ExportKml(start, kml, extended, writer), kml, err)) {
            out << kml.string() << '\n';
        } else {
            status = kExitFailure;
        }
        if (gpx) {
            const fs::path track = outDir / (name + ".gpx");
            if (Report(ExportGpx(start, track), track, err)) {
                out << track.string() << '\n';
            } else {
                status = kExitFailure;
            }
        }
        Release(start);
    }

    const fs::path logbook = outDir / kLogbookFileName;
    AtomicFile file;
    ExportResult result = file.Open(logbook);
    if (result.Ok()) {
        WriteLogbook(rows, file, limits.has_value());
        result = file.Commit();
    }
    if (Report(result, logbook, err)) {
        out << logbook.string() << '\n';
    } else {
        status = kExitFailure;
    }
    return status;
}

}  // namespace veltrin::tool
