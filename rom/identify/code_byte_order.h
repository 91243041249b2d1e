// What tells code from its byte-swapped twin where its instruction words cannot: SuperH code
// takes the offsets of its calls (bsrf, braf) and their targets (jsr) from 32-bit literals,
// which read as small numbers in the byte order the code was built for, and with their
// 16-bit halves exchanged in the other.
#pragma once

#include "code_structure.h"

// For SuperH in each byte order, the calls whose literal reads as a small offset or address.
std::vector<StructureCount> countByteOrderMarks(const Bytes& image);
