// The parts a command line asks for: its count, lanes, swap and fill.
#pragma once

#include "arguments.h"
#include "part_images.h"

PartShape partShape(const Request& request);
