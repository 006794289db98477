#pragma once
// A disk for link tests that answers the pass-through command with bytes the
// test lays out, and records what it was sent.

#include "recorder/drive_access.h"
#include "recorder/recorder_constants.h"

#include <cerrno>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::testing {

struct ScriptedDisk {
    std::vector<DiskDescriptor> disks;  // what the listing shows
    std::string received;               // command bytes in arrival order
    std::deque<std::uint8_t> replies;   // bytes still to deliver, 15 per exchange
    std::optional<std::uint8_t> tag;    // replaces 0x99 in data byte 0
    std::optional<std::uint8_t> count;  // replaces the count in data byte 1
    int failWith = 0;                   // error code returned by every exchange
    int exchanges = 0;
    int openHandles = 0;

    void Queue(std::string_view bytes)
    {
        replies.insert(replies.end(), bytes.begin(), bytes.end());
    }
};

class ScriptedDevice final : public ScsiDevice {
public:
    explicit ScriptedDevice(std::shared_ptr<ScriptedDisk> disk) : disk_(std::move(disk))
    {
        ++disk_->openHandles;
    }
    ~ScriptedDevice() override { --disk_->openHandles; }
    ScriptedDevice(const ScriptedDevice&) = delete;
    ScriptedDevice& operator=(const ScriptedDevice&) = delete;

    int Execute(ScsiRequest& request) override
    {
        ++disk_->exchanges;
        if (disk_->failWith != 0)
            return disk_->failWith;
        const std::size_t sent = request.cdb[1];
        for (std::size_t i = 0; i < sent; ++i)
            disk_->received += static_cast<char>(request.cdb[2 + i]);
        std::size_t m = 0;
        while (m < recorder_constants::kMaxBytesIn && !disk_->replies.empty()) {
            request.data[2 + m++] = disk_->replies.front();
            disk_->replies.pop_front();
        }
        request.data[0] = disk_->tag.value_or(recorder_constants::kUsbOpcode);
        request.data[1] = disk_->count.value_or(static_cast<std::uint8_t>(m));
        return 0;
    }

private:
    std::shared_ptr<ScriptedDisk> disk_;
};

class ScriptedDriveAccess final : public DriveAccess {
public:
    explicit ScriptedDriveAccess(std::shared_ptr<ScriptedDisk> disk) : disk_(std::move(disk)) {}
    std::vector<DiskDescriptor> ListDisks() override { return disk_->disks; }
    std::unique_ptr<ScsiDevice> OpenDisk(const std::string&) override
    {
        return std::make_unique<ScriptedDevice>(disk_);
    }

private:
    std::shared_ptr<ScriptedDisk> disk_;
};

// A disk that identifies as the recorder.
inline DiskDescriptor RecorderDescriptor(std::string node = "/dev/sdq")
{
    return {std::move(node), true, "Quon    ", "Veltrin V2      ", "2.10"};
}

}  // namespace veltrin::testing
