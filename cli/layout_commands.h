// split, merge and verify with --layout or --board: the image laid out over a board's
// chips, whose files are in a folder under the names the layout gives; and `boards`.
#pragma once

#include "arguments.h"
#include "board_layout.h"

#include <ostream>
#include <stdexcept>

// A layout file that cannot be read as one; exit status 2, as for a wrong command line.
struct LayoutError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The request's layout: the built-in board's, or the file's, read and checked.
BoardLayout loadLayout(const Request& request);
void splitLayoutFiles(const Request& request, std::ostream& out);
void mergeLayoutFiles(const Request& request, std::ostream& out, std::ostream& err);
// Returns 0 when every dump matches, or verify's status for a dump that differs.
int verifyLayoutFiles(const Request& request, std::ostream& out);
void printBoards(std::ostream& out);
