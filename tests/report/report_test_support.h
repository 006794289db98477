#pragma once
// Shared pieces of the report tests: made data files and cards, and the PDF
// tools that read a written report back.

#include "data/recording.h"
#include "support/made_lines.h"

#include <filesystem>
#include <string>
#include <vector>

namespace veltrin::test {

// Writes `lines`, each ended by CR LF, to `path` (folders made as needed).
void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// A start of 10 minutes at 10 samples a second with two events (at 100 s,
// 0.3 s long, up to 6.2 g; at 400 s, one sample, -2.4 g at 265.5 km/h) and a
// landing at 14:40:00.
std::vector<std::string> EventfulStart();

// The read start of `path`.
StartRecord ReadMadeStart(const std::filesystem::path& path);

// The text of a PDF file (pdftotext -layout) or "" when the tool fails.
std::string PdfText(const std::filesystem::path& pdf);
// Its page count from pdfinfo; -1 when the tool fails.
int PdfPages(const std::filesystem::path& pdf);

// Number of times `needle` occurs in `text`.
int Count(const std::string& text, const std::string& needle);

}  // namespace veltrin::test
