// The byte statistics first narrow the layouts to those no other layout clearly beats;
// headers, instruction words and text then choose among them. Any disagreement, or no
// clear lead, ends as undetermined: a wrong answer costs a burned chip, this a minute.
#include "verdict.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Calibrated on the images of tests/cli/identify_corpus, whose layouts are known: code of
// several CPUs, firmware, text, data and noise.
constexpr double kMinStructure = 0.3;   // bits per byte below bytes that do not follow
constexpr double kMinLead = 0.04;       // bits per byte ahead of every other layout
constexpr double kMinSteadiness = 4.0;  // the lead over its spread across blocks
constexpr double kMinTwinLead = 0.5;    // bits per byte ahead of a twin
constexpr double kMaxNearlyEqualGain = 0.02;   // share of nearly equal neighbours over the runner-up's

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
// count is `factor` times the other's and past what chance gives. A wrong order of word
// lanes that breaks 32-bit instructions keeps at most half of them whole, so instruction
// words need only half again the other's count.
struct Signal {
    const char* name;
    const char* unit;
    const char* evidence;   // what a layout shows of it
    std::vector<int> counts;
    int least;
    double factor;
    bool decides = true;   // or may only speak against a layout
    bool code = false;     // of the code of one CPU, which may decide together with the others
    std::vector<int> alike = {};   // if given, layouts compared only where these are equal

    bool ahead(std::size_t a, std::size_t b) const
    {
        return counts[a] >= least && counts[a] >= factor * counts[b] + 8 * (least > 1) &&
               (alike.empty() || alike[a] == alike[b]);
    }
};

std::vector<Signal> gatherSignals(const std::vector<LayoutEvidence>& layouts, const CpuHint* hint)
{
    std::vector<Signal> signals = {
        {"the header", "", "of a header", {}, 1, 2},
        {"instruction words", "instruction words", "code", {}, kMinInstructions, 1.5},
        {"readable text", "different common words", "readable text", {}, kMinWords, 2},
        {"the code's structure", "marks of its structure", "of the code's structure", {},
         kMinInstructions, 2},
        {"x86 instruction words", "x86 instruction words", "x86 code", {}, 4 * kMinInstructions, 2},
        {"the byte order of constants", "calls through literals of its byte order",
         "calls through literals of its byte order", {}, kMinInstructions, 2}};
    // x86 words, unaligned, speak only for the layout the byte statistics put first:
    // elsewhere they count no higher than there, so they decide only where it leads by far.
    const InstructionCount& first = layouts[rankByStatistics(layouts)[0]].instructions;
    int x86First = first.aligned ? 0 : first.beyondMostCommon;

    // A header is code too: the ARM vectors a Thumb program starts from are read in its byte
    // order, so they settle the order its words leave open, though other word orders of
    // the repeated branch keep the vectors whole.
    for (std::size_t k : {0, 1, 3, 5})
        signals[k].code = true;
    for (const LayoutEvidence& layout : layouts) {
        signals[0].counts.push_back(!layout.header.empty() && (!hint || headerOfCpu(layout.header, *hint)));
        // x86 words have no alignment, so pairs of them survive in many wrong layouts; and
        // one kind of word, however often it recurs, may be a pattern of data, so only the
        // matches beyond those of the most common word count.
        const InstructionCount& words = layout.instructions;
        // x86 words, given or not, count only as their own signal below.
        bool x86 = hint && std::string(hint->family) == "x86";
        signals[1].counts.push_back(hint ? (x86 ? 0 : hintedWords(layout, *hint))
                                         : words.aligned ? words.beyondMostCommon : 0);
        signals[2].counts.push_back(layout.words);
        // The structure of code that shows few of its CPU's words is chance; a CPU given
        // counts where its words are not clearly outnumbered.
        bool code = words.cpuMatches >= kMinInstructions;
        signals[3].counts.push_back(hint ? hintedStructure(layout, layout.structure, *hint)
                                         : code ? structureOf(layout.structure, words.cpu).count : 0);
        // Constants move with the words around them, so a wrong layout that keeps the words
        // whole reads other constants, often as small: this signal compares only layouts with
        // the same instruction words, the same code read in either byte order.
        signals[5].counts.push_back(hint ? hintedStructure(layout, layout.byteOrder, *hint)
                                         : code ? structureOf(layout.byteOrder, words.cpu).count : 0);
        signals[5].alike.push_back(words.cpuMatches);
        int x86Words = words.aligned ? 0 : words.beyondMostCommon;
        signals[4].counts.push_back(&words == &first ? x86Words : std::min(x86Words, x86First));
    }
    return signals;
}

