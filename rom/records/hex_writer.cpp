// A part as Intel HEX records.
#include "record_writers.h"

#include <algorithm>
#include <cstdint>

Bytes hexRecords(const Bytes& part)
{
    Bytes text;
    text.reserve(part.size() / 16 * 45 + 64);
    Bytes fields;
    for (std::size_t at = 0; at < part.size(); at += 16) {
        if (at % 0x10000 == 0 && at != 0)
            appendRecordLine(text, ':', {2, 0, 0, 4, static_cast<unsigned char>(at >> 24),
                                         static_cast<unsigned char>(at >> 16)}, true);
        std::size_t count = std::min<std::size_t>(16, part.size() - at);
        fields = {static_cast<unsigned char>(count), static_cast<unsigned char>(at >> 8),
                  static_cast<unsigned char>(at), 0};
        fields.insert(fields.end(), part.begin() + std::ptrdiff_t(at),
                      part.begin() + std::ptrdiff_t(at + count));
        appendRecordLine(text, ':', fields, true);
    }
    appendRecordLine(text, ':', {0, 0, 0, 1}, true);
    return text;
}
