#pragma once
// Texts the main frame writes into its status bar's message pane.

#include "data/recording.h"

#include <string>

namespace veltrin {

// The marker read-out: time in seconds, vertical load, air speed, altitude.
// Formatted the same under every locale.
std::string MarkerText(double seconds, double accZ, double ias, double altitude);

// The start the graphs show, for the status bar's pane that names it:
// "18.07.2025 11:13:26 – 11:19:56" (UTC), without the landing while none is known.
std::string ShownStartText(const StartRecord& start);

}  // namespace veltrin
