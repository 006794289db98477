#include "export/output_buffer.h"

#include <algorithm>
#include <cerrno>

namespace veltrin {

OutputBuffer::OutputBuffer(std::size_t capacity)
    : buffer_(std::make_unique<char[]>(std::max<std::size_t>(capacity, 1))),
      capacity_(std::max<std::size_t>(capacity, 1))
{
}

OutputBuffer::~OutputBuffer() = default;

bool OutputBuffer::Flush()
{
    if (used_ > 0) {
        DeliverChecked(buffer_.get(), used_);
        used_ = 0;
    }
    return !failed_;
}

void OutputBuffer::Reset()
{
    used_ = 0;
    delivered_ = 0;
    faultLimit_ = kNoFault;
    failed_ = false;
    errorNumber_ = 0;
}

void OutputBuffer::WriteThrough(const char* data, std::size_t size)
{
    Flush();
    if (size >= capacity_) {
        DeliverChecked(data, size);
    } else {
        std::memcpy(buffer_.get(), data, size);
        used_ = size;
    }
}

void OutputBuffer::DeliverChecked(const char* data, std::size_t size)
{
    if (failed_)
        return;
    std::size_t allowed = size;
    bool fault = false;
    if (faultLimit_ != kNoFault && delivered_ + size > faultLimit_) {
        allowed = faultLimit_ > delivered_ ? faultLimit_ - delivered_ : 0;
        fault = true;
    }
    if (allowed > 0 && !Deliver(data, allowed)) {
        failed_ = true;
        errorNumber_ = errno != 0 ? errno : EIO;
        return;
    }
    delivered_ += allowed;
    if (fault) {
        failed_ = true;
        errorNumber_ = ENOSPC;
    }
}

StringOutput::~StringOutput() = default;

const std::string& StringOutput::Text()
{
    Flush();
    return text_;
}

void StringOutput::Clear()
{
    Flush();
    text_.clear();
}

bool StringOutput::Deliver(const char* data, std::size_t size)
{
    text_.append(data, size);
    return true;
}

}  // namespace veltrin
