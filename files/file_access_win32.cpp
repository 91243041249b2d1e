// Whole-file access for Windows, through the ANSI file and directory calls of KERNEL32.
#include "file_access.h"

#include <windows.h>

// Looks the name up in its directory without opening it; a directory counts as found.
FileSize queryFileSize(const char* path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return {false, 0};
    FindClose(search);
    return {true, (std::uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow};
}

// Other programs may read the file meanwhile but not write it.
int readFileRange(const char* path, unsigned char* destination, std::int32_t offset,
                  std::uint32_t count)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    // Without a high part, 0xFFFFFFFF can only mean failure.
    if (SetFilePointer(file, offset, nullptr, FILE_BEGIN) == 0xFFFFFFFF) {
        CloseHandle(file);
        return -1;
    }
    DWORD read = 0;
    ReadFile(file, destination, count, &read, nullptr);
    CloseHandle(file);
    return read == count ? 0 : 1;
}

// Truncates an existing file; nobody else may open it while it is written.
int writeWholeFile(const char* path, const unsigned char* source, std::uint32_t count)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    DWORD written = 0;
    WriteFile(file, source, count, &written, nullptr);
    CloseHandle(file);
    return written == count ? 0 : 1;
}
