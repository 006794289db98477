// events and exceedances: the lists of a card's or a data file's starts.

#include "analysis/exceedances.h"
#include "analysis/flight_events.h"
#include "commands.h"
#include "event_lists.h"
#include "event_rows.h"
#include "export/atomic_file.h"
#include "export/export_constants.h"
#include "limits_option.h"

#include <functional>
#include <system_error>

namespace veltrin::tool {
namespace {

namespace fs = std::filesystem;

// Writes the rows of one read start.
using StartRows = std::function<void(const StartRecord& start, OutputBuffer& out)>;

void WriteRow(OutputBuffer& out, const std::string& row)
{
    out.Write(row);
    out.Write(export_constants::kLineEnd);
}

int WriteList(Recording& starts, const std::optional<fs::path>& target, const char* header,
              const StartRows& rows, std::ostream& out, std::ostream& err)
{
    StreamOutput stream(out);
    AtomicFile file;
    OutputBuffer* sink = &stream;
    if (target) {
        if (!Report(file.Open(*target), *target, err))
            return kExitFailure;
        sink = &file;
    }
    int status = kExitOk;
    WriteRow(*sink, header);
    for (StartRecord& start : starts) {
        if (!ReadStart(start, err)) {
            status = kExitFailure;
            continue;
        }
        rows(start, *sink);
        Release(start);
    }
    if (target) {
        if (!Report(file.Commit(), *target, err))
            status = kExitFailure;
    } else if (!stream.Flush()) {
        Complain(err, {}, "Die Ausgabe konnte nicht geschrieben werden.");
        status = kExitFailure;
    }
    return status;
}

// The starts of the card at `input`, or the one of the data file `input`,
// read already. nullopt after a complaint, with `status` the exit status;
// otherwise `status` tells whether a folder of the card could not be read.
std::optional<Recording> StartsOf(const std::string& input, int& status, std::ostream& err)
{
    Recording recording;
    std::error_code error;
    if (fs::is_directory(input, error)) {
        const CardLoad card = LoadCard(input, recording, err);
        status = card.status;
        if (!card.baseRead)
            return std::nullopt;
        return recording;
    }
    std::optional<StartRecord> start = ReadDataFile(input, err);
    if (!start) {
        status = kExitFailure;
        return std::nullopt;
    }
    status = kExitOk;
    recording.push_back(std::move(*start));
    return recording;
}

// BASEDIR|DATAFILE [OUTFILE]
bool HasListOperands(const CommandLine& line)
{
    return line.operands.size() == 1 || line.operands.size() == 2;
}

std::optional<fs::path> Target(const CommandLine& line)
{
    if (line.operands.size() < 2)
        return std::nullopt;
    return fs::path(line.operands[1]);
}

// The worse of two exit statuses.
int Worse(int a, int b)
{
    return a != kExitOk ? a : b;
}

}  // namespace

int WriteEventList(Recording& starts, const std::optional<fs::path>& target, std::ostream& out,
                   std::ostream& err)
{
    return WriteList(
        starts, target, kEventsHeader,
        [](const StartRecord& start, OutputBuffer& sink) {
            const std::vector<FlightEvent> events = FindEvents(start.samples);
            for (std::size_t i = 0; i < events.size(); ++i)
                WriteRow(sink, EventRow(start, static_cast<int>(i + 1), events[i]));
        },
        out, err);
}

int WriteExceedanceList(Recording& starts, const AircraftLimits& limits,
                        const std::optional<fs::path>& target, std::ostream& out, std::ostream& err)
{
    return WriteList(
        starts, target, kExceedancesHeader,
        [&limits](const StartRecord& start, OutputBuffer& sink) {
            for (const Exceedance& exceedance : FindExceedances(start.samples, limits))
                WriteRow(sink, ExceedanceRow(start, exceedance));
        },
        out, err);
}

int RunEvents(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    if (!HasListOperands(line))
        return UsageError(err, "events erwartet BASISVERZ|DATENDATEI [ZIELDATEI]");
    int status = kExitOk;
    std::optional<Recording> starts = StartsOf(line.operands[0], status, err);
    if (!starts)
        return status;
    return Worse(status, WriteEventList(*starts, Target(line), out, err));
}

int RunExceedances(const CommandLine& line, std::ostream& out, std::ostream& err)
{
    const std::string* text = line.Value(kLimitsOption);
    if (text == nullptr)
        return UsageError(err, "exceedances erwartet --limits=NEG,POS,VNE");
    if (!HasListOperands(line))
        return UsageError(err,
                          "exceedances erwartet --limits=NEG,POS,VNE BASISVERZ|DATENDATEI "
                          "[ZIELDATEI]");
    std::string reason;
    const std::optional<AircraftLimits> limits = ParseLimits(*text, reason);
    if (!limits)
        return UsageError(err, reason);
    int status = kExitOk;
    std::optional<Recording> starts = StartsOf(line.operands[0], status, err);
    if (!starts)
        return status;
    return Worse(status, WriteExceedanceList(*starts, *limits, Target(line), out, err));
}

}  // namespace veltrin::tool
