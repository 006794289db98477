#pragma once
// Reading the kernel's table of mounted file systems (/proc/self/mountinfo).

#include <string>
#include <string_view>
#include <vector>

namespace veltrin::card {

// One line of the table.
struct MountEntry {
    unsigned major = 0;  // device number of the mounted block device
    unsigned minor = 0;
    std::string root;        // folder of the file system mounted here ("/" for all of it)
    std::string mountPoint;  // with the kernel's octal escapes decoded
    std::string fsType;
    std::string source;
};

// The entries of a mountinfo text; lines that do not have the expected
// fields are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Decodes the kernel's octal escapes ("\040" for a blank) in a path field.
std::string DecodeMountPath(std::string_view field);

}  // namespace veltrin::card
