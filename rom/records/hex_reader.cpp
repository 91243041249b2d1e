// Intel HEX records: ":", a count of data bytes, a 16-bit offset, a type, the data and a
// checksum that makes the bytes sum to 0. Types 02 and 04 set the address the offsets
// count from (a segment, times 16, or the upper 16 bits); 03 and 05 give the start address.
#include "record_reading.h"

#include "record_lines.h"

#include <algorithm>
#include <cstdio>

std::string hexLineReason(std::string_view line, Bytes& fields)
{
    if (line.empty() || line[0] != ':')
        return "not an Intel HEX record";
    if (!hexBytes(line.substr(1), fields))
        return "malformed: not pairs of hex digits";
    if (fields.size() < 5)
        return "malformed: too short for a record";
    if (fields[0] + 5u != fields.size())
        return "malformed: its count says " + std::to_string(fields[0]) + " data bytes, it holds " +
               std::to_string(fields.size() - 5);
    unsigned sum = 0;
    for (unsigned char byte : fields)
        sum += byte;
    char text[96];
    if (sum % 256 != 0) {
        std::snprintf(text, sizeof text, "wrong checksum 0x%02X, the record needs 0x%02X",
                      fields.back(), (fields.back() - sum) & 0xFF);
        return text;
    }
    unsigned type = fields[3];
    static const int kCounts[] = {-1, 0, 2, 4, 2, 4};   // -1: any
    if (type > 5) {
        std::snprintf(text, sizeof text, "record type %02X is not one of 00 to 05", type);
        return text;
    }
    if (kCounts[type] >= 0 && fields[0] != kCounts[type]) {
        std::snprintf(text, sizeof text, "malformed: a type %02X record holds %d data bytes, not %u",
                      type, kCounts[type], unsigned(fields[0]));
        return text;
    }
    return "";
}

// A data record under a segment wraps within its 64 KiB, as the 8086 addresses it.
std::string takeHexRecord(RecordReading& reading, std::string_view, std::size_t line)
{
    const Bytes& fields = reading.fields;
    std::uint32_t offset = bigEndian(fields, 1, 2);
    std::size_t count = fields[0];
    switch (fields[3]) {
    case 0: {
        ++reading.dataRecords;
        std::size_t first = reading.hexSegmented ? std::min<std::size_t>(count, 0x10000 - offset) : count;
        std::string reason = addPiece(reading.pieces, reading.hexBase + offset, fields, 4, first,
                                      line, reading.options);
        if (reason.empty() && first < count)
            reason = addPiece(reading.pieces, reading.hexBase, fields, 4 + first, count - first,
                              line, reading.options);
        return reason;
    }
    case 1:
        reading.endLine = line;
        return "";
    case 2:
    case 4:
        reading.hexSegmented = fields[3] == 2;
        reading.hexBase = std::uint64_t(bigEndian(fields, 4, 2)) << (reading.hexSegmented ? 4 : 16);
        return "";
    default:
        reading.image.entry = bigEndian(fields, 4, 4);
        reading.image.segmentedEntry = fields[3] == 3;
        return "";
    }
}
