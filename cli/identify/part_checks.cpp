// Faults that a part shows by itself, found before any layout is tried.
#include "part_checks.h"

#include <algorithm>
#include <cstring>

std::vector<std::string> checkPart(const Bytes& part)
{
    std::vector<std::string> findings;
    for (unsigned char blank : {0xFF, 0x00}) {
        if (std::all_of(part.begin(), part.end(), [&](unsigned char b) { return b == blank; }))
            return {std::string("every byte is ") + (blank ? "0xFF" : "0x00") + ": erased or not read"};
    }
    unsigned char ones = 0xFF, zeros = 0xFF;   // bits set in every byte, clear in every byte
    for (unsigned char b : part) {
        ones &= b;
        zeros &= static_cast<unsigned char>(~b);
    }
    // 7-bit text, even with strings ended by 0x00, never sets bit 7: no sign of a fault.
    std::size_t letters = 0, others = 0;
    for (unsigned char b : part) {
        letters += (b >= 0x20 && b < 0x7F) || b == '\n' || b == '\r' || b == '\t';
        others += b >= 0x7F || (b < 0x20 && b != 0 && b != '\n' && b != '\r' && b != '\t');
    }
    bool text = others == 0 && letters >= part.size() * 3 / 4;
    for (int bit = 0; bit < 8; ++bit) {
        if ((ones | zeros) >> bit & 1 && !(text && bit == 7))
            findings.push_back("bit " + std::to_string(bit) + " is always " +
                               ((ones >> bit & 1) ? "1" : "0") +
                               ": a stuck data line or a bad read");
    }
    std::size_t half = part.size() / 2;
    if (part.size() % 2 == 0 && half > 0 && std::memcmp(part.data(), part.data() + half, half) == 0)
        findings.push_back("the second half repeats the first: an image for a smaller chip, "
                           "or an address line not connected");
    return findings;
}
