// An image given as Intel HEX or Motorola S-records, read from the text in memory into the
// bytes it places, as split, verify, swap, merge and the page take it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

enum class RecordFormat { None, IntelHex, SRecord };

struct RecordOptions {
    std::optional<std::uint64_t> base;   // the address of the image's first byte; else the lowest
    unsigned char fill = 0xFF;           // what gaps and the start up to the first record hold
    std::size_t limit = 0;               // the most bytes the addresses may span
};

struct RecordImage {
    RecordFormat format = RecordFormat::None;
    Bytes bytes;
    std::uint64_t start = 0;             // the address of bytes[0]
    std::size_t filled = 0;              // bytes no record gave
    unsigned char fill = 0xFF;
    std::optional<std::uint32_t> entry;  // the start-address record's address
    bool segmentedEntry = false;         // Intel HEX's CS:IP, entry holding CS << 16 | IP
    std::string refusal;                 // "line N: why", or "" when read
};

// Which records a text holds, judged from its first line alone: one well-formed record
// with a right checksum. Anything else is raw bytes.
RecordFormat recordFormat(const unsigned char* text, std::size_t count);
// The image of a text of records of that format.
RecordImage readRecords(const unsigned char* text, std::size_t count, RecordFormat format,
                        const RecordOptions& options);
