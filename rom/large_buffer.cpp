// The buffer is reserved before it is written, so the advice comes before the first fault.
#include "large_buffer.h"

#include <cstdint>

#if defined(__linux__) && !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#endif

Bytes largeBuffer(std::size_t size)
{
    Bytes bytes;
    bytes.reserve(size);
#if defined(__linux__) && !defined(__EMSCRIPTEN__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kPage = 0x1000;
    std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(bytes.data()) + kPage - 1) & ~(kPage - 1);
    std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(bytes.data()) + size) & ~(kPage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);   // advice only
#endif
    bytes.resize(size);
    return bytes;
}
