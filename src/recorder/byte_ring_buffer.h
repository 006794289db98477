#pragma once
// Fixed-size byte queue between the USB exchanges and the link's readers and writers.

#include "recorder/recorder_constants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace veltrin {

// Ring of 256 one-byte elements. It counts as full at 255 bytes, so one
// element always stays unused. Every operation, queries included, takes the
// buffer's mutex.
class ByteRingBuffer {
public:
    static constexpr std::size_t kCapacity = recorder_constants::kRingCapacity;

    // Appends one byte; returns false (and drops it) when the buffer is full.
    bool Put(std::uint8_t byte);
    // Takes the oldest byte; returns false when the buffer is empty.
    bool Get(std::uint8_t& byte);

    bool IsFull() const;
    bool IsEmpty() const;
    std::size_t Count() const;
    // Number of bytes that can still be put before the buffer is full.
    std::size_t FreeSpace() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::array<std::uint8_t, kCapacity> elements_{};
    std::size_t readIndex_ = 0;
    std::size_t writeIndex_ = 0;
    std::size_t count_ = 0;
};

}  // namespace veltrin
