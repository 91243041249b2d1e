// Reading the inputs, checked before use, and writing the outputs whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct Output {
    std::string path;
    Bytes bytes;
};

// How inputs given as Intel HEX or S-records are read.
struct RecordsIn {
    bool binary = false;                  // never: every input is raw bytes
    std::optional<std::uint64_t> base;    // the first address; else an image's lowest, a part's 0
    unsigned char fill = 0xFF;
};

// An image of raw bytes, 1 to `limit` of them, or of records spanning at most that many;
// `note` gets what -v says of records, and stays "" for raw bytes.
Bytes readImage(const std::string& path, const RecordsIn& in, std::size_t limit, std::string& note);
// A whole file of 1 to `limit` bytes; `limitName` tells the user whose limit it is.
Bytes readWholeFile(const std::string& path, std::size_t limit, const std::string& limitName);
// A file of 0 to `limit` bytes: a dump that read nothing is still a dump.
Bytes readPossiblyEmpty(const std::string& path, std::size_t limit);
// Refuses a file of `size` bytes that does not hold whole 16-bit words.
void checkWholeWords(const std::string& path, std::size_t size);
// The parts of a merge, raw or records. Part 1 is read whole, within the limit for that many
// parts and of whole units of `width` bytes, and sets the size; of every later part that
// many bytes. `records` counts the parts read as records.
std::vector<Bytes> readParts(const std::vector<std::string>& paths, int width, const RecordsIn& in,
                             std::ostream& err, int& records);
// The first `share` bytes of a board's chip file, which must hold that many; one longer than
// the chip's `size` is noted on `err`.
Bytes readChip(const std::string& path, std::size_t share, std::size_t size, std::ostream& err);
// The folder the chips' files go in, made if it is missing.
void makeOutputFolder(const std::string& path);
void writeOutputs(const std::vector<Output>& outputs);
