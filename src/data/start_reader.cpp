#include "data/start_reader.h"

#include "data/start_data_stream.h"

#include <fstream>
#include <memory>

namespace veltrin {

namespace {

// Files are read in large blocks; lines are taken from memory.
constexpr std::size_t kReadBlockSize = std::size_t{1} << 18;

}  // namespace

bool LoadStartData(StartRecord& start)
{
    if (start.loaded) {
        return true;
    }
    start.samples.clear();
    start.fixes.clear();
    std::ifstream file(start.path, std::ios::binary);
    if (!file.is_open()) {
        return false;
    }
    StartDataStream stream(start);
    const auto block = std::make_unique<char[]>(kReadBlockSize);
    for (;;) {
        file.read(block.get(), static_cast<std::streamsize>(kReadBlockSize));
        const std::streamsize count = file.gcount();
        if (count > 0) {
            stream.Feed(std::string_view(block.get(), static_cast<std::size_t>(count)));
        }
        // End of file and read errors both end the reading; what was read stays.
        if (!file) {
            break;
        }
    }
    stream.Finish();
    start.loaded = true;
    return true;
}

}  // namespace veltrin
