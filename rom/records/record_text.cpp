// What -v and the page say of an image read from records.
#include "record_text.h"

#include "record_lines.h"

#include <cstdio>

std::string recordFormatName(RecordFormat format)
{
    return format == RecordFormat::IntelHex ? "Intel HEX" : "S-records";
}

std::string recordsLine(const RecordImage& image)
{
    char fill[8];
    std::snprintf(fill, sizeof fill, "0x%02X", image.fill);
    std::string line = recordFormatName(image.format) + ", addresses " + hexAddress(image.start) +
                       "-" + hexAddress(image.start + image.bytes.size() - 1) + ", " +
                       std::to_string(image.filled) + " bytes filled with " + fill;
    if (image.entry && image.segmentedEntry) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%04X:%04X", unsigned(*image.entry >> 16),
                      unsigned(*image.entry & 0xFFFF));
        line += std::string(", start address ") + entry;
    } else if (image.entry) {
        line += ", start address " + hexAddress(*image.entry);
    }
    return line;
}
