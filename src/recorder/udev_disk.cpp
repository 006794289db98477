#include "recorder/udev_disk.h"

#include <libudev.h>

#include <string>

namespace veltrin {

namespace {

std::string Text(const char* value)
{
    return value != nullptr ? std::string(value) : std::string();
}

// Vendor, model or revision of the disk's SCSI device. A partition has no
// "device" link of its own and finds the attribute through its disk.
std::string ScsiAttribute(udev_device* disk, const char* name)
{
    const std::string path = std::string("device/") + name;
    if (const char* value = udev_device_get_sysattr_value(disk, path.c_str()))
        return value;
    udev_device* scsi = udev_device_get_parent_with_subsystem_devtype(disk, "scsi", "scsi_device");
    return scsi != nullptr ? Text(udev_device_get_sysattr_value(scsi, name)) : std::string();
}

bool OnUsbBus(udev_device* disk)
{
    if (Text(udev_device_get_property_value(disk, "ID_BUS")) == "usb")
        return true;
    return udev_device_get_parent_with_subsystem_devtype(disk, "usb", "usb_device") != nullptr;
}

}  // namespace

DiskDescriptor DescribeUdevDisk(udev_device* disk)
{
    DiskDescriptor descriptor;
    descriptor.node = Text(udev_device_get_devnode(disk));
    descriptor.usbBus = OnUsbBus(disk);
    descriptor.vendor = ScsiAttribute(disk, "vendor");
    descriptor.product = ScsiAttribute(disk, "model");
    descriptor.revision = ScsiAttribute(disk, "rev");
    return descriptor;
}

std::optional<NodeIdentity> IdentifyBlockDevice(dev_t number)
{
    udev* context = udev_new();
    if (context == nullptr)
        return std::nullopt;
    std::optional<NodeIdentity> identity;
    if (udev_device* device = udev_device_new_from_devnum(context, 'b', number)) {
        if (Text(udev_device_get_subsystem(device)) == "block") {
            identity.emplace();
            identity->wholeDisk = Text(udev_device_get_devtype(device)) == "disk";
            identity->disk = DescribeUdevDisk(device);
        }
        udev_device_unref(device);
    }
    udev_unref(context);
    return identity;
}

}  // namespace veltrin
