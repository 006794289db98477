#pragma once
// Helpers shared by the export tests: scratch folders, file contents,
// hand-made starts and data files.

#include "data/recording.h"
#include "export/kml_writer.h"

#include <filesystem>
#include <map>
#include <string>

namespace veltrin::test {

// A fresh folder below the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// An environment holding exactly `variables`.
EnvironmentLookup FixedEnvironment(std::map<std::string, std::string> variables);

GpsFix Fix(bool valid, double latitude, double longitude, double altitude, double gpsAltitude = 0.0);

// "$" + body + "*HH" with the XOR checksum.
std::string Sentence(const std::string& body);

// Writes a small data file: a few samples, fixes with and without position,
// an event flag and a landing sentence.
void WriteSampleDataFile(const std::filesystem::path& path);

// Seconds of 2012-08-26 00:00:00 UTC.
inline constexpr CalendarSeconds kAugust26 = 1345939200;

}  // namespace veltrin::test
