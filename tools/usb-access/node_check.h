#pragma once
// The helper's check of the node it was given. It is made on the opened
// descriptor: the device number the kernel reports for it is what udev is
// asked about, so a node renamed or replaced between the check and the
// commands cannot pass as the recorder.

#include "recorder/drive_identity.h"

#include <sys/types.h>

#include <functional>
#include <optional>

namespace veltrin::usb_access {

// Kind and device number of an opened node, as fstat gives them.
struct OpenedNode {
    bool blockDevice = false;
    dev_t number = 0;
};

// What the system knows about a block device number; empty when nothing.
using IdentityLookup = std::function<std::optional<NodeIdentity>(dev_t number)>;

enum class NodeVerdict {
    Recorder,        // the recorder's whole disk
    NotBlockDevice,  // a file, a character device, or fstat failed
    Unknown,         // udev knows no block device with that number
    Partition,       // a partition (of the recorder or any other disk)
    NotRecorder,     // a disk, but another bus, vendor, model or revision
};

// fstat of the descriptor; empty when it fails.
std::optional<OpenedNode> DescribeDescriptor(int fd);

NodeVerdict CheckNode(const std::optional<OpenedNode>& node, const IdentityLookup& lookup);
NodeVerdict CheckOpenedNode(int fd, const IdentityLookup& lookup);

}  // namespace veltrin::usb_access
