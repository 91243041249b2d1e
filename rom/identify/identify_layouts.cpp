// Scores every layout `merge` can build from the parts and turns the verdict into a report.
#include "identify_report.h"

#include "code_byte_order.h"
#include "cpu_signatures.h"
#include "image_marks.h"
#include "pair_statistics.h"
#include "part_checks.h"
#include "rom_checksums.h"
#include "text_words.h"
#include "verdict.h"

#include <algorithm>

namespace {

constexpr std::size_t kListed = 8;   // candidates listed when undetermined

// Instruction words and text are counted in up to eight windows of every lane, so each
// layout merges a few KiB rather than the whole image.
Bytes sampleImage(const std::vector<Bytes>& parts, std::size_t laneSize, const Layout& layout)
{
    constexpr std::size_t kWindow = 0x1000, kWindows = 8;
    if (laneSize <= kWindow * kWindows)
        return mergeWindow(parts, layout, 0, laneSize - laneSize % std::size_t(layout.width));
    Bytes sample;
    for (std::size_t w = 0; w < kWindows; ++w) {
        std::size_t from = (laneSize - kWindow) / (kWindows - 1) * w;
        Bytes window = mergeWindow(parts, layout, from - from % 4, kWindow);
        sample.insert(sample.end(), window.begin(), window.end());
    }
    return sample;
}

std::string summary(const LayoutEvidence& layout)
{
    std::string text = bitsText(layout.meanBits, 3) + " bits per byte, " +
                       std::to_string(layout.instructions.cpuMatches) + " instruction words" +
                       (layout.instructions.cpu.empty() ? "" : " (" + layout.instructions.cpu + ")") + ", " +
                       std::to_string(layout.words) + " common words";
    StructureCount structure = structureOf(layout.structure, layout.instructions.cpu);
    if (structure.count > 0)
        text += ", " + std::to_string(structure.count) + " marks of code structure (" + structure.cpu + ")";
    StructureCount order = structureOf(layout.byteOrder, layout.instructions.cpu);
    if (order.count > 0)
        text += ", " + std::to_string(order.count) + " calls through literals of its byte order";
    return layout.header.empty() ? text : text + ", " + layout.header;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k)
        text += (k ? ", " : "") + items[k];
    return text;
}

// The CPU whose code the layout shows, the given one first, or "".
std::string codeOf(const LayoutEvidence& layout, const CpuHint* hint)
{
    if (hint && hintedWords(layout, *hint) >= kMinInstructions)
        return hint->cpu;
    const InstructionCount& words = layout.instructions;
    return words.beyondMostCommon >= kMinInstructions ? words.cpu : "";
}

std::vector<EvidenceLine> evidenceFor(const LayoutEvidence& chosen, std::size_t layouts,
                                      const Verdict& verdict, const PairStatistics& statistics,
                                      const std::vector<Bytes>& parts, std::size_t laneSize,
                                      const CpuHint* hint)
{
    std::vector<EvidenceLine> lines;
    if (!chosen.header.empty())
        lines.push_back({"header", chosen.header});
    CpuWords words = wordsOf(chosen.instructions, hint ? hint->cpu : chosen.instructions.cpu);
    if (words.matches >= 4)
        lines.push_back({"instructions", words.cpu + ": " + joined(words.words)});
    for (const auto& [label, counts] :
         {std::pair{"structure", &chosen.structure}, std::pair{"byte order", &chosen.byteOrder}}) {
        StructureCount count = structureOf(*counts, hint ? hint->cpu : chosen.instructions.cpu);
        if (count.count >= kMinInstructions)
            lines.push_back({label, count.cpu + ": " + std::to_string(count.count) + " " + count.what});
    }
    // Text is evidence only where whole words show it; letters of a wrong layout are not. It
    // is quoted from the windows whose words were counted, so a large image is not merged.
    std::vector<std::string> strings = wordyStrings(sampleImage(parts, laneSize, chosen.layout), 2);
    if (chosen.words >= kMinWords && !strings.empty())
        lines.push_back({"text", joined(strings)});
    lines.push_back({"byte statistics",
                     bitsText(chosen.meanBits, 2) + " bits per byte given the byte before, " +
                         bitsText(meanBits(statistics.unrelated), 2) + " for unrelated bytes; " +
                         std::to_string(verdict.close.size()) + " of " + std::to_string(layouts) +
                         " layouts close to the best"});
    return lines;
}

