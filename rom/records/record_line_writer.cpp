// One record line: the lead (":" or "S" and the type), the bytes in upper-case hex and the
// checksum, which makes an Intel HEX record's bytes sum to 0 and complements an S-record's sum.
#include "record_writers.h"

#include <string>

void appendRecordLine(Bytes& text, char lead, const Bytes& fields, bool hexChecksum)
{
    static const char kDigits[] = "0123456789ABCDEF";
    unsigned sum = 0;
    auto put = [&](unsigned char byte) {
        text.push_back(static_cast<unsigned char>(kDigits[byte >> 4]));
        text.push_back(static_cast<unsigned char>(kDigits[byte & 15]));
    };
    text.push_back(static_cast<unsigned char>(lead == ':' ? ':' : 'S'));
    if (lead != ':')
        text.push_back(static_cast<unsigned char>(lead));
    for (unsigned char byte : fields) {
        put(byte);
        sum += byte;
    }
    put(static_cast<unsigned char>(hexChecksum ? -sum : ~sum));
    text.push_back('\r');
    text.push_back('\n');
}
