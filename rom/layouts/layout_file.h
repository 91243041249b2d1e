// The text of a layout file: one bank a line, '#' starting a comment,
//   bank SIZE lanes N [width 2] [swap] [fill-to SIZE [fill BYTE | mirror]] chips NAME...
// A SIZE is written as --fill-to takes it (32768, 0x8000, 32K, 2M) or as a chip (27C256).
#pragma once

#include "board_layout.h"

#include <optional>
#include <string>

// The layout, or none with the reason, which starts "line N: " where a line is at fault.
std::optional<BoardLayout> readLayout(const std::string& text, std::string& refusal);
