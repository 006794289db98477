#pragma once
// Fast fixed-point formatting for the short precisions of the CSV columns.

namespace veltrin {

// Writes `value` like printf("%*.*f", width, precision, value) into
// [first, last), with the same text as FormatFixed, and returns the end;
// returns `first` when it does not fit. Precisions 0 to 3 of values below
// 1e15 are converted here exactly in integer arithmetic; anything else is
// passed to FormatFixed.
char* FormatShortFixed(char* first, char* last, double value, int precision, int width);

}  // namespace veltrin
