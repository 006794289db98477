#pragma once
// One-pass reading of the everyday data line of a start file: "$VLTDR" with
// nine plain decimal fields ("39.960", "-0.02", "1299") and its checksum.
// The file reader tries it first and leaves every other line to ParseSentence.

#include "data/sentence.h"

#include <string_view>

namespace veltrin {

// Reads `line` when it is "$VLTDR," (any letter case) followed by exactly
// nine fields, each an optional sign, digits and at most one point, the last
// one ended by "*" and two upper-case hex digits that match the checksum.
// Returns true with `out` set exactly as ParseSentence sets the data fields
// of that line. Returns false, leaving `out` unspecified, for any other line,
// for a checksum that does not match, and for numbers this reading does not
// convert: more than eight digits on either side of the point, a point in
// the altitude or flags, more digits than a single-precision value holds
// exactly (above 16777216 without the point). ParseSentence then decides.
bool ReadPlainSampleLine(std::string_view line, DrFields& out);

}  // namespace veltrin
