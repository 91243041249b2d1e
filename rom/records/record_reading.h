// What reading a text of records keeps from line to line, and the record readers of each
// format, which take one line each.
#pragma once

#include "record_pieces.h"

#include <string_view>

struct RecordReading {
    const RecordOptions& options;
    RecordImage& image;
    RecordPieces pieces;
    Bytes fields;                   // the line's bytes, its count to its checksum
    std::size_t endLine = 0;        // the end record's, once read
    std::size_t dataRecords = 0;
    std::uint64_t hexBase = 0;      // Intel HEX: the extended segment or linear address
    bool hexSegmented = false;
};

// Why a line is no well-formed record of its format with a right checksum, or "" with its
// bytes in `fields`.
std::string hexLineReason(std::string_view line, Bytes& fields);
std::string srecLineReason(std::string_view line, Bytes& fields);
// Takes a well-formed line `text`, whose bytes are in reading.fields; gives why it is
// refused, or "".
std::string takeHexRecord(RecordReading& reading, std::string_view text, std::size_t line);
std::string takeSrecRecord(RecordReading& reading, std::string_view text, std::size_t line);
