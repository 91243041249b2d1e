// The reasons a file routine failed, worded for the user. A reason the system did not give
// is never guessed: without one, only what is known is said.
#include "reasons.h"

#include "input_rules.h"

void refuseRead(const std::string& path, const std::string& reason)
{
    throw FileRefusal(cannotRead(path, reason));
}

void refuseWrite(const std::string& path, const std::string& reason)
{
    throw FileRefusal(cannotWrite(path, reason));
}

static std::string commonReason(FileError error)
{
    switch (error.fault) {
    case FileFault::IsDirectory: return "is a directory";
    case FileFault::NameTooLong: return "path longer than the system allows";
    default:                     return describeFileError(error);
    }
}

std::string readReason(FileError error)
{
    switch (error.fault) {
    case FileFault::None:     return "not every byte could be read";
    case FileFault::NotFound: return "no such file";
    default:                  return commonReason(error);
    }
}

// A file is created in its folder, so a name not found there is a folder missing.
std::string writeReason(FileError error)
{
    switch (error.fault) {
    case FileFault::None:     return "not every byte could be written";
    case FileFault::NotFound: return "no such folder";
    default:                  return commonReason(error);
    }
}