// How the code of a hint is named: by its family where only one byte order has a name.
std::string codeName(const CpuHint& hint)
{
    int orders = 0;
    for (const CpuHint& other : cpuHints())
        orders += std::string(other.family) == hint.family;
    return orders > 1 ? hint.cpu : hint.family;
}

// How strongly a layout shows the code of the CPU its words name: those words beyond the most
// common one, or the marks of that CPU's structure, whichever is more. Unaligned x86 words
// match in any bytes and are left out.
int codeStrength(const LayoutEvidence& layout)
{
    const InstructionCount& words = layout.instructions;
    if (!words.aligned)
        return 0;
    int structure = words.cpuMatches >= kMinInstructions ? structureOf(layout.structure, words.cpu).count : 0;
    return std::max(words.beyondMostCommon, structure);
}

// What the layouts show of a hint's code, and of the strongest other code.
struct HintWeight {
    int hinted = 0, otherStrength = 0;
    bool header = false;
    std::string other, strongest;   // the CPU of the strongest other code, of the most words

    bool found() const { return hinted >= kMinInstructions || header; }
    bool outnumbered() const { return otherStrength >= 2 * hinted + kMinInstructions; }
};

HintWeight weighHint(const std::vector<LayoutEvidence>& layouts, const CpuHint& hint)
{
    HintWeight weight;
    int most = kMinInstructions - 1;
    for (const LayoutEvidence& layout : layouts) {
        weight.hinted = std::max({weight.hinted, hintedWords(layout, hint), hintedStructure(layout, layout.structure, hint)});
        weight.header |= headerOfCpu(layout.header, hint);
        if (layout.instructions.beyondMostCommon > most) {
            most = layout.instructions.beyondMostCommon;
            weight.strongest = layout.instructions.cpu;
        }
        if (layout.instructions.cpu != hint.cpu && codeStrength(layout) > weight.otherStrength) {
            weight.otherStrength = codeStrength(layout);
            weight.other = layout.instructions.cpu;
        }
    }
    return weight;
}

// A hint holds when some layout shows that CPU's code or header, and no layout shows another
// CPU's code far more strongly: Thumb-2 code in a layout that exchanges its halfwords reads
// as ARM's push and pop, a few against the thousands of Thumb-2 marks of the right layout.
// Otherwise it is set aside with a note of what the parts do look like, so a wrong hint
// never makes an answer; but Thumb code on a board named as ARM, or ARM code on one named as
// Thumb, is read in the byte order the board was named with.
const CpuHint* checkHint(const std::vector<LayoutEvidence>& layouts, const CpuHint* hint, std::string& note)
{
    if (!hint)
        return nullptr;
    HintWeight weight = weighHint(layouts, *hint);
    if (weight.found() && !weight.outnumbered())
        return hint;
    if (weight.found())
        note = "the parts show " + weight.other + " code more strongly than " + codeName(*hint) + " code (" +
               std::to_string(weight.otherStrength) + " instruction words or marks of its structure against " +
               std::to_string(weight.hinted) + ")";
    else
        note = "no " + codeName(*hint) + " code found in any layout; " +
               (weight.strongest.empty() ? "nor the instruction words of another CPU"
                                         : "the parts look like " + weight.strongest);
    // Either byte order of the companion's code may be what the parts show most strongly.
    const CpuHint* companion = companionHint(*hint);
    const CpuHint* shown = hintForCpu(weight.found() ? weight.other : weight.strongest);
    if (companion && shown && std::string(shown->family) == companion->family) {
        HintWeight other = weighHint(layouts, *companion);
        if (other.found() && !other.outnumbered()) {
            note += "; answered as for --cpu " + std::string(companion->name) + ", which the same core runs";
            return companion;
        }
    }
    note += "; answered as without --cpu";
    return nullptr;
}

