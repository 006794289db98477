#pragma once
// Helpers shared by the export tests: file contents, hand-made starts and
// data files. Scratch folders, framed sentences and environments come from
// tests/support.

#include "data/recording.h"
#include "export/kml_writer.h"
#include "support/fixed_environment.h"
#include "support/framed_sentence.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <map>
#include <string>

namespace veltrin::test {

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

GpsFix Fix(bool valid, double latitude, double longitude, double altitude,
           double gpsAltitude = 0.0);

// Writes a small data file: a few samples, fixes with and without position,
// an event flag and a landing sentence.
void WriteSampleDataFile(const std::filesystem::path& path);

// The <gx:coord> lines of an extended document.
std::string CoordLines(const std::string& document);

// The <gx:coord> lines that PositionAt gives for every fix of a start, with the
// recorder altitude written as "%.2f" text (for example "100.00").
std::string PositionAtCoordLines(const StartRecord& start, const std::string& altitude);

// Seconds of 2012-08-26 00:00:00 UTC.
inline constexpr CalendarSeconds kAugust26 = 1345939200;

}  // namespace veltrin::test
