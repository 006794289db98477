#pragma once
// Writes a start's samples as a semicolon-separated file with a header and
// decimal commas, or as a blank-separated data file with decimal points.

#include "data/recording.h"
#include "export/output_buffer.h"

#include <filesystem>

namespace veltrin {

enum class CsvVariant {
    Semicolon,  // header line, ";" between fields, "," as decimal mark
    Blank,      // no header, one blank between fields, "." as decimal mark
};

// Semicolon when the path's extension, upper-cased, is "CSV"; else Blank.
CsvVariant CsvVariantForPath(const std::filesystem::path& path);

// Writes one line per sample (time relative to the first sample, the three
// accelerations, air speed, altitude), each ending in CR LF; the Semicolon
// variant starts with the header line. Failures show in `out`.
void WriteCsv(const StartRecord& start, CsvVariant variant, OutputBuffer& out);

}  // namespace veltrin
