// Why a file routine failed, from GetLastError, on Windows.
#include "file_errors.h"

#include <windows.h>

#include <cstdio>

FileError lastFileError()
{
    DWORD code = GetLastError();
    switch (code) {
    case ERROR_SUCCESS:              return {FileFault::None, code};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:       return {FileFault::NotFound, code};
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:       return {FileFault::Exists, code};
    case ERROR_DIRECTORY:            return {FileFault::IsDirectory, code};
    case ERROR_FILENAME_EXCED_RANGE: return {FileFault::NameTooLong, code};
    }
    return {FileFault::Other, code};
}

// The system's message ends in a period and a line break, which a one-line report drops.
const char* describeFileError(FileError error)
{
    static char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error.code, 0, text, sizeof text, nullptr);
    if (length == 0)
        std::snprintf(text, sizeof text, "system error %lu", error.code);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' '))
        text[--length] = '\0';
    return text;
}
