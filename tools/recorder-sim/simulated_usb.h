#pragma once
// The simulated recorder seen through USB: a set of disks that the link can
// list and open, one of which may answer the recorder's pass-through command.

#include "recorder-sim/simulated_recorder.h"
#include "recorder/drive_access.h"

#include <cstddef>
#include <memory>
#include <string>

namespace veltrin::sim {

// Answers one pass-through request the way the recorder does: command bytes
// from CDB bytes 2 on (count in byte 1), reply in the data area as 0x99, a
// count m below 16 and m bytes; what does not fit comes with later requests.
void AnswerPassThrough(SimulatedRecorder& recorder, ScsiRequest& request,
                       SimulatedRecorder::Clock::time_point now);

// The storage identification the recorder shows.
DiskDescriptor RecorderDisk(std::string node = "/dev/sdr", std::string revision = "2.10");

class SimulatedUsbBus {
public:
    SimulatedUsbBus();
    ~SimulatedUsbBus();
    SimulatedUsbBus(const SimulatedUsbBus&) = delete;
    SimulatedUsbBus& operator=(const SimulatedUsbBus&) = delete;

    // Plugs in a disk. With a recorder it answers pass-through requests;
    // without, requests to it come back empty.
    void Plug(DiskDescriptor disk, std::shared_ptr<SimulatedRecorder> recorder = nullptr);
    // Removes the disk: it is no longer listed, and handles opened on it fail
    // with ENODEV.
    void Unplug(const std::string& node);

    // A view of the bus to hand to the link; it may outlive nothing but the bus.
    std::unique_ptr<DriveAccess> Access();

    int OpenHandles() const;

    struct Bus;  // shared with the handles it gives out

private:
    std::shared_ptr<Bus> bus_;
};

}  // namespace veltrin::sim
