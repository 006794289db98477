#include "recorder/card/removable_volumes.h"

#include "recorder/card/card_constants.h"

#include <algorithm>

namespace veltrin::card {

std::string FileSystemName(std::string_view fsType, std::string_view fsVersion)
{
    if (fsType == "vfat" && (fsVersion == "FAT16" || fsVersion == "FAT32"))
        return std::string(fsVersion);
    return std::string(fsType);
}

std::vector<CardDriveEntry> CardDriveEntries(const std::vector<RemovableVolume>& volumes)
{
    std::vector<CardDriveEntry> entries;
    for (const RemovableVolume& volume : volumes) {
        const bool cardFileSystem =
            std::find(std::begin(kCardFileSystems), std::end(kCardFileSystems),
                      volume.fileSystem) != std::end(kCardFileSystems);
        if (!cardFileSystem || volume.root.empty())
            continue;
        entries.push_back({volume.root, volume.root + " - " + volume.label});
    }
    return entries;
}

}  // namespace veltrin::card
