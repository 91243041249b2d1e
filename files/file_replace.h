// Files written whole or not at all: the bytes go to a new file beside the target, which
// then takes the target's place in one step.
#pragma once

#include <cstddef>
#include <cstdint>

enum class FileKind { Missing, File, Directory };

// What one lookup of a name finds; for a name Missing, lastFileError() tells why.
struct FileLookup {
    FileKind kind;
    bool readOnly;        // a file this user may not write
    std::uint64_t size;   // 0 for a directory
};

// 0 when every byte was written and flushed to the disk, 1 on a short write, -1 when the
// file could not be created, among others because it exists already.
int writeNewFile(const char* path, const unsigned char* source, std::size_t count);
bool replaceFile(const char* from, const char* to);
bool removeFile(const char* path);
// Makes one folder, its parent being there; false, with lastFileError(), when it cannot.
bool makeFolder(const char* path);
FileLookup lookUpFile(const char* path);
// The length of the folder part of a path, its last separator included; 0 for a bare name.
std::size_t folderPrefixLength(const char* path);
// Whether two names in one folder are one entry, with case folded where the file system folds it.
bool sameFileName(const char* a, const char* b);
