// Feeds arbitrary bytes to the start file reader as a whole file, and again
// in blocks whose size the input chooses: block boundaries must not change
// what is read.
#include "data/start_data_stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::size_t blockSize = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    veltrin::StartRecord whole;
    whole.startTime = 1345991702;
    veltrin::LoadStartDataFromBytes(whole, bytes);

    veltrin::StartRecord blocks;
    blocks.startTime = whole.startTime;
    {
        veltrin::StartDataStream stream(blocks);
        for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
            stream.Feed(bytes.substr(at, blockSize));
        }
        stream.Finish();
    }
    if (whole.samples.size() != blocks.samples.size() ||
        whole.fixes.size() != blocks.fixes.size() || whole.landingTime != blocks.landingTime) {
        std::abort();
    }
    for (std::size_t i = 0; i < whole.samples.size(); ++i) {
        const veltrin::Sample& a = whole.samples[i];
        const veltrin::Sample& b = blocks.samples[i];
        if (a.timeMs != b.timeMs || a.eventMark != b.eventMark ||
            std::memcmp(&a.accZ, &b.accZ, sizeof a.accZ) != 0 ||
            std::memcmp(&a.ias, &b.ias, sizeof a.ias) != 0 ||
            std::memcmp(&a.altitude, &b.altitude, sizeof a.altitude) != 0) {
            std::abort();
        }
    }
    return 0;
}
