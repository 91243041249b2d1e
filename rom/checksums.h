// The checksums ROM databases list for a dump, CRC32 and SHA-1, and the byte sums that
// programmers show and labels carry, as lower-case hex.
#pragma once

#include <cstddef>
#include <string>

std::string crc32Hex(const unsigned char* bytes, std::size_t count);
std::string sha1Hex(const unsigned char* bytes, std::size_t count);
// The sum of the bytes as unsigned numbers, modulo 2^16 (4 digits) and 2^32 (8 digits).
std::string sum16Hex(const unsigned char* bytes, std::size_t count);
std::string sum32Hex(const unsigned char* bytes, std::size_t count);
// Every one of them as each front end shows a file's: "crc32 ..., sha1 ..., sum16 ..., sum32 ...".
std::string checksumsText(const unsigned char* bytes, std::size_t count);
