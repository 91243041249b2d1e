// Weighing the signals of every layout into one answer, or into "undetermined".
#pragma once

#include "code_structure.h"
#include "cpu_hints.h"
#include "cpu_signatures.h"
#include "layouts.h"
#include "pair_statistics.h"

#include <cstddef>
#include <string>
#include <vector>

// Past what chance gives in a wrong layout: calibrated on the images of
// tests/cli/identify_corpus, whose layouts are known.
constexpr int kMinInstructions = 16;
constexpr int kMinWords = 8;

struct LayoutEvidence {
    Layout layout;
    BlockBits bits{};   // bits per byte given the byte before, per block
    double meanBits = 0;
    double nearlyEqual = 0;   // the share of neighbouring bytes within 2 of each other
    InstructionCount instructions;
    int words = 0;   // different common words spelled out whole
    std::vector<StructureCount> structure;   // per CPU, the multi-word instructions whole
    std::vector<StructureCount> byteOrder;   // per CPU, marks of the byte order it was built for
    std::string header;
};

struct Verdict {
    bool decided = false;
    std::string reason;                 // why not, when undetermined
    std::size_t chosen = 0;             // the answer, or the best guess
    std::size_t runnerUp = 0;
    std::string decidedBy;              // the signal that decided
    std::string lead;                   // how far ahead of the runner-up
    std::vector<std::size_t> close;     // layouts the byte statistics could not tell apart
    std::vector<std::size_t> remaining; // when undetermined: the layouts no signal rules out
};

// The layouts' indices, best byte statistics first; equals keep their order.
std::vector<std::size_t> rankByStatistics(const std::vector<LayoutEvidence>& layouts);
// With a hint, only that CPU's instruction words and headers count.
Verdict decide(const std::vector<LayoutEvidence>& layouts, const PairStatistics& statistics,
               const CpuHint* hint);
// That CPU's instruction words in the layout, as a signal: none where the layout reads
// clearly more as another CPU's code.
int hintedWords(const LayoutEvidence& layout, const CpuHint& hint);
// That CPU's count among `counts` (the layout's structure or byte-order marks): none where
// the layout shows few of that CPU's words or reads clearly more as another CPU's code.
int hintedStructure(const LayoutEvidence& layout, const std::vector<StructureCount>& counts, const CpuHint& hint);
