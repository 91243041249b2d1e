// An image given as Intel HEX or Motorola S-records: the lines read in order, each record
// checked whole before it counts, the data placed once every line is read.
#include "record_image.h"

#include "record_lines.h"
#include "record_reading.h"

RecordFormat recordFormat(const unsigned char* text, std::size_t count)
{
    std::size_t at = 0;
    std::string_view line = nextLine(text, count, at);
    Bytes fields;
    if (!line.empty() && line[0] == ':' && hexLineReason(line, fields).empty())
        return RecordFormat::IntelHex;
    if (!line.empty() && line[0] == 'S' && srecLineReason(line, fields).empty())
        return RecordFormat::SRecord;
    return RecordFormat::None;
}

// Blank lines, and a DOS end-of-file mark, carry nothing.
static bool blank(std::string_view line)
{
    return line.empty() || line == "\x1A";
}

static std::string readLines(RecordReading& reading, const unsigned char* text, std::size_t count,
                             RecordFormat format)
{
    bool hex = format == RecordFormat::IntelHex;
    std::size_t line = 0;
    for (std::size_t at = 0; at < count;) {
        std::string_view record = nextLine(text, count, at);
        ++line;
        if (blank(record))
            continue;
        if (reading.endLine != 0)
            return lineReason(line, "more records after the end record of line " +
                                        std::to_string(reading.endLine));
        std::string reason = hex ? hexLineReason(record, reading.fields)
                                 : srecLineReason(record, reading.fields);
        if (!reason.empty())
            return lineReason(line, reason);
        reason = hex ? takeHexRecord(reading, record, line) : takeSrecRecord(reading, record, line);
        if (!reason.empty())
            return reason;
    }
    if (reading.pieces.pieces.empty())
        return lineReason(reading.endLine != 0 ? reading.endLine : line, "no data records");
    return "";
}

RecordImage readRecords(const unsigned char* text, std::size_t count, RecordFormat format,
                        const RecordOptions& options)
{
    RecordImage image;
    image.format = format;
    RecordReading reading{options, image, {}, {}};
    image.refusal = readLines(reading, text, count, format);
    if (image.refusal.empty())
        placePieces(reading.pieces, options, image);
    return image;
}
