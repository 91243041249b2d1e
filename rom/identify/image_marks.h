// Marks that hold only in the right layout: headers and vectors at fixed places of the
// image, and readable text.
#pragma once

#include "layouts.h"

#include <string>
#include <vector>

// What the start and end of the image this layout makes hold, or "" for nothing known.
std::string findHeader(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout);
// The runs of readable characters, 8-bit or 16-bit, that spell out the most common words,
// quoted and cut short, most first; runs without such a word are left out.
std::vector<std::string> wordyStrings(const Bytes& image, std::size_t count);
