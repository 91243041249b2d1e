// Refusals the user sees: one line each, naming the file and the true reason.
#pragma once

#include "file_errors.h"

#include <stdexcept>
#include <string>

// A file that could not be read or written, or an input that was refused; exit status 1.
struct FileRefusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void refuseRead(const std::string& path, const std::string& reason);
[[noreturn]] void refuseWrite(const std::string& path, const std::string& reason);
std::string readReason(FileError error);
std::string writeReason(FileError error);
