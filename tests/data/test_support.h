#pragma once
// Helpers shared by the data tests: framed sentences and temporary folders.

#include "support/framed_sentence.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace veltrin::test {

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace veltrin::test
