#include "recorder/byte_ring_buffer.h"

namespace veltrin {

namespace {
constexpr std::size_t kMaxHeld = ByteRingBuffer::kCapacity - 1;
}

bool ByteRingBuffer::Put(std::uint8_t byte)
{
    const std::lock_guard lock(mutex_);
    if (count_ >= kMaxHeld)
        return false;
    elements_[writeIndex_] = byte;
    writeIndex_ = (writeIndex_ + 1) % kCapacity;
    ++count_;
    return true;
}

bool ByteRingBuffer::Get(std::uint8_t& byte)
{
    const std::lock_guard lock(mutex_);
    if (count_ == 0)
        return false;
    byte = elements_[readIndex_];
    readIndex_ = (readIndex_ + 1) % kCapacity;
    --count_;
    return true;
}

bool ByteRingBuffer::IsFull() const
{
    const std::lock_guard lock(mutex_);
    return count_ >= kMaxHeld;
}

bool ByteRingBuffer::IsEmpty() const
{
    const std::lock_guard lock(mutex_);
    return count_ == 0;
}

std::size_t ByteRingBuffer::Count() const
{
    const std::lock_guard lock(mutex_);
    return count_;
}

std::size_t ByteRingBuffer::FreeSpace() const
{
    const std::lock_guard lock(mutex_);
    return kMaxHeld - count_;
}

void ByteRingBuffer::Clear()
{
    const std::lock_guard lock(mutex_);
    readIndex_ = 0;
    writeIndex_ = 0;
    count_ = 0;
}

}  // namespace veltrin
