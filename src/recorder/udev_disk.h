#pragma once
// What udev knows about a disk: its storage identification, found either
// from a udev device or from the device number of an opened node.

#include "recorder/drive_identity.h"

#include <sys/types.h>

#include <optional>

struct udev_device;

namespace veltrin {

// Node, bus, vendor, model and revision of a block device.
DiskDescriptor DescribeUdevDisk(udev_device* disk);

// The block device with this number; empty when udev knows none.
std::optional<NodeIdentity> IdentifyBlockDevice(dev_t number);

}  // namespace veltrin
