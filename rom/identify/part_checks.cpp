// Faults that a part shows by itself, found before any layout is tried.
#include "part_checks.h"

#include <cstring>

ConstantBits constantBits(const unsigned char* bytes, std::size_t count, std::size_t step)
{
    ConstantBits constant;
    for (std::size_t i = 0; i < count && (constant.set | constant.clear); i += step) {
        constant.set &= bytes[i];
        constant.clear &= static_cast<unsigned char>(~bytes[i]);
    }
    return constant;
}

std::vector<std::string> checkPart(const Bytes& part)
{
    std::vector<std::string> findings;
    ConstantBits constant = constantBits(part.data(), part.size());
    if (constant.set == 0xFF || constant.clear == 0xFF)
        return {std::string("every byte is ") + (constant.set == 0xFF ? "0xFF" : "0x00") + ": erased or not read"};
    unsigned char ones = constant.set, zeros = constant.clear;
    // 7-bit text, even with strings ended by 0x00, never sets bit 7: no sign of a fault. Only
    // a part whose bit 7 never changes is read again to tell.
    bool text = false;
    if ((zeros & 0x80) != 0) {
        std::size_t letters = 0, others = 0;
        for (unsigned char b : part) {
            letters += (b >= 0x20 && b < 0x7F) || b == '\n' || b == '\r' || b == '\t';
            others += b >= 0x7F || (b < 0x20 && b != 0 && b != '\n' && b != '\r' && b != '\t');
        }
        text = others == 0 && letters >= part.size() * 3 / 4;
    }
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
