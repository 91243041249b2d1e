// The socket map as -v prints it: a table with a row per chip, to read at the bench.
#pragma once

#include "socket_map.h"

#include <string>

// The table, its header first, each line ending in a newline; then a line for the bytes
// that filled a short image.
std::string socketTable(const SocketMap& map);
