// What the readers of both formats share: the lines of the text and their hex digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<unsigned char>;

// The line that starts at `at`, without its end (LF, CR LF or CR) or trailing blanks;
// `at` moves past the end.
std::string_view nextLine(const unsigned char* text, std::size_t count, std::size_t& at);
// The bytes that pairs of hex digits spell, or false when a character is no hex digit or
// one is left over.
bool hexBytes(std::string_view digits, Bytes& bytes);
// The big-endian number in `size` bytes from `from`.
std::uint32_t bigEndian(const Bytes& bytes, std::size_t from, std::size_t size);
// "line N: why".
std::string lineReason(std::size_t line, const std::string& why);
std::string hexAddress(std::uint64_t address);
