// The system's removable volumes: mounted file systems joined with the udev
// properties of their block devices.
#include "recorder/card/card_files.h"
#include "recorder/card/mount_info.h"
#include "recorder/card/removable_volumes.h"

#include <libudev.h>
#include <sys/sysmacros.h>

#include <memory>
#include <set>
#include <string_view>
#include <utility>

namespace veltrin::card {
namespace {

struct UdevDeleter {
    void operator()(udev* handle) const { udev_unref(handle); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeleter>;

std::string_view Property(udev_device* device, const char* name)
{
    const char* value = udev_device_get_property_value(device, name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

std::string_view SysAttribute(udev_device* device, const char* name)
{
    const char* value = udev_device_get_sysattr_value(device, name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

// A volume counts as removable when its disk says so, or when the disk hangs
// on the USB bus or is a memory card in a card reader slot.
bool IsRemovable(udev_device* device)
{
    if (Property(device, "ID_BUS") == "usb")
        return true;
    udev_device* disk = device;
    const char* devtype = udev_device_get_devtype(device);
    if (devtype == nullptr || std::string_view(devtype) != "disk") {
        disk = udev_device_get_parent_with_subsystem_devtype(device, "block", "disk");
        if (disk == nullptr)
            return false;
    }
    if (SysAttribute(disk, "removable") == "1")
        return true;
    return udev_device_get_parent_with_subsystem_devtype(disk, "usb", nullptr) != nullptr ||
           udev_device_get_parent_with_subsystem_devtype(disk, "mmc", nullptr) != nullptr;
}

class SystemVolumeLister final : public VolumeLister {
public:
    std::vector<RemovableVolume> List() const override
    {
        std::vector<RemovableVolume> volumes;
        const UdevPtr context(udev_new());
        if (!context)
            return volumes;
        std::set<std::pair<unsigned, unsigned>> seen;
        for (const MountEntry& entry :
             ParseMountInfo(ReadFileContent("/proc/self/mountinfo").value_or(""))) {
            // Only whole file systems of real block devices, each once.
            if (entry.major == 0 || entry.root != "/")
                continue;
            if (!seen.insert({entry.major, entry.minor}).second)
                continue;
            const UdevDevicePtr device(
                udev_device_new_from_devnum(context.get(), 'b', makedev(entry.major, entry.minor)));
            if (!device || !IsRemovable(device.get()))
                continue;
            const std::string_view fsType = Property(device.get(), "ID_FS_TYPE");
            if (fsType.empty())
                continue;
            volumes.push_back({entry.mountPoint, std::string(Property(device.get(), "ID_FS_LABEL")),
                               FileSystemName(fsType, Property(device.get(), "ID_FS_VERSION"))});
        }
        return volumes;
    }
};

}  // namespace

std::unique_ptr<VolumeLister> MakeSystemVolumeLister()
{
    return std::make_unique<SystemVolumeLister>();
}

}  // namespace veltrin::card
