// The rules the inputs' sizes must keep, worded for the user; each gives "" when the size
// keeps them. Files and the page's picked files are judged alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A refusal of a file that is read or written, as every command words it.
std::string cannotRead(const std::string& path, const std::string& reason);
std::string cannotWrite(const std::string& path, const std::string& reason);
// An image, or part 1 of a merge: 1 to `limit` bytes; `limitName` says whose limit it is.
std::string wholeFileReason(std::uint64_t size, std::size_t limit, const std::string& limitName);
// A part of `parts` read as part 1 of a merge or of identify.
std::string firstPartReason(std::uint64_t size, std::size_t parts);
std::string wholeWordsReason(std::uint64_t size);
// A later part, which must hold at least part 1's `count` bytes.
std::string laterPartReason(std::uint64_t size, std::size_t count);
// A file that gave fewer than the `count` bytes it was read for.
std::string shortReadReason(std::size_t count);
// A board's chip file, which must hold at least its `share` of the image.
std::string chipFileReason(std::uint64_t size, std::size_t share);
std::string longerChipNote(std::uint64_t size, std::size_t share);
// What is said of a later part longer than part 1, after its name.
std::string longerPartNote(std::uint64_t size, std::size_t count);
