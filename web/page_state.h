// What the page's calls keep between them: the picked files in their slots, the outputs of
// the last action and its report.
#pragma once

#include "part_images.h"

#include <cstdint>
#include <string>
#include <vector>

struct Input {
    std::string name;
    std::uint64_t size = 0;   // the file's, of which bytes holds the start
    Bytes bytes;
};

struct PageOutput {
    std::string name;
    Bytes bytes;
    std::string socket;
};

// A board's chips are picked all at once, so there are slots for as many.
constexpr int kInputSlots = 64;

extern std::vector<Input> inputs;
extern std::vector<PageOutput> outputs;
extern std::string report;

// Clears the outputs and reports the refusal; returns 0, the count of outputs.
int refuse(const std::string& message);
// The report of an action that made outputs; their checksums come apart, so the page can
// offer the outputs while they are summed. `extra` adds members to the report.
int answer(const std::string& extra = "");
