// Reading the inputs, checked before use, and writing the outputs whole or not at all.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct Output {
    std::string path;
    Bytes bytes;
};

// A whole file of 1 to `limit` bytes; `limitName` tells the user whose limit it is.
Bytes readWholeFile(const std::string& path, std::size_t limit, const std::string& limitName);
// The first `count` bytes of a file that must hold at least that many; part 1 set the count.
Bytes readLaterPart(const std::string& path, std::size_t count, std::ostream& err);
void writeOutputs(const std::vector<Output>& outputs);
