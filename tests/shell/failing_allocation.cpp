// The test program's replacement of the global operator new and delete.
#include "failing_allocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> failingSize{0};
std::atomic<int> failures{0};

}  // namespace

void* operator new(std::size_t bytes)
{
    const std::size_t failing = failingSize.load(std::memory_order_relaxed);
    if (failing != 0 && bytes == failing) {
        failures.fetch_add(1, std::memory_order_relaxed);
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(bytes == 0 ? 1 : bytes))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace veltrin::test {

FailingAllocation::FailingAllocation(std::size_t bytes)
{
    failures.store(0);
    failingSize.store(bytes);
}

FailingAllocation::~FailingAllocation()
{
    failingSize.store(0);
}

int FailingAllocation::Failures() const
{
    return failures.load();
}

}  // namespace veltrin::test
