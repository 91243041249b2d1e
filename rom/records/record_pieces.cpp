// The data records of a text as they come, placed into the image once all are read.
#include "record_pieces.h"

#include "record_lines.h"

#include <algorithm>

std::string addPiece(RecordPieces& pieces, std::uint64_t address, const Bytes& fields,
                     std::size_t from, std::size_t count, std::size_t line,
                     const RecordOptions& options)
{
    if (count == 0)
        return "";
    if (options.base && address < *options.base)
        return lineReason(line, "data at " + hexAddress(address) + ", below the base " +
                                    hexAddress(*options.base));
    std::uint64_t start = options.base ? *options.base : std::min(pieces.low, address);
    std::uint64_t end = std::max(pieces.high, address + count);
    if (end - start > options.limit)
        return lineReason(line, "the addresses span " + hexAddress(start) + "-" +
                                    hexAddress(end - 1) + ", more than the " +
                                    std::to_string(options.limit / 0x100000) + " MiB limit");
    pieces.low = std::min(pieces.low, address);
    pieces.high = end;
    pieces.pieces.push_back({address, line, pieces.data.size(), count});
    pieces.data.insert(pieces.data.end(), fields.begin() + std::ptrdiff_t(from),
                       fields.begin() + std::ptrdiff_t(from + count));
    return "";
}

// In the order of the text, so a clash is reported at the later of the two lines.
void placePieces(const RecordPieces& pieces, const RecordOptions& options, RecordImage& image)
{
    image.start = options.base ? *options.base : pieces.low;
    std::size_t size = std::size_t(pieces.high - image.start);
    image.bytes.assign(size, options.fill);
    image.fill = options.fill;
    std::vector<bool> given(size);
    std::size_t placed = 0;
    for (const RecordPieces::Piece& piece : pieces.pieces) {
        std::size_t at = std::size_t(piece.address - image.start);
        for (std::size_t i = 0; i < piece.count; ++i) {
            unsigned char byte = pieces.data[piece.from + i];
            if (given[at + i] && image.bytes[at + i] != byte) {
                image.refusal = lineReason(piece.line, "overlaps earlier data at " +
                                                           hexAddress(piece.address + i) +
                                                           " with other bytes");
                image.bytes.clear();
                return;
            }
            placed += given[at + i] ? 0 : 1;
            given[at + i] = true;
            image.bytes[at + i] = byte;
        }
    }
    image.filled = size - placed;
}
