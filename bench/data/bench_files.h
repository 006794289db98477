#pragma once
// Generated recorder files for the data benchmarks, made once per run in a
// temporary folder and removed at exit.

#include <cstddef>
#include <filesystem>
#include <string>

namespace veltrin::bench {

// "$VLTDR" data line number `index` of a 25 Hz recording, with its checksum.
std::string DataLine(std::size_t index);
// "$GPGGA" fix number `second` of a 1 Hz track, with its checksum.
std::string FixLine(std::size_t second);

struct GeneratedStart {
    std::filesystem::path path;
    std::size_t bytes = 0;
    std::size_t samples = 0;
    std::size_t fixes = 0;
};

// A start of 1,000,000 "$VLTDR" lines at 25 Hz and one "$GPGGA" per second, CR LF line ends.
const GeneratedStart& LargeStart();

// A base directory of 400 day directories with 25 starts each (10,000 starts).
const std::filesystem::path& LargeCard();

}  // namespace veltrin::bench
