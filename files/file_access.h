// Whole-file access: each routine opens, uses and closes its file within the one call.
#pragma once

#include <cstdint>

struct FileSize {
    bool found;
    std::uint64_t size;
};

// Transfers report 0 when every byte moved, 1 on a short transfer, -1 when the file
// could not be opened (or, for reading, positioned).
FileSize queryFileSize(const char* path);
int readFileRange(const char* path, unsigned char* destination, std::int32_t offset,
                  std::uint32_t count);
int writeWholeFile(const char* path, const unsigned char* source, std::uint32_t count);
