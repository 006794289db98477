#pragma once
// Tick placement along an axis, label texts, and the tick steps chosen after a zoom.

#include <QString>

#include <vector>

namespace veltrin {

// Tick values of step `step` over [lo, hi]: starts at trunc(r9(lo / step)) * step,
// advances past lo (tolerance one epsilon below), and takes every r9(v) up to hi
// (tolerance 2.2e-15 above). `roundStart` false truncates lo / step directly, as
// the grid does. Empty when step <= 0.
std::vector<double> TickValues(double lo, double hi, double step, bool roundStart = true);

struct TickSteps {
    double major = 0.0;
    double minor = 0.0;
    bool operator==(const TickSteps&) const = default;
};

// Steps for an axis whose span is now `span` (sign ignored): p = 10^floor(log10 a),
// d = a / p; d > 2: (p, p/2); 1 < d <= 2: (p/2, p/10); else (p/10, p/20).
// A span below epsilon gives (0, 0).
TickSteps TickStepsForSpan(double span);

// Tick step, in seconds, of the time axis of a flight lasting `seconds`.
int TimeStepFor(int seconds);

// `value` printed with the printf format `format` (one double; %f %e %g %a and
// their upper-case forms, flags, width, precision), independent of the locale,
// with surrounding blanks removed. Used for measuring.
QString FormatLabelRaw(const QString& format, double value);
// The same after a magnitude below 1e-12 became 0, so "-0.0" never appears.
QString FormatLabel(const QString& format, double value);

}  // namespace veltrin
