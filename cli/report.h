// What -v prints for each file written: its checksums and, for a part, its socket.
#pragma once

#include "arguments.h"
#include "rom_files.h"

#include <ostream>
#include <string>
#include <vector>

// "PATH: SIZE bytes, crc32 ..., sha1 ..., sum16 ..., sum32 ...", of the bytes a file holds,
// or, for one written as records, of the bytes they hold.
std::string fileLine(const std::string& path, const Bytes& bytes, PartFormat format);
// Which units of the image part k holds and which data lines it drives on either bus.
std::string partLine(const Request& request, int k);
// The image's own checksum, where it carries a known one: -v's line, added to `notes`; a
// wrong one without -v is warned of on `err`, and is no refusal.
void imageChecksumNotes(const std::string& path, const Bytes& image, bool verbose,
                        std::vector<std::string>& notes, std::ostream& err);
