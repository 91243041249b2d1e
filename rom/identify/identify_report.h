// identify's answer as data: which layout rebuilds the image and the evidence for it, or why
// none does. The command-line program prints it and the browser page shows it; neither
// weighs anything itself.
#pragma once

#include "cpu_hints.h"
#include "layouts.h"

#include <cstddef>
#include <string>
#include <vector>

struct IdentifyOptions {
    std::string cpu;   // the board's CPU, a name of cpuHints(), or "" when not given
};

struct EvidenceLine {
    std::string label;   // "header", "instructions", "text", "byte statistics"
    std::string text;
};

// A layout with a line of what the signals saw in it.
struct LayoutSummary {
    Layout layout;
    std::string label;     // the code it shows, "MIPS, big-endian", or ""
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
    std::vector<LayoutSummary> candidates;   // when undetermined: the layouts no signal rules out,
                                             // the first few of them
    std::size_t remaining = 0;               // how many there are
    std::string hintNote;                 // why the given CPU was set aside, or ""
    std::vector<PartWarning> warnings;
    std::vector<LayoutSummary> every;     // every layout, best byte statistics first
};

// Every layout merge can build from the parts, weighed; parts must hold at least one byte.
IdentifyReport identifyLayouts(const std::vector<Bytes>& parts, const IdentifyOptions& options);
