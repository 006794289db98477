#pragma once
// The fixed values of the CSV and KML exports in one place.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace veltrin::export_constants {

// CSV export.
inline constexpr std::string_view kCsvHeader = "Time;AccX;AccY;AccZ;IAS;Altitude";
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr double kMillisecondsToSeconds = 0.001;

// KML export.
inline constexpr std::uint32_t kLineColour = 0xffff0000u;   // plain document, aabbggrr
inline constexpr std::uint32_t kTrackColour = 0x99ffac59u;  // extended document, aabbggrr
inline constexpr int kDefaultLineWidth = 2;
inline constexpr double kHeadDefaultLatitude = 50.0;  // LookAt when the first point is 0/0
inline constexpr double kHeadDefaultLongitude = 9.0;
inline constexpr double kZeroAltitudeReplacement = 2.0;  // a coordinate at altitude 0
inline constexpr std::size_t kOffsetPointIndex = 10;     // point that gives the altitude offset
inline constexpr long long kSecondsPerDay = 86400;
inline constexpr long long kMidnightWrapSeconds =
    12 * 3600;  // a point this far before the start is on the next day
inline constexpr const char* kLineWidthVariable = "KML_LINEWIDTH";
inline constexpr const char* kRemoveCountVariable = "KML_REMOVECNT";

}  // namespace veltrin::export_constants
