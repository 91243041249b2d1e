// Motorola S-records: "S", the type, a count of the bytes after it, an address of 2, 3 or 4
// bytes, the data and a checksum, the complement of the low byte of the sum of the others.
// S1-S3 hold data, S5 and S6 count those records, S7-S9 give the start address and end;
// S0 is a header whose contents say nothing about the image.
#include "record_reading.h"

#include "record_lines.h"

#include <cstdio>

// The address bytes of each type; 0: no such type.
static const std::size_t kAddressSizes[] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

std::string srecLineReason(std::string_view line, Bytes& fields)
{
    if (line.size() < 2 || line[0] != 'S' || line[1] < '0' || line[1] > '9')
        return "not an S-record";
    int type = line[1] - '0';
    std::size_t addressSize = kAddressSizes[type];
    if (addressSize == 0)
        return "S4 is not a record type";
    if (!hexBytes(line.substr(2), fields) || fields.empty())
        return "malformed: not pairs of hex digits";
    if (fields[0] + 1u != fields.size())
        return "malformed: its count says " + std::to_string(fields[0]) + " bytes, it holds " +
               std::to_string(fields.size() - 1);
    bool data = type >= 1 && type <= 3;
    if (fields.size() < addressSize + 2 || (type != 0 && !data && fields.size() != addressSize + 2))
        return "malformed: an S" + std::to_string(type) + " record holds a " +
               std::to_string(addressSize) + "-byte address" + (data || type == 0 ? "" : " alone");
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i)
        sum += fields[i];
    if (unsigned((sum + fields.back()) & 0xFF) != 0xFF) {
        char text[64];
        std::snprintf(text, sizeof text, "wrong checksum 0x%02X, the record needs 0x%02X",
                      fields.back(), ~sum & 0xFF);
        return text;
    }
    return "";
}

std::string takeSrecRecord(RecordReading& reading, std::string_view text, std::size_t line)
{
    const Bytes& fields = reading.fields;
    int type = text[1] - '0';
    std::size_t addressSize = kAddressSizes[type];
    std::uint32_t address = bigEndian(fields, 1, addressSize);
    if (type >= 1 && type <= 3) {
        ++reading.dataRecords;
        return addPiece(reading.pieces, address, fields, 1 + addressSize,
                        fields.size() - addressSize - 2, line, reading.options);
    }
    if (type == 5 || type == 6) {
        std::size_t counted = reading.dataRecords & (type == 5 ? 0xFFFF : 0xFFFFFF);
        if (address != counted)
            return lineReason(line, "counts " + std::to_string(address) + " data records, not the " +
                                        std::to_string(reading.dataRecords) + " before it");
    } else if (type >= 7) {
        reading.image.entry = address;
        reading.endLine = line;
    }
    return "";
}
