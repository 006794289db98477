#pragma once
// Checksum framing and the single entry point that turns a line into a Sentence.

#include "data/sentence.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrin {

// Exclusive-or of all characters of `text` as 8-bit values; 0 for empty text.
std::uint8_t ComputeChecksum(std::string_view text);

// Appends "*hh" (upper-case hex) computed over everything after the first
// character of `sentence`, which must not carry a "*" yet.
void AppendChecksum(std::string& sentence);

// True when the line carries "*" followed by the two upper-case hex digits of
// its checksum. Leading CR, LF, blanks and tabs are skipped before the start
// character; the checksum covers what lies between it and the first "*".
// Lower-case digits and a line ending right after "*" fail.
bool VerifyChecksum(std::string_view line);

// Parses one line (without its line end; it ends at the first NUL if any).
// Returns false with a cleared, kind-None record when the checksum test fails;
// otherwise true, with the kind and fields set for a known identifier or kind
// None for any other.
bool ParseSentence(Sentence& out, std::string_view line);

}  // namespace veltrin
