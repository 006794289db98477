#pragma once
// Reads a start's data file into its samples and fixes, once.

#include "data/recording.h"
#include "data/start_data_stream.h"

#include <system_error>

namespace veltrin {

// Why a start's file was not read.
enum class StartReadError {
    None,
    CannotOpen,      // the file cannot be opened; `reason` says why
    NotRegularFile,  // a folder, a named pipe or a device stands where the file was
};

struct StartReadResult {
    StartReadError error = StartReadError::None;
    std::error_code reason;  // the system's reason for CannotOpen
    bool Ok() const { return error == StartReadError::None; }
};

// Reads the start's file unless it is loaded already. The file is opened
// without waiting and read only when the opened file is a regular file, so a
// named pipe or device that replaced a data file never blocks. On failure the
// start stays unloaded and empty and a later call tries again.
StartReadResult ReadStartData(StartRecord& start);

// ReadStartData, reading as `options` say. A start read without keeping its
// samples is left unloaded; an already loaded start is not read again and the
// observer sees nothing.
StartReadResult ReadStartData(StartRecord& start, const StartReadOptions& options);

// ReadStartData, reduced to whether the start is loaded (now or before).
bool LoadStartData(StartRecord& start);

}  // namespace veltrin
