#pragma once
// Reading and showing the recorder's limits in the wizard's number fields,
// independent of the process locale.

#include <string>
#include <string_view>

namespace veltrin {

// The number a limit field's text begins with, after leading blanks; a
// decimal comma counts as a point ("-3,5" is -3.5). Text that does not begin
// with a finite number reads as 0.
double ParseLimit(std::string_view text);

// `value` with `decimals` digits after the point ("%0.*f").
std::string FormatLimit(double value, int decimals);

}  // namespace veltrin
