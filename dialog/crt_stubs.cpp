// memset and memcpy for a program without the C runtime: the compiler emits calls to
// them for block clears and copies. Built with -fno-builtin and without loop pattern
// recognition, so these loops are not turned back into calls to themselves.
#include <cstddef>

extern "C" __attribute__((section(".text.memset"))) void* memset(void* destination, int value,
                                                                  std::size_t count)
{
    unsigned char* to = static_cast<unsigned char*>(destination);
    while (count--)
        *to++ = static_cast<unsigned char>(value);
    return destination;
}

extern "C" __attribute__((section(".text.memcpy"))) void* memcpy(void* destination,
                                                                  const void* source,
                                                                  std::size_t count)
{
    unsigned char* to = static_cast<unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    while (count--)
        *to++ = *from++;
    return destination;
}
