#pragma once
// The parity and stop-bit settings of a serial line, with the codes the port
// settings have always carried.

namespace veltrin {

enum class Parity : int {
    None = 0,
    Mark = 1,
    Even = 2,
    Odd = 3,
    Space = 4,
};

enum class StopBits : int {
    One = 1,
    Two = 2,
    OneAndHalf = 3,
};

}  // namespace veltrin
