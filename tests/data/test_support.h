#pragma once
// Helpers shared by the data tests: framed sentences and temporary folders.

#include "data/sentence_parser.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace veltrin::test {

// `body` ("$GPGGA,...") with its correct "*hh" appended.
inline std::string Framed(std::string body)
{
    AppendChecksum(body);
    return body;
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace veltrin::test
