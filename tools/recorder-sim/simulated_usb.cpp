#include "recorder-sim/simulated_usb.h"

#include "recorder/recorder_constants.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace veltrin::sim {

namespace rc = recorder_constants;

void AnswerPassThrough(SimulatedRecorder& recorder, ScsiRequest& request,
                       SimulatedRecorder::Clock::time_point now)
{
    request.data.fill(0);
    if (request.cdb[0] != rc::kUsbOpcode || request.cdb[1] > rc::kMaxBytesOut)
        return;
    recorder.Receive(std::span(request.cdb).subspan(2, request.cdb[1]), now);
    const std::string reply = recorder.TakeDue(now, rc::kMaxBytesIn);
    request.data[0] = rc::kUsbOpcode;
    request.data[1] = static_cast<std::uint8_t>(reply.size());
    std::copy(reply.begin(), reply.end(), request.data.begin() + 2);
}

DiskDescriptor RecorderDisk(std::string node, std::string revision)
{
    DiskDescriptor disk;
    disk.node = std::move(node);
    disk.usbBus = true;
    disk.vendor = "Quon    ";
    disk.product = "Veltrin V2      ";
    disk.revision = std::move(revision);
    return disk;
}

struct SimulatedUsbBus::Bus {
    struct Slot {
        DiskDescriptor disk;
        std::shared_ptr<SimulatedRecorder> recorder;
        std::shared_ptr<bool> present;
    };
    std::vector<Slot> slots;
    int openHandles = 0;
};

namespace {

class Handle final : public ScsiDevice {
public:
    Handle(std::weak_ptr<SimulatedUsbBus::Bus> bus, std::shared_ptr<SimulatedRecorder> recorder,
           std::shared_ptr<bool> present);
    ~Handle() override;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int Execute(ScsiRequest& request) override;

private:
    std::weak_ptr<SimulatedUsbBus::Bus> bus_;
    std::shared_ptr<SimulatedRecorder> recorder_;
    std::shared_ptr<bool> present_;
};

class BusAccess final : public DriveAccess {
public:
    explicit BusAccess(std::weak_ptr<SimulatedUsbBus::Bus> bus) : bus_(std::move(bus)) {}

    std::vector<DiskDescriptor> ListDisks() override
    {
        std::vector<DiskDescriptor> disks;
        if (auto bus = bus_.lock()) {
            for (const auto& slot : bus->slots)
                disks.push_back(slot.disk);
        }
        return disks;
    }

    std::unique_ptr<ScsiDevice> OpenDisk(const std::string& node) override
    {
        auto bus = bus_.lock();
        if (!bus)
            return nullptr;
        for (const auto& slot : bus->slots) {
            if (slot.disk.node == node)
                return std::make_unique<Handle>(bus_, slot.recorder, slot.present);
        }
        return nullptr;
    }

private:
    std::weak_ptr<SimulatedUsbBus::Bus> bus_;
};

}  // namespace

// Defined after Bus is complete.
Handle::Handle(std::weak_ptr<SimulatedUsbBus::Bus> bus, std::shared_ptr<SimulatedRecorder> recorder,
               std::shared_ptr<bool> present)
    : bus_(std::move(bus)), recorder_(std::move(recorder)), present_(std::move(present))
{
    if (auto locked = bus_.lock())
        ++locked->openHandles;
}

Handle::~Handle()
{
    if (auto locked = bus_.lock())
        --locked->openHandles;
}

int Handle::Execute(ScsiRequest& request)
{
    auto bus = bus_.lock();
    if (!bus || !*present_)
        return ENODEV;
    if (recorder_)
        AnswerPassThrough(*recorder_, request, SimulatedRecorder::Clock::now());
    else
        request.data.fill(0);
    return 0;
}

SimulatedUsbBus::SimulatedUsbBus() : bus_(std::make_shared<Bus>())
{
}

SimulatedUsbBus::~SimulatedUsbBus() = default;

void SimulatedUsbBus::Plug(DiskDescriptor disk, std::shared_ptr<SimulatedRecorder> recorder)
{
    bus_->slots.push_back({std::move(disk), std::move(recorder), std::make_shared<bool>(true)});
}

void SimulatedUsbBus::Unplug(const std::string& node)
{
    auto& slots = bus_->slots;
    for (auto& slot : slots) {
        if (slot.disk.node == node)
            *slot.present = false;
    }
    std::erase_if(slots, [&node](const Bus::Slot& slot) { return slot.disk.node == node; });
}

std::unique_ptr<DriveAccess> SimulatedUsbBus::Access()
{
    return std::make_unique<BusAccess>(bus_);
}

int SimulatedUsbBus::OpenHandles() const
{
    return bus_->openHandles;
}

}  // namespace veltrin::sim
