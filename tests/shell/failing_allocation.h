#pragma once
// Makes the allocation of one exact size fail while a scope lasts, so that
// tests can see how the program copes when memory runs out.

#include <cstddef>

namespace veltrin::test {

class FailingAllocation {
public:
    // Every `operator new` of exactly `bytes` bytes throws std::bad_alloc
    // until the object goes away.
    explicit FailingAllocation(std::size_t bytes);
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

    int Failures() const;  // allocations refused so far
};

}  // namespace veltrin::test
