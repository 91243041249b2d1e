// The layouts that ship with the program, each citing in its comments where its banks,
// names and byte order come from, and saying what its source leaves open.
#pragma once

#include <string>
#include <vector>

struct BuiltInBoard {
    const char* name;          // as --board takes it
    const char* description;   // one line, for `kestrum-cli boards` and the page's list
    const char* text;          // the layout file
};

const std::vector<BuiltInBoard>& builtInBoards();
const BuiltInBoard* findBoard(const std::string& name);
// The boards' names, "a, b and c", for the refusal of another.
std::string boardNames();
