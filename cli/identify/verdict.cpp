// The byte statistics first narrow the layouts to those no other layout clearly beats;
// headers, instruction words and text then choose among them. Any disagreement, or no
// clear lead, ends as undetermined: a wrong answer costs a burned chip, this a minute.
#include "verdict.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// Calibrated on the images of tests/cli/identify_corpus, whose layouts are known: code of
// several CPUs, firmware, text, data and noise.
constexpr double kMinStructure = 0.3;   // bits per byte below bytes that do not follow
constexpr double kMinLead = 0.04;       // bits per byte ahead of every other layout
constexpr double kMinSteadiness = 4.0;  // the lead over its spread across blocks
constexpr double kMinTwinLead = 0.5;    // bits per byte ahead of a twin
constexpr int kMinInstructions = 16;
constexpr int kMinTrigrams = 16;

std::string fixed(double value, int digits)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

// The lead of `behind` over `best` per block, as its mean over its standard error.
double steadiness(const BlockBits& best, const BlockBits& behind)
{
    double mean = 0, square = 0;
    for (int block = 0; block < kBlocks; ++block)
        mean += (behind[std::size_t(block)] - best[std::size_t(block)]) / kBlocks;
    for (int block = 0; block < kBlocks; ++block) {
        double d = behind[std::size_t(block)] - best[std::size_t(block)] - mean;
        square += d * d;
    }
    double error = std::sqrt(square / (kBlocks - 1) / kBlocks);
    if (error == 0)
        return mean > 0 ? std::numeric_limits<double>::infinity() : 0;
    return mean / error;
}

bool clearlyBehind(const LayoutEvidence& best, const LayoutEvidence& other)
{
    return other.meanBits - best.meanBits >= kMinLead &&
           steadiness(best.bits, other.bits) >= kMinSteadiness;
}

// How strongly each layout shows one signal; a layout is clearly ahead of another when its
// count is at least twice the other's and past what chance gives.
struct Signal {
    const char* name;
    const char* unit;
    std::vector<int> counts;
    int least;

    bool ahead(std::size_t a, std::size_t b) const
    {
        return counts[a] >= least && counts[a] >= 2 * counts[b] + 8 * (least > 1);
    }
};

}  // namespace

Verdict decide(const std::vector<LayoutEvidence>& layouts, const PairStatistics& statistics)
{
    Verdict verdict;
    std::vector<std::size_t> all(layouts.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    std::stable_sort(all.begin(), all.end(), [&](std::size_t a, std::size_t b) {
        return layouts[a].meanBits < layouts[b].meanBits;
    });
    if (statistics.samplesPerBlock == 0) {
        verdict.reason = "too little data to judge";
        return verdict;
    }
    const LayoutEvidence& best = layouts[all[0]];
    verdict.chosen = all[0];
    verdict.runnerUp = all[1];
    double structure = meanBits(statistics.unrelated) - best.meanBits;
    if (structure < kMinStructure) {
        verdict.reason = "in no layout does a byte follow from the one before it (" +
                         fixed(best.meanBits, 2) + " bits per byte at best, " +
                         fixed(meanBits(statistics.unrelated), 2) +
                         " for unrelated bytes): noise, compressed data or blank parts";
        verdict.close = {all.begin(), all.begin() + std::min<std::ptrdiff_t>(4, std::ptrdiff_t(all.size()))};
        return verdict;
    }
    for (std::size_t i : all) {
        if (i == all[0] || !clearlyBehind(best, layouts[i]))
            verdict.close.push_back(i);
    }

    // A twin of the best, the same bytes in each 32-bit group in another order, stays close
    // unless far behind: fixed-width code and 16-bit data make the wrong order of a group
    // look as regular as the right one.
    for (std::size_t i : all) {
        bool close = std::find(verdict.close.begin(), verdict.close.end(), i) != verdict.close.end();
        if (!close && twinLayouts(best.layout, layouts[i].layout) &&
            layouts[i].meanBits - best.meanBits < kMinTwinLead)
            verdict.close.push_back(i);
    }

    std::vector<Signal> signals = {{"the header", "", {}, 1},
                                   {"instruction words", "instruction words", {}, kMinInstructions},
                                   {"readable text", "common letter sequences of words", {}, kMinTrigrams}};
    for (const LayoutEvidence& layout : layouts) {
        signals[0].counts.push_back(layout.header.empty() ? 0 : 1);
        // x86 words have no alignment, so pairs of them survive in many wrong layouts; and
        // one kind of word alone may be a pattern of data.
        const InstructionCount& words = layout.instructions;
        signals[1].counts.push_back(words.aligned && words.words.size() >= 2 ? words.cpuMatches : 0);
        signals[2].counts.push_back(layout.trigrams);
    }
    // A layout is chosen when one signal puts it clearly ahead of every other close layout,
    // no signal puts another layout clearly ahead of it, and nothing else qualifies.
    std::vector<std::size_t> winners;
    std::string decidedBy;
    std::size_t runnerUp = 0;
    for (std::size_t i : verdict.close) {
        bool contradicted = false;
        std::string supportedBy;
        std::size_t second = i;
        for (const Signal& signal : signals) {
            bool aheadOfAll = verdict.close.size() > 1;
            std::size_t next = i;
            for (std::size_t j : verdict.close) {
                if (j == i)
                    continue;
                contradicted |= signal.ahead(j, i);
                aheadOfAll &= signal.ahead(i, j);
                if (next == i || signal.counts[j] > signal.counts[next])
                    next = j;
            }
            if (aheadOfAll && supportedBy.empty()) {
                supportedBy = signal.name;
                second = next;
            }
        }
        if (verdict.close.size() == 1)
            supportedBy = "byte statistics";
        if (!contradicted && !supportedBy.empty()) {
            winners.push_back(i);
            decidedBy = supportedBy;
            runnerUp = second;
        }
    }
    if (winners.size() != 1) {
        verdict.reason = std::to_string(verdict.close.size()) +
                         " layouts fit the byte statistics alike, and no header, instruction "
                         "words or text tell them apart";
        return verdict;
    }
    verdict.chosen = winners[0];
    verdict.decidedBy = decidedBy;
    if (decidedBy == "byte statistics") {
        verdict.runnerUp = all[1];
        double lead = steadiness(best.bits, layouts[all[1]].bits);
        verdict.lead = fixed(layouts[all[1]].meanBits - best.meanBits, 2) +
                       " bits per byte, steady over " + std::to_string(kBlocks) +
                       " samples (" + (std::isinf(lead) ? std::string("no spread") :
                                       fixed(lead, 1) + " times its spread") + ")";
    } else {
        verdict.runnerUp = runnerUp;
        const Signal& signal = *std::find_if(signals.begin(), signals.end(),
                                             [&](const Signal& s) { return s.name == decidedBy; });
        verdict.lead = signal.name == std::string("the header")
                           ? std::string("a header it lacks")
                           : std::to_string(signal.counts[verdict.chosen]) + " " + signal.unit +
                                 " against " + std::to_string(signal.counts[runnerUp]);
    }

    // No signal may favour a layout the byte statistics put behind.
    for (std::size_t i : all) {
        if (std::find(verdict.close.begin(), verdict.close.end(), i) != verdict.close.end())
            continue;
        for (const Signal& signal : signals) {
            if (signal.ahead(i, verdict.chosen)) {
                verdict.reason = std::string("the signals disagree: ") + decidedBy +
                                 " favour one layout, " + signal.name + " another";
                verdict.decided = false;
                return verdict;
            }
        }
    }
    verdict.decided = true;
    return verdict;
}
