// The values of the layout options, read and checked as the command line takes them.
#include "option_values.h"

#include "image_limits.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

// A whole number, decimal or 0x hex, with an optional K or M suffix where allowed. Values
// past the image limit come back as one more than it, for the range checks to refuse.
static std::optional<std::size_t> parseNumber(std::string text, bool suffixes)
{
    std::uint64_t scale = 1;
    if (suffixes && !text.empty()) {
        char last = char(std::toupper(static_cast<unsigned char>(text.back())));
        scale = last == 'K' ? 0x400 : last == 'M' ? 0x100000 : 1;
        if (scale != 1)
            text.pop_back();
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.erase(0, 2);
    }
    const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.empty() || text.size() > 10 || text.find_first_not_of(digits) != std::string::npos)
        return std::nullopt;
    std::uint64_t value = std::strtoull(text.c_str(), nullptr, base) * scale;
    return std::size_t(std::min<std::uint64_t>(value, kImageLimit + 1));
}

std::string readFillTo(const std::string& value, std::optional<std::size_t>& fillTo)
{
    fillTo = parseNumber(value, true);
    if (!fillTo)
        return "--fill-to takes a size such as 32768, 512K or 2M, not '" + value + "'";
    return "";
}

std::string readFill(const std::string& value, std::optional<unsigned char>& fill)
{
    std::optional<std::size_t> byte = parseNumber(value, false);
    if (!byte || *byte > 0xFF)
        return "--fill takes a byte such as 0xFF or 0, not '" + value + "'";
    fill = static_cast<unsigned char>(*byte);
    return "";
}

std::string readBase(const std::string& value, std::optional<std::uint64_t>& base)
{
    bool hex = value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    std::string digits = hex ? value.substr(2) : value;
    const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    std::uint64_t address = digits.empty() || digits.size() > 10 ||
                                    digits.find_first_not_of(allowed) != std::string::npos
                                ? ~std::uint64_t(0)
                                : std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (address > 0xFFFFFFFF)
        return "--base takes an address of 32 bits such as 0xF80000, not '" + value + "'";
    base = address;
    return "";
}

std::string fillToReason(std::size_t fillTo, std::size_t parts, int width)
{
    std::size_t partLimit = kImageLimit / parts;
    if (fillTo == 0 || fillTo > partLimit)
        return "--fill-to must be 1 byte to " + std::to_string(partLimit / 0x100000) + "M with " +
               std::to_string(parts) + " parts";
    if (fillTo % std::size_t(width) != 0)
        return "--fill-to must be whole 16-bit words with --width 2";
    return "";
}

std::string pairingReason(int width, bool swap, bool mirror, bool fillTo)
{
    if (swap && width != 2)
        return "--swap needs --width 2";
    if (mirror && !fillTo)
        return "--mirror needs --fill-to";
    return "";
}
