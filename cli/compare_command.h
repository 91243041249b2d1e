// kestrum-cli compare: several reads of one chip, with no image, checked against each other.
#pragma once

#include "arguments.h"

#include <ostream>

// Prints "identical: ..." and returns 0, or "differ: ..." and what differs and returns 4.
// With --majority writes the byte-wise majority, or refuses naming the offsets with none,
// after printing the report; throws FileRefusal.
int compareFiles(const Request& request, std::ostream& out);
