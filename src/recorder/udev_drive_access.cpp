// The system's disks on Linux: libudev lists them, SG_IO carries the
// pass-through command to the device node.
#include "recorder/drive_access.h"

#include <libudev.h>
#include <scsi/sg.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <cerrno>

namespace veltrin {

namespace {

std::string Text(const char* value)
{
    return value != nullptr ? std::string(value) : std::string();
}

// Vendor, model or revision of the disk's SCSI device.
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

class SgDevice final : public ScsiDevice {
public:
    explicit SgDevice(int fd) : fd_(fd) {}
    ~SgDevice() override { ::close(fd_); }
    SgDevice(const SgDevice&) = delete;
    SgDevice& operator=(const SgDevice&) = delete;

    int Execute(ScsiRequest& request) override
    {
        sg_io_hdr_t header{};
        header.interface_id = 'S';
        header.dxfer_direction = SG_DXFER_FROM_DEV;
        header.cmd_len = static_cast<unsigned char>(request.cdb.size());
        header.mx_sb_len = static_cast<unsigned char>(request.sense.size());
        header.dxfer_len = static_cast<unsigned int>(request.data.size());
        header.dxferp = request.data.data();
        header.cmdp = request.cdb.data();
        header.sbp = request.sense.data();
        header.timeout = request.timeoutMs;
        if (::ioctl(fd_, SG_IO, &header) < 0)
            return errno != 0 ? errno : EIO;
        // A transport failure (device gone, time-out) is a failed exchange;
        // a command the device refused still returns whatever data it gave.
        constexpr unsigned kDriverSense = 0x08;
        if (header.host_status != 0 || (header.driver_status & ~kDriverSense) != 0)
            return EIO;
        return 0;
    }

private:
    int fd_;
};

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
                DiskDescriptor descriptor;
                descriptor.node = Text(udev_device_get_devnode(disk));
                descriptor.usbBus = OnUsbBus(disk);
                descriptor.vendor = ScsiAttribute(disk, "vendor");
                descriptor.product = ScsiAttribute(disk, "model");
                descriptor.revision = ScsiAttribute(disk, "rev");
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
        return std::make_unique<SgDevice>(fd);
    }
};

}  // namespace

std::unique_ptr<DriveAccess> CreateSystemDriveAccess()
{
    return std::make_unique<UdevDriveAccess>();
}

}  // namespace veltrin
