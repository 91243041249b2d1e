// kestrum-cli verify: which dumped chip differs from the part `split` makes for its socket,
// and why.
#pragma once

#include "arguments.h"

#include <ostream>

constexpr int kDiffers = 4;   // the exit status when any dump differs

// Prints one line per dump and, below one that differs, where and the findings. Returns 0
// or kDiffers; throws FileRefusal before printing anything.
int verifyFiles(const Request& request, std::ostream& out);
