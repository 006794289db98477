#pragma once
// What the simulated recorder knows about itself, and the file in which it
// keeps the settings that "SAVECFG" makes permanent.

#include <string>

namespace veltrin::sim {

struct RecorderState {
    std::string version = "2.1";  // firmware version as sent in the VERSION reply
    std::string serialNumber = "SN4711";
    std::string password = "1234";
    double maxNegativeLoad = -3.5;  // g
    double maxPositiveLoad = 5.5;   // g
    double maxSpeed = 250.0;        // km/h
    std::string registration = "D-EABC";
    int eventCount = 3;  // stored overload events
};

// Reads password, limits, registration and event count from a state file
// into `state`, keeping the other members. False when the file cannot be
// read; lines it does not know are skipped.
bool LoadState(const std::string& path, RecorderState& state);

// Writes the permanent settings (temporary file, then rename; CR LF line
// ends). False when the file could not be written.
bool SaveState(const std::string& path, const RecorderState& state);

// The shortest text that reads back as `value` ("-3.5", "250").
std::string FormatNumber(double value);
// Reads a whole text as a decimal number; false when it is not one.
bool ParseNumber(const std::string& text, double& value);

}  // namespace veltrin::sim