template <typename T>
bool contains(const std::vector<T>& list, const T& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The layouts no other clearly beats on byte statistics, `ranked` best first. A twin of the
// best, the same bytes in each 32-bit group in another order, stays among them unless far
// behind: fixed-width code and 16-bit data make a wrong order within a group look as
// regular as the right one.
std::vector<std::size_t> closeLayouts(const std::vector<LayoutEvidence>& layouts,
                                      const std::vector<std::size_t>& ranked)
{
    const LayoutEvidence& best = layouts[ranked[0]];
    std::vector<std::size_t> close;
    for (std::size_t i : ranked) {
        const LayoutEvidence& other = layouts[i];
        bool twin = i != ranked[0] && twinLayouts(best.layout, other.layout) &&
                    other.meanBits - best.meanBits < kMinTwinLead;
        if (i == ranked[0] || !clearlyBehind(best, other) || twin)
            close.push_back(i);
    }
    return close;
}

struct Choice {
    std::size_t layout, runnerUp;
    const Signal* by;                    // null: the byte statistics alone, or `together`
    std::vector<const Signal*> together; // signals of code that each put some layouts behind
};

// The close layouts that one signal puts clearly ahead of every other close layout, and
// ahead of every other layout by at least what that signal needs to count at all, and that
// no signal puts behind a close layout; with a single close layout, that one. A layout the
// byte statistics put behind that shows the signal about as strongly leaves the signal
// telling nothing: it joins `rivals`, and the signal is `rivalSignal`.
std::vector<Choice> supportedLayouts(const std::vector<std::size_t>& close, const std::vector<std::size_t>& ranked,
                                     const std::vector<Signal>& signals, std::vector<std::size_t>& rivals,
                                     const Signal*& rivalSignal)
{
    if (close.size() == 1)
        return {{close[0], 0, nullptr, {}}};
    std::vector<Choice> supported;
    for (std::size_t i : close) {
        bool contradicted = false;
        const Signal* by = nullptr;
        std::size_t second = i;
        std::vector<const Signal*> clear;   // signals no layout behind on statistics shows as strongly
        for (const Signal& signal : signals) {
            bool aheadOfClose = true;
            std::vector<std::size_t> near;   // layouts behind on statistics, not on this signal
            std::size_t next = i;            // the strongest other layout on this signal
            for (std::size_t j : ranked) {
                if (j == i)
                    continue;
                if (contains(close, j)) {
                    contradicted |= signal.ahead(j, i);
                    aheadOfClose &= signal.ahead(i, j);
                } else if (signal.counts[i] < signal.counts[j] + signal.least) {
                    near.push_back(j);
                }
                if (next == i || signal.counts[j] > signal.counts[next])
                    next = j;
            }
            if (near.empty() && signal.decides && signal.code)
                clear.push_back(&signal);
            if (aheadOfClose && near.empty() && !by && signal.decides) {
                by = &signal;
                second = next;
            }
            if (aheadOfClose && !near.empty() && signal.decides) {
                rivals.insert(rivals.end(), near.begin(), near.end());
                rivalSignal = &signal;
            }
        }
        if (by && !contradicted) {
            // One signal alone outweighs signals together, found for another layout before.
            supported.erase(std::remove_if(supported.begin(), supported.end(),
                                           [](const Choice& choice) { return !choice.by; }),
                            supported.end());
            supported.push_back({i, second, by, {}});
        }
        // Where no one signal puts the layout ahead of every other, the code's signals may
        // together: each other close layout clearly behind on one of them. Code keeps its
        // words whole in some wrong layouts and its structure or byte order in others.
        std::vector<const Signal*> together;
        bool covered = !by && !contradicted && supported.empty();
        for (std::size_t j : close) {
            auto behind = std::find_if(clear.begin(), clear.end(), [&](const Signal* s) { return s->ahead(i, j); });
            covered &= j == i || behind != clear.end();
            if (j != i && behind != clear.end() && !contains(together, *behind))
                together.push_back(*behind);
        }
        if (covered && together.size() > 1) {
            std::sort(together.begin(), together.end());   // in the order of `signals`
            supported.push_back({i, close[0] == i ? close[1] : close[0], nullptr, together});
        }
    }
    return supported;
}

// The close layouts that no signal puts clearly behind another close layout.
std::vector<std::size_t> unruledOut(const std::vector<std::size_t>& close, const std::vector<Signal>& signals)
{
    std::vector<std::size_t> remaining;
    for (std::size_t i : close) {
        bool behind = false;
        for (const Signal& signal : signals) {
            for (std::size_t j : close)
                behind |= j != i && signal.ahead(j, i);
        }
        if (!behind)
            remaining.push_back(i);
    }
    return remaining.empty() ? close : remaining;
}

std::string statisticsLead(const LayoutEvidence& best, const LayoutEvidence& second)
{
    double steady = steadiness(best.bits, second.bits);
    return bitsText(second.meanBits - best.meanBits, 2) + " bits per byte, steady over " +
           std::to_string(kBlocks) + " samples (" +
           (std::isinf(steady) ? std::string("no spread") : bitsText(steady, 1) + " times its spread") + ")";
}

std::string signalLead(const Signal& signal, const Choice& choice)
{
    if (signal.least == 1)
        return "a header it lacks";
    return std::to_string(signal.counts[choice.layout]) + " " + signal.unit + " against " +
           std::to_string(signal.counts[choice.runnerUp]);
}

}  // namespace

