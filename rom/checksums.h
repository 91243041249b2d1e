// The checksums ROM databases list for a dump: CRC32 and SHA-1, as lower-case hex.
#pragma once

#include <cstddef>
#include <string>

std::string crc32Hex(const unsigned char* bytes, std::size_t count);
std::string sha1Hex(const unsigned char* bytes, std::size_t count);
// Every checksum of a file as -v prints it beside the file's size: "crc32 ..., sha1 ...".
std::string checksumsText(const unsigned char* bytes, std::size_t count);
