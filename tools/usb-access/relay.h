#pragma once
// The helper's work once the node is checked: one reply frame for every
// command frame, until the input ends.

#include "recorder/drive_access.h"
#include "recorder/usb_access_frame.h"

namespace veltrin::usb_access {

enum class RelayEnd {
    InputClosed,   // the input ended between two frames
    BrokenFrame,   // the input ended inside a frame
    InputFailed,   // reading failed
    OutputFailed,  // writing a reply failed
};

// Sends an allowed command to the device and returns its reply; every other
// command is refused without reaching the device.
Reply AnswerCommand(const CommandFrame& command, ScsiDevice& device);

// Reads command frames from `input` and writes the replies to `output`.
RelayEnd RelayExchanges(int input, int output, ScsiDevice& device);

}  // namespace veltrin::usb_access
