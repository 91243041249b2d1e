// The lines kestrum-cli verify prints for one dump, as text, so the page shows each dump in
// the command's own words and order.
#pragma once

#include "dump_findings.h"
#include "part_images.h"

#include <string>
#include <vector>

// The dump's line, its socket's line when `verbose`, then, indented, its first differing
// bytes and its findings; each line without its end of line.
std::vector<std::string> verifyLines(const DumpReport& report, const std::string& name,
                                     const PartShape& shape, bool verbose);
// The same against a socket named as given ("bank 2 lane 1"), without the socket's line, with
// image offsets counted from `imageBase`: a dump of one of a board's banks.
std::vector<std::string> verifyLines(const DumpReport& report, const std::string& name, const std::string& socket,
                                     std::size_t imageBase);
