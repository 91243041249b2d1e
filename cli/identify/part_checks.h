// Faults of a single part that show whatever its layout: blank, a stuck data line, or an
// image for a smaller chip.
#pragma once

#include "layouts.h"

#include <string>
#include <vector>

// One sentence per finding, without the part's name.
std::vector<std::string> checkPart(const Bytes& part);
