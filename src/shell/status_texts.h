#pragma once
// Texts the main frame writes into its status bar's message pane.

#include <string>

namespace veltrin {

// The marker read-out: time in seconds, vertical load, air speed, altitude.
// Formatted the same under every locale.
std::string MarkerText(double seconds, double accZ, double ias, double altitude);

}  // namespace veltrin
