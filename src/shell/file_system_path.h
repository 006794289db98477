#pragma once
// Turns a path the user chose or the settings hold into a file system path.

#include <QString>

#include <filesystem>

namespace veltrin {

// `path` in the file system's encoding of names; an empty path stays empty.
std::filesystem::path FileSystemPath(const QString& path);

}  // namespace veltrin