std::vector<std::size_t> rankByStatistics(const std::vector<LayoutEvidence>& layouts)
{
    std::vector<std::size_t> ranked(layouts.size());
    for (std::size_t i = 0; i < ranked.size(); ++i)
        ranked[i] = i;
    std::stable_sort(ranked.begin(), ranked.end(), [&](std::size_t a, std::size_t b) {
        return layouts[a].meanBits < layouts[b].meanBits;
    });
    return ranked;
}

int hintedWords(const LayoutEvidence& layout, const CpuHint& hint)
{
    const InstructionCount& count = layout.instructions;
    int hinted = wordsOf(count, hint.cpu).beyondMostCommon;
    return 2 * hinted >= count.beyondMostCommon ? hinted : 0;
}

int hintedStructure(const LayoutEvidence& layout, const std::vector<StructureCount>& counts, const CpuHint& hint)
{
    const InstructionCount& words = layout.instructions;
    for (const StructureCount& count : counts) {
        // Structure needs code: some of that CPU's words, not outnumbered by another's.
        int matches = wordsOf(words, hint.cpu).matches;
        if (count.cpu == hint.cpu && matches >= kMinWords && 2 * matches >= words.cpuMatches)
            return count.count;
    }
    return 0;
}

Verdict decide(const std::vector<LayoutEvidence>& layouts, const PairStatistics& statistics,
               const CpuHint* hint)
{
    Verdict verdict;
    std::vector<std::size_t> ranked = rankByStatistics(layouts);
    verdict.remaining = ranked;
    if (statistics.samplesPerBlock == 0) {
        verdict.reason = "too little data to judge";
        verdict.remaining.clear();
        return verdict;
    }
    const LayoutEvidence& best = layouts[ranked[0]];
    verdict.chosen = ranked[0];
    verdict.runnerUp = ranked[1];
    // Where no byte follows from the one before, the statistics rule out nothing. The other
    // signals then narrow the layouts down, but only the words of a CPU given may decide, or
    // an x86 header given x86, as in a BIOS's top that is blank but for its reset jump:
    // text, chance words of data and vector tables would have named wrong layouts, tables
    // of data imitating a 68000's vectors, but no wrong layout puts fixed bytes in place.
    // Marks of structure decide nothing there: in compressed data they come by chance.
    bool structured = meanBits(statistics.unrelated) - best.meanBits >= kMinStructure;
    verdict.close = structured ? closeLayouts(layouts, ranked) : ranked;
    std::vector<Signal> signals = gatherSignals(layouts, hint);
    verdict.remaining = unruledOut(verdict.close, signals);
    for (std::size_t k = 0; k < signals.size() && !structured; ++k)
        signals[k].decides = hint && (k == 1 || (k == 0 && std::string(hint->family) == "x86"));
    std::vector<std::size_t> rivals;
    const Signal* rivalSignal = nullptr;
    std::vector<Choice> supported = supportedLayouts(verdict.close, ranked, signals, rivals, rivalSignal);
    if (supported.size() != 1) {
        if (supported.empty() && rivalSignal) {
            verdict.reason = std::string("the signals disagree: the byte statistics put behind a layout "
                                         "that shows as much ") + rivalSignal->evidence + " as those they favour";
            for (std::size_t i : rivals) {
                if (!contains(verdict.remaining, i))
                    verdict.remaining.push_back(i);
            }
        }
        if (!structured && verdict.remaining.size() == ranked.size())
            verdict.reason = "in no layout does a byte follow from the one before it (" +
                             bitsText(best.meanBits, 2) + " bits per byte at best, " +
                             bitsText(meanBits(statistics.unrelated), 2) +
                             " for unrelated bytes), and no header, instruction words or text "
                             "sets one apart: noise, compressed data or blank parts";
        return verdict;   // otherwise the reason depends on what the remaining layouts show
    }
    Choice choice = supported[0];
    // A layout that sets equal or nearly equal bytes side by side, as a wrong order of a smooth
    // picture's channels or of repeated samples does, looks more regular than the right one:
    // that is no evidence of the order by itself.
    if (!choice.by && choice.together.empty() &&
        best.nearlyEqual > layouts[ranked[1]].nearlyEqual + kMaxNearlyEqualGain) {
        verdict.reason = "the layout the byte statistics favour sets nearly equal bytes side by side (" +
                         bitsText(100 * best.nearlyEqual, 0) + "% against " +
                         bitsText(100 * layouts[ranked[1]].nearlyEqual, 0) + "%" +
                         "), as a wrong order of a smooth picture or of sound does, and no header, "
                         "instruction words or text confirms it";
        verdict.remaining = {ranked[0], ranked[1]};
        return verdict;
    }
    verdict.chosen = choice.layout;
    verdict.decidedBy = choice.by ? choice.by->name : "the byte statistics";
    verdict.runnerUp = choice.by || !choice.together.empty() ? choice.runnerUp : ranked[1];
    verdict.lead = choice.by ? signalLead(*choice.by, choice) : statisticsLead(best, layouts[ranked[1]]);
    if (!choice.together.empty()) {
        verdict.decidedBy.clear();
        for (std::size_t k = 0; k < choice.together.size(); ++k)
            verdict.decidedBy += std::string(k ? k + 1 == choice.together.size() ? " and " : ", " : "") +
                                 choice.together[k]->name;
        for (const Signal* signal : choice.together) {
            if (signal->ahead(choice.layout, choice.runnerUp)) {
                verdict.lead = signalLead(*signal, choice);
                break;
            }
        }
    }

    // No signal may favour a layout the byte statistics put behind; the deciding signal
    // cannot, as none of them shows it nearly as strongly.
    for (std::size_t i : ranked) {
        for (const Signal& signal : signals) {
            if (!contains(verdict.close, i) && signal.ahead(i, verdict.chosen)) {
                verdict.reason = "the signals disagree: by " + verdict.decidedBy +
                                 " one layout is ahead, by " + signal.name + " another";
                verdict.remaining = {verdict.chosen, i};
                return verdict;
            }
        }
    }
    verdict.decided = true;
    verdict.remaining.clear();
    return verdict;
}
