// The rules the inputs' sizes must keep, worded for the user.
#include "input_rules.h"

#include "image_limits.h"

std::string cannotRead(const std::string& path, const std::string& reason)
{
    return "cannot read " + path + ": " + reason;
}

std::string cannotWrite(const std::string& path, const std::string& reason)
{
    return "cannot write " + path + ": " + reason;
}

std::string wholeFileReason(std::uint64_t size, std::size_t limit, const std::string& limitName)
{
    if (size == 0)
        return "empty";
    if (size > limit)
        return "larger than the " + std::to_string(limit / 0x100000) + " MiB limit" + limitName +
               " (" + std::to_string(size) + " bytes)";
    return "";
}

std::string firstPartReason(std::uint64_t size, std::size_t parts)
{
    return wholeFileReason(size, kImageLimit / parts, " for " + std::to_string(parts) + " parts");
}

std::string wholeWordsReason(std::uint64_t size)
{
    if (size % 2 != 0)
        return "odd size (" + std::to_string(size) + " bytes), not whole 16-bit words";
    return "";
}

std::string laterPartReason(std::uint64_t size, std::size_t count)
{
    if (size == 0)
        return "empty";
    if (size < count)
        return "shorter than part 1 (" + std::to_string(size) + " of " + std::to_string(count) +
               " bytes)";
    return "";
}

std::string shortReadReason(std::size_t count)
{
    return "could read only part of its " + std::to_string(count) + " bytes";
}

std::string longerPartNote(std::uint64_t size, std::size_t count)
{
    return "is longer than part 1; only its first " + std::to_string(count) + " of " +
           std::to_string(size) + " bytes are used";
}

std::string chipFileReason(std::uint64_t size, std::size_t share)
{
    if (size == 0)
        return "empty";
    if (size < share)
        return "shorter than its share of the image (" + std::to_string(size) + " of " +
               std::to_string(share) + " bytes)";
    return "";
}

std::string longerChipNote(std::uint64_t size, std::size_t share)
{
    return "is longer than its chip; only its first " + std::to_string(share) + " of " +
           std::to_string(size) + " bytes are used";
}
