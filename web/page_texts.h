// What the page shows, built from the engine's answers: the outputs' names and identify's
// verdict in words, all carried to the page as JSON.
#pragma once

#include "identify_report.h"

#include <string>
#include <vector>

// "game.bin" gives "game-1.bin" for part 1 and "game-swapped.bin" for the swap.
std::string nameWithSuffix(const std::string& name, const std::string& suffix);
// The raw bytes read from "game.hex" are "game.bin".
std::string binaryName(const std::string& name);
// The image merged from parts named "game-1.bin", ... is "game.bin"; from others,
// "u1-merged.bin" after part 1.
std::string mergedName(const std::string& firstPart);
// The verdict and evidence, line by line, with the parts by their names.
std::vector<std::string> identifyLines(const IdentifyReport& report,
                                       const std::vector<std::string>& names);
std::string jsonString(const std::string& text);
std::string jsonList(const std::vector<std::string>& items);
