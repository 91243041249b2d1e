// Marks that hold only in the right layout: headers and vectors at fixed places of the
// image, and readable text.
#pragma once

#include "layouts.h"

#include <string>
#include <vector>

// What the start and end of the image this layout makes hold, or "" for nothing known.
std::string findHeader(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout);
// The longest runs of readable characters, quoted and cut short, longest first.
std::vector<std::string> longestStrings(const Bytes& image, std::size_t count);
