#pragma once
// What the recorder has told about itself in its replies.

#include <string>

namespace veltrin {

struct RecorderInfo {
    float version = 0.0f;          // firmware version; 0 while none was received
    double maxNegativeLoad = 0.0;  // g
    double maxPositiveLoad = 0.0;  // g
    double maxSpeed = 0.0;         // km/h
    std::string serialNumber;
    std::string registration;       // aircraft registration
    bool passwordAccepted = false;  // verdict of the newest PASS reply
};

// Values written to the recorder when the configuration is finished.
struct RecorderSettings {
    double maxNegativeLoad = 0.0;
    double maxPositiveLoad = 0.0;
    double maxSpeed = 0.0;
    std::string password;
    std::string registration;
};

}  // namespace veltrin
