#pragma once
// What the USB transport needs from the system: the list of disks with their
// storage identification, and the SCSI pass-through to one of them. The
// system implementation uses libudev and SG_IO; tests put a simulated
// recorder in its place.

#include "recorder/recorder_constants.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veltrin {

// One whole disk as the system describes it.
struct DiskDescriptor {
    std::string node;      // device node, e.g. /dev/sdb
    bool usbBus = false;   // attached through USB
    std::string vendor;    // storage vendor text, possibly padded with blanks
    std::string product;   // storage product (model) text
    std::string revision;  // product revision text, e.g. "2.10"
};

// One pass-through command with data coming from the device.
struct ScsiRequest {
    std::array<std::uint8_t, recorder_constants::kCdbLength> cdb{};
    std::array<std::uint8_t, recorder_constants::kDataLength> data{};
    std::array<std::uint8_t, recorder_constants::kSenseLength> sense{};
    unsigned timeoutMs = static_cast<unsigned>(recorder_constants::kScsiTimeout.count());
    std::uint8_t status = 0;  // SCSI status byte the device answered with
};

// An opened disk.
class ScsiDevice {
public:
    virtual ~ScsiDevice() = default;
    // Runs the request; returns 0 on success or an errno-style code when the
    // command could not be carried out (the device may be gone).
    virtual int Execute(ScsiRequest& request) = 0;
};

class DriveAccess {
public:
    virtual ~DriveAccess() = default;
    // Every whole disk the system currently has; empty when the query fails.
    virtual std::vector<DiskDescriptor> ListDisks() = 0;
    // Opens a disk for the pass-through; nullptr when that fails.
    virtual std::unique_ptr<ScsiDevice> OpenDisk(const std::string& node) = 0;
};

// The system's disks: libudev for the list, SG_IO on the device node.
std::unique_ptr<DriveAccess> CreateSystemDriveAccess();

}  // namespace veltrin
