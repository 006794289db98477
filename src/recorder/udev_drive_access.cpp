// The system's disks on Linux: libudev lists them, SG_IO carries the
// pass-through command to the device node, directly or through the helper.
#include "recorder/drive_access.h"
#include "recorder/sg_device.h"
#include "recorder/udev_disk.h"
#include "recorder/usb_access_client.h"

#include <libudev.h>

#include <fcntl.h>

namespace veltrin {

namespace {

class UdevDriveAccess final : public DriveAccess {
public:
    std::vector<DiskDescriptor> ListDisks() override
    {
        std::vector<DiskDescriptor> disks;
        udev* context = udev_new();
        if (context == nullptr)
            return disks;
        udev_enumerate* enumerate = udev_enumerate_new(context);
        if (enumerate != nullptr) {
            udev_enumerate_add_match_subsystem(enumerate, "block");
            udev_enumerate_add_match_property(enumerate, "DEVTYPE", "disk");
            udev_enumerate_scan_devices(enumerate);
            udev_list_entry* entry = nullptr;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
            {
                udev_device* disk =
                    udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
                if (disk == nullptr)
                    continue;
                DiskDescriptor descriptor = DescribeUdevDisk(disk);
                if (!descriptor.node.empty())
                    disks.push_back(std::move(descriptor));
                udev_device_unref(disk);
            }
            udev_enumerate_unref(enumerate);
        }
        udev_unref(context);
        return disks;
    }

    std::unique_ptr<ScsiDevice> OpenDisk(const std::string& node) override
    {
        const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        // Without the right to send the pass-through command itself the
        // program asks the USB access helper to send it.
        return std::make_unique<FallbackScsiDevice>(MakeSgDevice(fd), node, StartUsbAccessHelper);
    }
};

}  // namespace

std::unique_ptr<DriveAccess> CreateSystemDriveAccess()
{
    return std::make_unique<UdevDriveAccess>();
}

}  // namespace veltrin