// Why the remaining layouts stay undecided, from the code each shows.
std::string remainingReason(const std::vector<LayoutSummary>& remaining, std::size_t count)
{
    std::vector<const CpuHint*> cpus;
    for (const LayoutSummary& layout : remaining) {
        const CpuHint* hint = hintForCpu(layout.label);
        if (hint && std::find(cpus.begin(), cpus.end(), hint) == cpus.end())
            cpus.push_back(hint);
    }
    std::sort(cpus.begin(), cpus.end());   // in the order of cpuHints()
    if (count == 1)
        return "one layout remains, set apart only by what does not decide alone: x86 instruction "
               "words, which match by chance in wrong layouts too, or, where no byte follows from "
               "the one before, a header or text";
    std::string text = std::to_string(count) + " layouts remain";
    if (cpus.size() == 2 && std::string(cpus[0]->family) == cpus[1]->family)
        return text + (count == 2 ? ": the same " : ": ") + cpus[0]->family +
               " code read big- or little-endian; give --cpu " + cpus[0]->name + " or --cpu " + cpus[1]->name;
    if (cpus.size() > 1) {
        text += ": their code reads as that of different CPUs; give --cpu ";
        for (std::size_t k = 0; k < cpus.size(); ++k)
            text += std::string(k ? k + 1 == cpus.size() ? " or --cpu " : ", --cpu " : "") + cpus[k]->name;
        return text;
    }
    bool alike = cpus.size() == 1 && std::all_of(remaining.begin(), remaining.end(),
                                                 [](const LayoutSummary& layout) { return !layout.label.empty(); });
    return text + (alike ? ", each with " + std::string(cpus[0]->cpu) + " code" : std::string()) +
           ": the byte statistics fit them alike, and no header, instruction words or text sets one apart";
}

}  // namespace

IdentifyReport identifyLayouts(const std::vector<Bytes>& parts, const IdentifyOptions& options)
{
    IdentifyReport report;
    std::size_t laneSize = parts[0].size();
    for (std::size_t k = 0; k < parts.size(); ++k) {
        for (const std::string& finding : checkPart(parts[k]))
            report.warnings.push_back({k, finding});
    }

    std::vector<Layout> candidates = candidateLayouts(int(parts.size()), laneSize % 2 == 0);
    PairStatistics statistics = measurePairs(parts, laneSize, candidates);
    std::vector<std::uint64_t> streamSums = sumStreams(parts, laneSize);
    std::vector<LayoutEvidence> layouts;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        LayoutEvidence evidence;
        evidence.layout = candidates[i];
        if (!statistics.layouts.empty()) {
            evidence.bits = statistics.layouts[i];
            evidence.meanBits = meanBits(evidence.bits);
            evidence.nearlyEqual = statistics.nearlyEqual[i];
        }
        Bytes sample = sampleImage(parts, laneSize, candidates[i]);
        evidence.instructions = countInstructions(sample);
        evidence.words = countCommonWords(sample);
        evidence.structure = countCodeStructure(sample, laneSize * parts.size());
        evidence.byteOrder = countByteOrderMarks(sample);
        evidence.header = findHeader(parts, laneSize, candidates[i]);
        if (evidence.header.empty())
            evidence.header = findChecksum(streamSums, parts, laneSize, candidates[i]);
        layouts.push_back(evidence);
    }

    const CpuHint* hint = checkHint(layouts, findCpuHint(options.cpu), report.hintNote);
    Verdict verdict = decide(layouts, statistics, hint);
    report.decided = verdict.decided;
    if (verdict.decided) {
        const LayoutEvidence& chosen = layouts[verdict.chosen];
        report.layout = chosen.layout;
        report.evidence = evidenceFor(chosen, layouts.size(), verdict, statistics, parts, laneSize, hint);
        report.decidedBy = verdict.decidedBy;
        if (hint && verdict.decidedBy != "readable text" && verdict.decidedBy != "the byte statistics")
            report.decidedBy += " of " + std::string(hint->cpu) + " (--cpu " + hint->name + ")";
        report.lead = verdict.lead;
        report.runnerUp = layouts[verdict.runnerUp].layout;
    } else {
        // Where nothing rules out any layout, a list of them would tell nothing.
        std::size_t listed = verdict.remaining.size() < layouts.size() ? kListed : 0;
        for (std::size_t k = 0; k < verdict.remaining.size() && k < listed; ++k) {
            const LayoutEvidence& layout = layouts[verdict.remaining[k]];
            report.candidates.push_back({layout.layout, codeOf(layout, hint), summary(layout)});
        }
        report.remaining = verdict.remaining.size();
        report.reason = verdict.reason.empty() ? remainingReason(report.candidates, report.remaining)
                                               : verdict.reason;
    }
    for (std::size_t i : rankByStatistics(layouts))
        report.every.push_back({layouts[i].layout, "", summary(layouts[i])});
    return report;
}
