#pragma once
// Recorder times as the graphs' time axis reads them: seconds between two
// time stamps, the difference taken in 64 bits.

#include <cstdint>

namespace veltrin {

// Seconds from `fromMs` to `toMs`; negative when `toMs` is earlier.
constexpr double SecondsBetween(std::int64_t fromMs, std::int64_t toMs)
{
    return static_cast<double>(toMs - fromMs) / 1000.0;
}

}  // namespace veltrin
