// identify's answer as data: which layout rebuilds the image and the evidence for it, or why
// none does. The command-line program prints it and the browser page shows it; neither
// weighs anything itself.
#pragma once

#include "layouts.h"

#include <cstddef>
#include <string>
#include <vector>

struct IdentifyOptions {
    std::string cpu;   // the board's CPU as the user names it, or "" when not given
};

struct EvidenceLine {
    std::string label;   // "header", "instructions", "text", "byte statistics"
    std::string text;
};

// A layout with a line of what the signals saw in it.
struct LayoutSummary {
    Layout layout;
    std::string label;     // what sets it apart from the others, or ""
    std::string summary;   // its byte statistics, instruction words, text and header
};

struct PartWarning {
    std::size_t part;   // the index of the part as given
    std::string text;
};

struct IdentifyReport {
    bool decided = false;
    Layout layout;                        // the answer, when decided
    std::vector<EvidenceLine> evidence;   // what shows it, strongest first
    std::string decidedBy;                // the signal that decided
    std::string lead;                     // how far ahead of the runner-up
    Layout runnerUp;
    std::string reason;                   // why not, when undetermined
    std::vector<LayoutSummary> candidates;   // when undetermined: the layouts still in question
    std::vector<PartWarning> warnings;
    std::vector<LayoutSummary> every;     // every layout, best byte statistics first
};

// Every layout merge can build from the parts, weighed; parts must hold at least one byte.
IdentifyReport identifyLayouts(const std::vector<Bytes>& parts, const IdentifyOptions& options);
