// Files written whole or not at all, for Windows: a new file, then MoveFileExA over the target.
#include "file_replace.h"

#include <windows.h>

// CREATE_NEW, so a name that exists already is never written through.
int writeNewFile(const char* path, const unsigned char* source, std::size_t count)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    // A write that runs out of space may still report success, so only the count tells;
    // clearing the error first keeps a stale one from being blamed.
    SetLastError(ERROR_SUCCESS);
    DWORD written = 0;
    WriteFile(file, source, DWORD(count), &written, nullptr);
    bool flushed = written == count && FlushFileBuffers(file);
    CloseHandle(file);
    return flushed ? 0 : 1;
}

bool replaceFile(const char* from, const char* to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool removeFile(const char* path)
{
    return DeleteFileA(path);
}

bool makeFolder(const char* path)
{
    return CreateDirectoryA(path, nullptr);
}

// FindFirstFileA takes * and ? as a pattern and would find some other file by it.
FileLookup lookUpFile(const char* path)
{
    for (const char* at = path; *at; ++at) {
        if (*at == '*' || *at == '?') {
            SetLastError(ERROR_INVALID_NAME);
            return {FileKind::Missing, false, 0};
        }
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return {FileKind::Missing, false, 0};
    FindClose(search);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {FileKind::Directory, false, 0};
    return {FileKind::File, (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
            (std::uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow};
}

// Either slash separates folders, and a drive's colon ends one ("C:rom.bin").
std::size_t folderPrefixLength(const char* path)
{
    std::size_t length = 0;
    for (std::size_t i = 0; path[i]; ++i) {
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
            length = i + 1;
    }
    return length;
}

static unsigned upperCase(char c)
{
    return unsigned(ULONG_PTR(CharUpperA(LPSTR(ULONG_PTR(static_cast<unsigned char>(c)))))) & 0xFF;
}

// NTFS and FAT compare names without case, by upper-casing each character.
bool sameFileName(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (upperCase(*a) != upperCase(*b))
            return false;
        if (*a == '\0')
            return true;
    }
}
