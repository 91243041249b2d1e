// The command-line program's split, merge and swap, over files of up to 64 MiB.
#pragma once

#include "arguments.h"
#include "rom_files.h"

#include <ostream>
#include <string>
#include <vector>

// The image split, verify and swap read, raw or records; what -v says of records, as
// "PATH: ...", is added to `notes`.
Bytes readImageOf(const Request& request, const std::string& path, std::vector<std::string>& notes);
void splitFiles(const Request& request, std::ostream& out, std::ostream& err);
void mergeFiles(const Request& request, std::ostream& out, std::ostream& err);
void swapFile(const Request& request, std::ostream& out);
