#pragma once
// A generated card of flights of realistic length for the analysis
// benchmarks, made once per run in a temporary folder and removed at exit.

#include "analysis/start_summary.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrin::bench {

struct RealisticCard {
    std::vector<StartFile> files;  // in time order
    std::uint64_t bytes = 0;       // of all data files
    std::size_t longest = 0;       // index of the largest file
};

// 1,000 starts of 20 to 90 minutes at 10 to 25 samples per second, ten a day,
// as the simulator writes them; VELTRIN_BENCH_STARTS sets another number.
// Fifty flights are simulated and copied round, which keeps making the card
// short; every copy is a file of its own.
const RealisticCard& ThousandStartCard();

// The limits the simulated recorder flags against.
AircraftLimits RecorderLimits();

}  // namespace veltrin::bench
