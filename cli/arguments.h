// The command line: which command, its paths by role and its layout options.
#pragma once

#include "image_limits.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

enum class Command { Split, Merge, Swap, Identify, Verify, Compare, Boards, Help, Version };

struct Request {
    Command command = Command::Help;
    std::string image;                 // split, merge and verify
    std::vector<std::string> parts;    // split, merge, identify and verify's dumps: 2 or 4, part 1 first
    std::string in, out;               // swap
    int width = 1;                     // bytes per unit of a lane
    bool swap = false;
    std::optional<std::size_t> fillTo;
    std::optional<unsigned char> fill;   // given only with --fill-to and without --mirror
    bool mirror = false;
    bool verbose = false;
    std::string cpu;                   // identify: the board's CPU, or ""
    std::string layout;                // split, merge and verify: a layout file, or ""
    std::string board;                 // or a built-in board's name, or ""
    std::string dir;                   // with either: the folder of the chips' files
    std::string majority;              // compare: where to write the byte-wise majority, or ""
};

// A command line that cannot be run as it stands; exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Request parseArguments(const std::vector<std::string>& arguments);
std::string usageText();
