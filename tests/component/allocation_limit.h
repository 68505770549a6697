#pragma once
#include <cstddef>

// While one lives, the program's `new (std::nothrow) T[n]` fails for blocks
// of `limit` bytes and more: a memo too large for memory on any address
// space, 32-bit or 64-bit.
class ScopedAllocationLimit {
public:
    explicit ScopedAllocationLimit(size_t limit);
    ~ScopedAllocationLimit();
    ScopedAllocationLimit(const ScopedAllocationLimit&) = delete;
    ScopedAllocationLimit& operator=(const ScopedAllocationLimit&) = delete;
};
