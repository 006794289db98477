#include "export/csv_writer.h"

#include "data/number_format.h"
#include "export/export_constants.h"
#include "export/short_fixed.h"

#include <cstdint>
#include <iterator>
#include <string>

namespace veltrin {
namespace {

// Room for six fields of the widest double ("%.3f" of 1e308 has over 300
// characters), the separators and the line end.
constexpr std::size_t kLineCapacity = 2048;

struct Field {
    int precision;
    int width;
};
// Time, AccX, AccY, AccZ, IAS, Altitude.
constexpr Field kFields[] = {{3, 9}, {2, 6}, {2, 6}, {2, 6}, {1, 6}, {0, 6}};
constexpr std::size_t kFieldCount = std::size(kFields);

// Recorder time stamps are 32-bit and may wrap: the difference is taken modulo 2^32.
std::int32_t RelativeMs(std::int32_t timeMs, std::int32_t firstMs)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(timeMs) -
                                     static_cast<std::uint32_t>(firstMs));
}

}  // namespace

CsvVariant CsvVariantForPath(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return extension == "CSV" ? CsvVariant::Semicolon : CsvVariant::Blank;
}

void WriteCsv(const StartRecord& start, CsvVariant variant, OutputBuffer& out)
{
    using export_constants::kLineEnd;
    const bool semicolon = variant == CsvVariant::Semicolon;
    const char separator = semicolon ? ';' : ' ';
    if (semicolon) {
        out.Write(export_constants::kCsvHeader);
        out.Write(kLineEnd);
    }
    if (start.samples.empty())
        return;

    const std::int32_t firstMs = start.samples.front().timeMs;
    char line[kLineCapacity];
    char* const lineEnd = line + kLineCapacity;
    for (const Sample& sample : start.samples) {
        const double values[kFieldCount] = {
            static_cast<double>(RelativeMs(sample.timeMs, firstMs)) *
                export_constants::kMillisecondsToSeconds,
            sample.accX,
            sample.accY,
            sample.accZ,
            sample.ias,
            sample.altitude};
        char* p = line;
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            if (i > 0)
                *p++ = separator;
            p = FormatShortFixed(p, lineEnd - 2, values[i], kFields[i].precision, kFields[i].width);
        }
        if (semicolon) {
            for (char* c = line; c != p; ++c) {
                if (*c == '.')
                    *c = ',';
            }
        }
        *p++ = '\r';
        *p++ = '\n';
        out.Write(line, static_cast<std::size_t>(p - line));
    }
}

}  // namespace veltrin
