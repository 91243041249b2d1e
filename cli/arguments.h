// The command line: which command, its paths by role and its layout options.
#pragma once

#include "image_limits.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

enum class Command { Split, Merge, Swap, Identify, Verify, Compare, Boards, Help, Version };
// How split writes the parts: raw bytes, Intel HEX or S-records.
enum class PartFormat { Raw, IntelHex, SRecord };

struct Request {
    Command command = Command::Help;
    std::string image;                 // split, merge and verify
    std::vector<std::string> parts;    // split, merge, identify and verify's dumps: 2 or 4, part 1 first
    std::string in, out;               // swap
    int width = 1;                     // bytes per unit of a lane
    bool swap = false;
    std::optional<std::size_t> fillTo;
    std::optional<unsigned char> fill;   // the chip's fill with --fill-to; the gaps of records
    bool mirror = false;
    bool verbose = false;
    std::string cpu;                   // identify: the board's CPU, or ""
    std::string layout;                // split, merge and verify: a layout file, or ""
    std::string board;                 // or a built-in board's name, or ""
    std::string dir;                   // with either: the folder of the chips' files
    std::string majority;              // compare: where to write the byte-wise majority, or ""
    bool binary = false;               // inputs are raw bytes even where they read as records
    std::optional<std::uint64_t> base; // the address of an image of records' first byte
    PartFormat format = PartFormat::Raw;
};

// A command line that cannot be run as it stands; exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Request parseArguments(const std::vector<std::string>& arguments);
std::string usageText();
