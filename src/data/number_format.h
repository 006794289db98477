#pragma once
// printf-style number formatting that never depends on the process locale.
// Results equal those of "%*.*f" and "%*d" in the C locale.

#include <cstddef>
#include <string>

namespace veltrin {

// Writes `value` like printf("%*.*f", width, precision, value) into
// [first, last) and returns the end; returns `first` when it does not fit.
char* FormatFixed(char* first, char* last, double value, int precision, int width = 0);

// Writes `value` like printf("%0*d" or "%*d") into [first, last); `zeroPad`
// pads with zeros instead of blanks. Returns the end, or `first` when it does not fit.
char* FormatInt(char* first, char* last, long long value, int width = 0, bool zeroPad = false);

// Convenience forms that append to a string.
void AppendFixed(std::string& out, double value, int precision, int width = 0);
void AppendInt(std::string& out, long long value, int width = 0, bool zeroPad = false);

}  // namespace veltrin
