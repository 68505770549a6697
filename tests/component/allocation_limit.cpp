#include "tests/component/allocation_limit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> g_limit{SIZE_MAX};
}  // namespace

ScopedAllocationLimit::ScopedAllocationLimit(size_t limit)
{
    g_limit = limit;
}

ScopedAllocationLimit::~ScopedAllocationLimit()
{
    g_limit = SIZE_MAX;
}

// Replaces the runtime's nothrow array allocation for the whole test
// program; the runtime's operator delete[] frees what malloc gave.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (size >= g_limit) return nullptr;
    return std::malloc(size ? size : 1);
}
