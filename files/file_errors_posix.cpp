// Why a file routine failed, from errno, on POSIX systems.
#include "file_errors.h"

#include <cerrno>
#include <cstring>

FileError lastFileError()
{
    int code = errno;
    switch (code) {
    case 0:            return {FileFault::None, 0};
    case ENOENT:
    case ENOTDIR:      return {FileFault::NotFound, unsigned(code)};
    case EEXIST:       return {FileFault::Exists, unsigned(code)};
    case EISDIR:       return {FileFault::IsDirectory, unsigned(code)};
    case ENAMETOOLONG: return {FileFault::NameTooLong, unsigned(code)};
    }
    return {FileFault::Other, unsigned(code)};
}

const char* describeFileError(FileError error)
{
    return std::strerror(int(error.code));
}
