// What -v prints for each file written: its checksums and, for a part, its socket.
#pragma once

#include "arguments.h"
#include "rom_files.h"

#include <string>

std::string fileLine(const Output& output);
// Which units of the image part k holds and which data lines it drives on either bus.
std::string partLine(const Request& request, int k);
