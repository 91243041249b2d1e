// Why a file routine failed, as the system reported it, read right after the failure.
#pragma once

enum class FileFault { None, NotFound, Exists, IsDirectory, NameTooLong, Other };

struct FileError {
    FileFault fault;
    unsigned long code;   // errno, or what GetLastError returned
};

FileError lastFileError();
// The system's own words for the error, on one line with no final period.
const char* describeFileError(FileError error);
