// A part as Motorola S-records.
#include "record_writers.h"

#include <algorithm>
#include <cstdint>

Bytes srecRecords(const Bytes& part)
{
    std::size_t addressSize = part.size() <= 0x10000 ? 2 : part.size() <= 0x1000000 ? 3 : 4;
    char dataType = char('1' + addressSize - 2), endType = char('9' - (addressSize - 2));
    Bytes text;
    text.reserve(part.size() / 16 * (40 + 2 * addressSize) + 64);
    appendRecordLine(text, '0', {3, 0, 0}, false);
    Bytes fields;
    for (std::size_t at = 0; at < part.size(); at += 16) {
        std::size_t count = std::min<std::size_t>(16, part.size() - at);
        fields = {static_cast<unsigned char>(count + addressSize + 1)};
        for (std::size_t i = addressSize; i-- > 0;)
            fields.push_back(static_cast<unsigned char>(at >> (8 * i)));
        fields.insert(fields.end(), part.begin() + std::ptrdiff_t(at),
                      part.begin() + std::ptrdiff_t(at + count));
        appendRecordLine(text, dataType, fields, false);
    }
    fields.assign(addressSize + 1, 0);
    fields[0] = static_cast<unsigned char>(addressSize + 1);
    appendRecordLine(text, endType, fields, false);
    return text;
}
