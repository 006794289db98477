#pragma once
// Reading and showing the recorder's limits in the wizard's number fields,
// independent of the process locale.

#include <optional>
#include <string>
#include <string_view>

namespace veltrin {

// The number a limit field's text begins with, after leading blanks; a
// decimal comma counts as a point ("-3,5" is -3.5). Text that does not begin
// with a finite number reads as 0.
double ParseLimit(std::string_view text);

// A limit field's value when its whole text, blanks around it aside, is a
// decimal number: an optional sign, digits and at most one decimal point or
// comma, at least one digit. nullopt for anything else ("", "abc", "5..5",
// "5g", "1e3"). The value is the one ParseLimit reads.
std::optional<double> ParseLimitField(std::string_view text);

// `value` as the recorder receives it, rounded to `decimals` digits after the
// point as the command writes it (0.04 with one digit is 0).
double LimitAsSent(double value, int decimals);

// `value` with `decimals` digits after the point ("%0.*f").
std::string FormatLimit(double value, int decimals);

}  // namespace veltrin
