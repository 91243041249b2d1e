// kestrum-cli identify: which order, width and swap of the parts rebuild the image.
#pragma once

#include <ostream>
#include <string>
#include <vector>

constexpr int kUndetermined = 3;   // the exit status when no layout is clearly right

// Prints the merge command that rebuilds the image and its evidence, or "undetermined:"
// and why; warns of faults of each part. `cpu` names the board's CPU (see cpuHints()), or
// is "". Returns 0 or kUndetermined; throws FileRefusal.
int identifyParts(const std::vector<std::string>& paths, const std::string& cpu, bool verbose,
                  std::ostream& out, std::ostream& err);
