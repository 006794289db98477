#pragma once
// The SCSI pass-through (SG_IO) on an opened disk node.

#include "recorder/drive_access.h"

#include <memory>

namespace veltrin {

// Takes over the descriptor and closes it with the device.
std::unique_ptr<ScsiDevice> MakeSgDevice(int fd);

}  // namespace veltrin
