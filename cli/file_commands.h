// The command-line program's split, merge and swap, over files of up to 64 MiB.
#pragma once

#include "arguments.h"

#include <ostream>

void splitFiles(const Request& request, std::ostream& out);
void mergeFiles(const Request& request, std::ostream& out, std::ostream& err);
void swapFile(const Request& request, std::ostream& out);
