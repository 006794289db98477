#pragma once
// How the recorder's drive is told from every other disk. The program uses the
// rule on the disks it lists; the USB access helper uses it on the device
// behind the node it has opened.

#include "recorder/drive_access.h"

namespace veltrin {

// True when the disk is the recorder: on the USB bus, vendor text beginning
// "Quon ", product text beginning "Veltrin V2 " and a revision that reads as a
// decimal number of at least 2.1.
bool IsRecorderDrive(const DiskDescriptor& disk);

// What the system says about the device behind an opened node.
struct NodeIdentity {
    bool wholeDisk = false;  // a disk, not one of its partitions
    DiskDescriptor disk;
};

// The recorder's whole disk; a partition of it does not count, since the
// pass-through command is meant for the drive itself.
bool IsRecorderNode(const NodeIdentity& node);

}  // namespace veltrin
