// Scores every layout `merge` can build from the parts and turns the verdict into a report.
#include "identify_report.h"

#include "cpu_signatures.h"
#include "image_marks.h"
#include "pair_statistics.h"
#include "part_checks.h"
#include "rom_checksums.h"
#include "text_words.h"
#include "verdict.h"

namespace {

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
        text += ", " + std::to_string(structure.count) + " whole multi-word instructions (" + structure.cpu + ")";
    return layout.header.empty() ? text : text + ", " + layout.header;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k)
        text += (k ? ", " : "") + items[k];
    return text;
}

std::vector<EvidenceLine> evidenceFor(const LayoutEvidence& chosen, std::size_t layouts,
                                      const Verdict& verdict, const PairStatistics& statistics,
                                      const std::vector<Bytes>& parts, std::size_t laneSize)
{
    std::vector<EvidenceLine> lines;
    if (!chosen.header.empty())
        lines.push_back({"header", chosen.header});
    const InstructionCount& words = chosen.instructions;
    if (words.cpuMatches >= 4)
        lines.push_back({"instructions", words.cpu + ": " + joined(words.words)});
    StructureCount structure = structureOf(chosen.structure, chosen.instructions.cpu);
    if (structure.count >= 16)
        lines.push_back({"structure", structure.cpu + ": " + std::to_string(structure.count) + " " + structure.what});
    Bytes image = mergeWindow(parts, chosen.layout, 0, laneSize - laneSize % std::size_t(chosen.layout.width));
    std::vector<std::string> strings = longestStrings(image, 2);
    if (!strings.empty())
        lines.push_back({"text", joined(strings)});
    lines.push_back({"byte statistics",
                     bitsText(chosen.meanBits, 2) + " bits per byte given the byte before, " +
                         bitsText(meanBits(statistics.unrelated), 2) + " for unrelated bytes; " +
                         std::to_string(verdict.close.size()) + " of " + std::to_string(layouts) +
                         " layouts close to the best"});
    return lines;
}

}  // namespace

IdentifyReport identifyLayouts(const std::vector<Bytes>& parts, const IdentifyOptions&)
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
        }
        Bytes sample = sampleImage(parts, laneSize, candidates[i]);
        evidence.instructions = countInstructions(sample);
        evidence.words = countCommonWords(sample);
        evidence.structure = countCodeStructure(sample, laneSize * parts.size());
        evidence.header = findHeader(parts, laneSize, candidates[i]);
        if (evidence.header.empty())
            evidence.header = findChecksum(streamSums, parts, laneSize, candidates[i]);
        layouts.push_back(evidence);
    }

    Verdict verdict = decide(layouts, statistics);
    report.decided = verdict.decided;
    if (verdict.decided) {
        const LayoutEvidence& chosen = layouts[verdict.chosen];
        report.layout = chosen.layout;
        report.evidence = evidenceFor(chosen, layouts.size(), verdict, statistics, parts, laneSize);
        report.decidedBy = verdict.decidedBy;
        report.lead = verdict.lead;
        report.runnerUp = layouts[verdict.runnerUp].layout;
    } else {
        report.reason = verdict.reason;
        for (std::size_t k = 0; k < verdict.close.size() && k < 4; ++k) {
            const LayoutEvidence& guess = layouts[verdict.close[k]];
            report.candidates.push_back({guess.layout, "", summary(guess)});
        }
    }
    for (std::size_t i : rankByStatistics(layouts))
        report.every.push_back({layouts[i].layout, "", summary(layouts[i])});
    return report;
}
