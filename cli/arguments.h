// The command line: which command, its paths and its layout options.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

enum class Command { Split, Merge, Swap, Identify, Help, Version };

struct Request {
    Command command = Command::Help;
    std::vector<std::string> paths;   // the image first, then the parts; or IN and OUT; or,
                                      // for identify, the parts alone
    int width = 1;                    // bytes per unit of a lane
    bool swap = false;
    std::optional<std::size_t> fillTo;
    unsigned char fill = 0xFF;
    bool mirror = false;
    bool verbose = false;

    int parts() const { return int(paths.size()) - 1; }
};

// A command line that cannot be run as it stands; exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr std::size_t kImageLimit = 0x4000000;   // 64 MiB

Request parseArguments(const std::vector<std::string>& arguments);
const char* usageText();
