#include "export_test_support.h"

#include "data/number_format.h"
#include "data/start_rules.h"

#include <cstddef>
#include <cstdio>
#include <fstream>

namespace veltrin::test {

std::string ReadFile(const std::filesystem::path& path)
{
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            bytes.append(chunk, n);
        std::fclose(file);
    }
    return bytes;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

GpsFix Fix(bool valid, double latitude, double longitude, double altitude, double gpsAltitude)
{
    GpsFix fix;
    fix.valid = valid;
    fix.latitude = latitude;
    fix.longitude = longitude;
    fix.altitude = altitude;
    fix.gpsAltitude = gpsAltitude;
    return fix;
}

void WriteSampleDataFile(const std::filesystem::path& path)
{
    const char* lines[] = {
        "GPGGA,143500,0000.000,N,00000.000,E,0,00,99.9,0.0,M,0.0,M,,",
        "VLTDR,10.000,0.10,-0.02,1.05,80.0,0.0,0.0,300,0",
        "GPGGA,143501,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
        "VLTDR,10.500,0.12,-0.05,2.51,95.3,0.0,0.0,512,1",
        "GPGGA,143502,0000.000,N,00000.000,E,0,00,99.9,0.0,M,0.0,M,,",
        "VLTDR,11.000,-0.30,0.07,-0.45,101.5,0.0,0.0,530,0",
        "GPGGA,143503,4807.100,S,01131.200,W,1,08,0.9,560.0,M,46.9,M,,",
        "VLTLD,12.000,0,153012",
    };
    std::string text;
    for (const char* line : lines)
        text += Framed(std::string("$") + line) + "\r\n";
    WriteFile(path, text);
}

std::string CoordLines(const std::string& document)
{
    const auto from = document.find("\t\t\t<gx:coord>");
    return document.substr(from, document.find("\t\t\t<ExtendedData>") - from);
}

std::string PositionAtCoordLines(const StartRecord& start, const std::string& altitude)
{
    std::string lines;
    for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(start.fixes.size()); ++i) {
        const Position p = PositionAt(start.fixes, i);
        lines += "\t\t\t<gx:coord>";
        AppendFixed(lines, p.longitude, 8);
        lines += ' ';
        AppendFixed(lines, p.latitude, 8);
        lines += ' ' + altitude + "</gx:coord>\r\n";
    }
    return lines;
}

}  // namespace veltrin::test
