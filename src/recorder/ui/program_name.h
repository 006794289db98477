#pragma once
// The program's name: the caption of every message box it shows and the
// application name of its settings, shared by the shell and the recorder dialogs.

namespace veltrin {

inline constexpr const char* kProgramName = "Veltrin View";

}  // namespace veltrin
