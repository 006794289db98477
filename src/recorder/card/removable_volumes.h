#pragma once
// Removable volumes that may hold a recorder card, and the entries the drive
// selection offers for them.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrin::card {

// One mounted removable volume.
struct RemovableVolume {
    std::string root;        // where its files are reached (the mount point)
    std::string label;       // volume label, empty when it has none
    std::string fileSystem;  // "FAT16", "FAT32", or another name such as "exfat"
};

// Source of the removable volumes; the system one asks the platform, tests
// fill one with made-up volumes.
class VolumeLister {
public:
    virtual ~VolumeLister() = default;
    // The volumes in the platform's order; empty when there are none or the
    // platform cannot be asked.
    virtual std::vector<RemovableVolume> List() const = 0;
};

// A lister that always returns the volumes it was given.
class FixedVolumeLister final : public VolumeLister {
public:
    explicit FixedVolumeLister(std::vector<RemovableVolume> volumes) : volumes_(std::move(volumes))
    {
    }
    std::vector<RemovableVolume> List() const override { return volumes_; }

private:
    std::vector<RemovableVolume> volumes_;
};

// Mounted file systems on removable or USB block devices (mountinfo joined
// with udev). Never null.
std::unique_ptr<VolumeLister> MakeSystemVolumeLister();

// File-system name as the drive selection compares it: "FAT16" or "FAT32"
// for a vfat volume of that version, else the udev type unchanged.
std::string FileSystemName(std::string_view fsType, std::string_view fsVersion);

// One choice of the drive selection.
struct CardDriveEntry {
    std::string root;
    std::string text;  // "root - label"
};

// The volumes that can hold a recorder card (file system exactly FAT16 or
// FAT32), in listing order, each shown as the root, " - " and the label.
std::vector<CardDriveEntry> CardDriveEntries(const std::vector<RemovableVolume>& volumes);

}  // namespace veltrin::card
