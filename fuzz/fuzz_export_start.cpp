// Reads arbitrary bytes as a start's data file and exports the start as both
// CSV variants (in memory) and as the plain and the extended KML document
// (through the writer's files in a scratch folder). Every CSV line must hold
// six numbers of the column's precision, and each KML document must be empty
// for a start without track points, else well-formed XML with one entry per
// point.
//
// Input: 4 bytes (little endian) choosing the start time within 2000 to 2099,
// 1 byte choosing the thinning count of the plain document (0 to 4, 0 leaves
// it unset), then the file's bytes.
#include "data/start_data_stream.h"
#include "export/csv_writer.h"
#include "export/export_constants.h"
#include "export/output_buffer.h"
#include "export/start_export.h"
#include "xml_tag_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using veltrin::fuzz::IsWellFormedXml;

constexpr std::size_t kHeaderSize = 5;
constexpr veltrin::CalendarSeconds kYear2000 = 946684800;
constexpr std::uint32_t kCenturySeconds = 3155760000U;  // 2000-01-01 to 2100-01-01

fs::path g_scratch;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void RemoveScratch()
{
    std::error_code ignored;
    fs::remove_all(g_scratch, ignored);
}

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    Check(static_cast<bool>(in));
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t CountOf(std::string_view text, std::string_view what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

// "[-]digits[<mark>digits]" with exactly `precision` digits after the mark
// (no mark for 0), or what printf writes for a value that is not finite.
bool IsNumber(std::string_view text, int precision, char mark)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    if (text == "nan" || text == "inf")
        return true;
    const std::size_t fraction = precision > 0 ? static_cast<std::size_t>(precision) + 1 : 0;
    if (text.size() <= fraction)
        return false;  // at least one digit before the mark
    const std::size_t point = text.size() - fraction;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (fraction > 0 && i == point ? text[i] != mark : !digit)
            return false;
    }
    return true;
}

// The parts of `text` between separators; with `mergeRuns`, empty parts are
// left out (a run of separators counts as one).
std::vector<std::string_view> Split(std::string_view text, char separator, bool mergeRuns)
{
    std::vector<std::string_view> parts;
    std::size_t first = 0;
    for (;;) {
        const std::size_t end = text.find(separator, first);
        const std::string_view part =
            text.substr(first, end == std::string_view::npos ? end : end - first);
        if (!mergeRuns || !part.empty())
            parts.push_back(part);
        if (end == std::string_view::npos)
            return parts;
        first = end + 1;
    }
}

void CheckCsv(const veltrin::StartRecord& start, veltrin::CsvVariant variant)
{
    static constexpr int kPrecisions[] = {3, 2, 2, 2, 1, 0};
    const bool semicolon = variant == veltrin::CsvVariant::Semicolon;
    veltrin::StringOutput out;
    veltrin::WriteCsv(start, variant, out);
    Check(out.Flush());
    std::string_view text = out.Text();
    if (semicolon) {
        const std::string header = std::string(veltrin::export_constants::kCsvHeader) + "\r\n";
        Check(text.substr(0, header.size()) == header);
        text.remove_prefix(header.size());
    }
    std::size_t rows = 0;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        Check(end != std::string_view::npos);
        const std::string_view row = text.substr(0, end);
        Check(row.find_first_of("\r\n") == std::string_view::npos);
        // Blank rows pad each field to its width, so runs of blanks separate them.
        const std::vector<std::string_view> fields = Split(row, semicolon ? ';' : ' ', !semicolon);
        Check(fields.size() == std::size(kPrecisions));
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::string_view field = fields[i];
            while (semicolon && !field.empty() && field.front() == ' ')
                field.remove_prefix(1);
            Check(IsNumber(field, kPrecisions[i], semicolon ? ',' : '.'));
        }
        ++rows;
        text.remove_prefix(end + 2);
    }
    Check(rows == start.samples.size());
}

// The text between the first `open` and the next `close`.
std::string_view Between(std::string_view text, std::string_view open, std::string_view close)
{
    const std::size_t first = text.find(open);
    Check(first != std::string_view::npos);
    const std::size_t begin = first + open.size();
    const std::size_t end = text.find(close, begin);
    Check(end != std::string_view::npos);
    return text.substr(begin, end - begin);
}

