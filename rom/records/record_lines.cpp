// What the readers of both formats share: the lines of the text and their hex digits.
#include "record_lines.h"

#include <cstdio>

std::string_view nextLine(const unsigned char* text, std::size_t count, std::size_t& at)
{
    std::size_t from = at, end = at;
    while (end < count && text[end] != '\n' && text[end] != '\r')
        ++end;
    at = end;
    if (at < count && text[at] == '\r')
        ++at;
    if (at < count && text[at] == '\n')
        ++at;
    while (end > from && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return {reinterpret_cast<const char*>(text) + from, end - from};
}

static int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool hexBytes(std::string_view digits, Bytes& bytes)
{
    bytes.clear();
    if (digits.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        int high = hexDigit(digits[i]), low = hexDigit(digits[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<unsigned char>(high << 4 | low));
    }
    return true;
}

std::uint32_t bigEndian(const Bytes& bytes, std::size_t from, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value = value << 8 | bytes[from + i];
    return value;
}

std::string lineReason(std::size_t line, const std::string& why)
{
    return "line " + std::to_string(line) + ": " + why;
}

// Written out here: the C library of old Windows prints no 64-bit numbers.
std::string hexAddress(std::uint64_t address)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[address & 15]);
        address >>= 4;
    } while (address != 0);
    return "0x" + digits;
}
