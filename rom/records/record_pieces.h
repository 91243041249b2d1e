// The data records of a text as they come, placed into the image once all are read: the
// image's start may be the lowest address, known only at the end.
#pragma once

#include "record_image.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

struct RecordPieces {
    struct Piece {
        std::uint64_t address;
        std::size_t line, from, count;   // the bytes are data[from, from + count)
    };
    std::vector<Piece> pieces;
    Bytes data;
    std::uint64_t low = std::numeric_limits<std::uint64_t>::max(), high = 0;   // high: past the end
};

// Keeps a data record's `count` bytes from `from` of `fields`, or says why they are refused:
// below the base, or spanning more than the limit with the data before.
std::string addPiece(RecordPieces& pieces, std::uint64_t address, const Bytes& fields,
                     std::size_t from, std::size_t count, std::size_t line,
                     const RecordOptions& options);
// Fills `image` with the pieces over the fill byte, or sets its refusal for a piece that
// gives other bytes where an earlier one gave some.
void placePieces(const RecordPieces& pieces, const RecordOptions& options, RecordImage& image);