void CheckLineDocument(const veltrin::StartRecord& start, std::string_view kml, int removeCount)
{
    Check(IsWellFormedXml(kml));
    std::size_t valid = 0;
    for (const veltrin::GpsFix& fix : start.fixes)
        valid += fix.valid ? 1 : 0;
    const std::size_t expected = removeCount > 0
                                     ? (valid + static_cast<std::size_t>(removeCount) - 1) /
                                           static_cast<std::size_t>(removeCount)
                                     : valid;
    // The points are "lon,lat,alt" separated by white space.
    std::size_t points = 0;
    const std::string_view coordinates = Between(kml, "<coordinates>", "</coordinates>");
    for (std::size_t at = coordinates.find_first_not_of(" \t\r\n"); at != std::string_view::npos;
         at = coordinates.find_first_not_of(" \t\r\n", at)) {
        const std::size_t end =
            std::min(coordinates.find_first_of(" \t\r\n", at), coordinates.size());
        const std::vector<std::string_view> values =
            Split(coordinates.substr(at, end - at), ',', false);
        Check(values.size() == 3 && IsNumber(values[0], 8, '.') && IsNumber(values[1], 8, '.') &&
              IsNumber(values[2], 1, '.'));
        ++points;
        at = end;
    }
    Check(points == expected);
}

void CheckTrackDocument(const veltrin::StartRecord& start, std::string_view kml)
{
    Check(IsWellFormedXml(kml));
    const std::size_t n = start.fixes.size();
    Check(CountOf(kml, "<when>") == n && CountOf(kml, "<gx:coord>") == n &&
          CountOf(kml, "<gx:value>") == 2 * n);
    const std::string_view firstCoord = Between(kml, "<gx:coord>", "</gx:coord>");
    const std::vector<std::string_view> values = Split(firstCoord, ' ', false);
    Check(values.size() == 3 && IsNumber(values[0], 8, '.') && IsNumber(values[1], 8, '.') &&
          IsNumber(values[2], 2, '.'));
    Check(IsNumber(Between(kml, "<gx:value>", "</gx:value>"), 6, '.'));
}

void CheckKml(const veltrin::StartRecord& start, bool extended, int removeCount)
{
    const std::optional<std::string> count =
        removeCount > 0 ? std::optional<std::string>(std::to_string(removeCount)) : std::nullopt;
    veltrin::KmlWriter writer([count](const char* name) -> std::optional<std::string> {
        if (std::string_view(name) == veltrin::export_constants::kRemoveCountVariable)
            return count;
        return std::nullopt;
    });
    const fs::path target = g_scratch / (extended ? "track.kml" : "line.kml");
    Check(veltrin::ExportKml(start, target, extended, writer).Ok());
    const std::string kml = ReadWhole(target);
    if (start.fixes.empty()) {
        Check(kml.empty());
    } else if (extended) {
        CheckTrackDocument(start, kml);
    } else {
        CheckLineDocument(start, kml, removeCount);
    }
}

// The writer syncs each file it completes: without a TMPDIR of its own the
// scratch folder goes to memory when the system has /dev/shm.
fs::path ScratchParent()
{
    std::error_code error;
    if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", error) &&
        access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return fs::temp_directory_path();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string pattern = (ScratchParent() / "veltrin-fuzz-export-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    g_scratch = pattern;
    std::atexit(RemoveScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderSize)
        return 0;
    const std::uint32_t timeChoice =
        static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
        static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    const int removeCount = data[4] % 5;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + kHeaderSize,
                                 size - kHeaderSize);

    veltrin::StartRecord start;
    start.startTime = kYear2000 + timeChoice % kCenturySeconds;
    veltrin::LoadStartDataFromBytes(start, bytes);

    CheckCsv(start, veltrin::CsvVariant::Semicolon);
    CheckCsv(start, veltrin::CsvVariant::Blank);
    CheckKml(start, false, removeCount);
    CheckKml(start, true, removeCount);
    return 0;
}
