#pragma once
// The in-memory model of a loaded recorder data directory: starts, samples, fixes.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>

namespace veltrin {

// Seconds since 1970-01-01 00:00 UTC, 64-bit so that dates after 2038 work.
using CalendarSeconds = std::int64_t;

// One "$VLTDR" data sample.
struct Sample {
    std::int32_t timeMs = 0;  // recorder time stamp
    double accX = 0.0;        // g
    double accY = 0.0;        // g
    double accZ = 0.0;        // g, the vertical load shown everywhere
    double ias = 0.0;         // indicated air speed, km/h
    double altitude = 0.0;    // m
    bool eventMark = false;   // first sample of an overload event
    bool eventFlag = false;   // the recorder's event flag (bit 0) is set in this sample
};

// One "$GPGGA" position with the recorder values current when it arrived.
struct GpsFix {
    bool valid = false;        // fix quality > 0
    double utcTime = 0.0;      // seconds since midnight UTC
    double latitude = 0.0;     // degrees, north positive
    double longitude = 0.0;    // degrees, east positive
    double gpsAltitude = 0.0;  // m above mean sea level
    double altitude = 0.0;     // latest sample's altitude; 0 before any sample
    double ias = 0.0;          // latest sample's air speed; 0 before any sample
    double accZ = 1.0;         // latest sample's vertical load; 1.0 g before any sample
    // Index in the start's samples of that latest sample; -1 before any sample.
    // It ties the fix to the graphs' time axis.
    std::ptrdiff_t sampleIndex = -1;
};

// One start (flight): one data file of the recorder. Value type.
struct StartRecord {
    std::filesystem::path path;       // the data file
    CalendarSeconds startTime = 0;    // from the day directory and file names
    CalendarSeconds landingTime = 0;  // from "$VLTLD"; 0 when none or not read yet
    bool landingIsTimeOfDay = false;  // that "$VLTLD" value reads as hhmmss of a real time of day
    double minAccZ = 0.0;
    double maxAccZ = 0.0;
    double maxIas = 0.0;
    double maxAltitude = 0.0;
    bool loaded = false;         // the data file has been read
    std::deque<Sample> samples;  // in file order
    std::deque<GpsFix> fixes;    // in file order
};

// All starts of one loaded base directory, in load order. A start's position
// is its start index, valid until the next load.
using Recording = std::deque<StartRecord>;

}  // namespace veltrin
