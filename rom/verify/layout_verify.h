// Verify over a board: each chip's dump against the part its bank's split makes of the image,
// in layout order, with a dump that is another bank's chip named as such.
#pragma once

#include "board_layout.h"

#include <string>
#include <vector>

// The lines kestrum-cli verify prints for the dumps, one per chip in layout order, each
// shown under its name in `names`; `differs` is set when any dump differs. The image is one
// layoutImageReason() accepts.
std::vector<std::string> layoutVerifyLines(const Bytes& image, const BoardLayout& layout,
                                           const std::vector<Bytes>& dumps,
                                           const std::vector<std::string>& names, bool& differs);
