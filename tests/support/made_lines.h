#pragma once
// Data file lines made for tests: a "$VLTDR" sample and a "$VLTLD" landing,
// framed with their checksums as the recorder writes them.

#include "data/number_format.h"
#include "support/framed_sentence.h"

#include <string>

namespace veltrin::test {

// A sample at `seconds` recorder time with the given vertical load, air
// speed, altitude and flags; the other fields fixed.
inline std::string SampleLine(double seconds, double accZ, double ias, int altitude, int flags = 0)
{
    const auto field = [](std::string& line, double value, int precision) {
        line += ',';
        AppendFixed(line, value, precision);
    };
    std::string line = "$VLTDR";
    field(line, seconds, 3);
    line += ",0.10,-0.02";
    field(line, accZ, 2);
    field(line, ias, 1);
    line += ",0.0,0.0,";
    AppendInt(line, altitude);
    line += ',';
    AppendInt(line, flags);
    return Framed(line);
}

// A landing at `seconds` recorder time with the time of day `hhmmss`.
inline std::string LandingLine(double seconds, int hhmmss)
{
    std::string line = "$VLTLD,";
    AppendFixed(line, seconds, 3);
    line += ",0,";
    AppendInt(line, hhmmss);
    return Framed(line);
}

}  // namespace veltrin::test
