#pragma once
// A large write buffer in front of a destination, so that writers can put out
// many short lines without a system call or a heap allocation per line.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace veltrin {

class OutputBuffer {
public:
    static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 20;
    static constexpr std::size_t kNoFault = static_cast<std::size_t>(-1);

    explicit OutputBuffer(std::size_t capacity = kDefaultCapacity);
    virtual ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void Write(const char* data, std::size_t size)
    {
        if (size <= capacity_ - used_) {
            std::memcpy(buffer_.get() + used_, data, size);
            used_ += size;
        } else {
            WriteThrough(data, size);
        }
    }
    void Write(std::string_view text) { Write(text.data(), text.size()); }

    // Hands the buffered bytes to the destination. Returns false when this
    // or any earlier delivery failed; bytes after a failure are dropped.
    bool Flush();

    int ErrorNumber() const { return errorNumber_; }  // errno of the first failure, else 0

    // Simulates a full disk for tests: the destination takes `bytes` more
    // bytes in total and then fails.
    void FailWritesAfter(std::size_t bytes) { faultLimit_ = delivered_ + bytes; }

protected:
    // Writes [data, data + size) to the destination; false on failure with
    // errno set.
    virtual bool Deliver(const char* data, std::size_t size) = 0;

    // Forgets buffered bytes, failure and fault limit (for reuse after a close).
    void Reset();

private:
    void WriteThrough(const char* data, std::size_t size);
    void DeliverChecked(const char* data, std::size_t size);

    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    std::size_t delivered_ = 0;
    std::size_t faultLimit_ = kNoFault;
    bool failed_ = false;
    int errorNumber_ = 0;
};

// Collects everything written in a string (tests, measurements).
class StringOutput final : public OutputBuffer {
public:
    explicit StringOutput(std::size_t capacity = 4096) : OutputBuffer(capacity) {}
    ~StringOutput() override;
    const std::string& Text();  // flushes first
    void Clear();

protected:
    bool Deliver(const char* data, std::size_t size) override;

private:
    std::string text_;
};

}  // namespace veltrin
