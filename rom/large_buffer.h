// Buffers of many MiB, filled once: the images, parts and dumps of the commands.
#pragma once

#include <cstddef>
#include <vector>

using Bytes = std::vector<unsigned char>;

// `size` zero bytes. On Linux their pages may be huge ones: first touching 200 MiB of fresh
// 4 KiB pages costs more than the work done on them, a fault each, under a virtual machine
// most of all.
Bytes largeBuffer(std::size_t size);
