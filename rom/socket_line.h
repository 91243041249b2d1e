// Which units of the image a part holds and which data lines it drives on either bus: the
// line -v prints under each part, and the page beside it.
#pragma once

#include "part_images.h"

#include <string>

std::string socketLine(const PartShape& shape, int k);
