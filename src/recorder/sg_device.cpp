#include "recorder/sg_device.h"

#include <scsi/sg.h>

#include <sys/ioctl.h>
#include <unistd.h>
#include <cerrno>

namespace veltrin {

namespace {

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
        request.status = header.status;
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

}  // namespace

std::unique_ptr<ScsiDevice> MakeSgDevice(int fd)
{
    return std::make_unique<SgDevice>(fd);
}

}  // namespace veltrin
