// kestrum-cli identify: reads the parts, scores every layout `merge` can build, and prints
// the answer with the evidence that decided it, or why there is none.
#include "identify_command.h"

#include "arguments.h"
#include "cpu_signatures.h"
#include "file_access.h"
#include "image_marks.h"
#include "part_checks.h"
#include "pair_statistics.h"
#include "rom_checksums.h"
#include "rom_files.h"
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

std::size_t fileSize(const std::string& path)
{
    return std::size_t(queryFileSize(path.c_str()).size);
}

std::string summary(const LayoutEvidence& layout)
{
    std::string text = bitsText(layout.meanBits, 3) + " bits per byte, " +
                       std::to_string(layout.instructions.cpuMatches) + " instruction words" +
                       (layout.instructions.cpu.empty() ? "" : " (" + layout.instructions.cpu + ")") + ", " +
                       std::to_string(layout.words) + " common words";
    return layout.header.empty() ? text : text + ", " + layout.header;
}

void printEvidence(const std::vector<LayoutEvidence>& layouts, const Verdict& verdict,
                   const PairStatistics& statistics, const std::vector<Bytes>& parts,
                   std::size_t laneSize, const std::vector<std::string>& paths, std::ostream& out)
{
    const LayoutEvidence& chosen = layouts[verdict.chosen];
    if (!chosen.header.empty())
        out << "  header: " << chosen.header << '\n';
    const InstructionCount& words = chosen.instructions;
    if (words.cpuMatches >= 4) {
        out << "  instructions: " << words.cpu << ':';
        for (std::size_t k = 0; k < words.words.size(); ++k)
            out << (k ? ", " : " ") << words.words[k];
        out << '\n';
    }
    Bytes image = mergeWindow(parts, chosen.layout, 0, laneSize - laneSize % std::size_t(chosen.layout.width));
    std::vector<std::string> strings = longestStrings(image, 2);
    if (!strings.empty()) {
        out << "  text:";
        for (std::size_t k = 0; k < strings.size(); ++k)
            out << (k ? ", " : " ") << strings[k];
        out << '\n';
    }
    out << "  byte statistics: " << bitsText(chosen.meanBits, 2)
        << " bits per byte given the byte before, " << bitsText(meanBits(statistics.unrelated), 2)
        << " for unrelated bytes; " << verdict.close.size() << " of " << layouts.size()
        << " layouts close to the best\n";
    // merge takes the part size from its part 1 and refuses a shorter part after it.
    const std::string& first = paths[std::size_t(chosen.layout.order[0])];
    std::size_t firstSize = fileSize(first);
    if (firstSize > laneSize)
        out << "  note: " << first << " holds " << firstSize << " bytes, the others "
            << laneSize << "; cut it to " << laneSize << " bytes before this merge\n";
    out << "  ahead of the runner-up by " << verdict.lead << "; decided by " << verdict.decidedBy
        << "; runner-up: " << mergeCommand(layouts[verdict.runnerUp].layout, paths) << '\n';
}

}  // namespace

int identifyParts(const std::vector<std::string>& paths, bool verbose, std::ostream& out,
                  std::ostream& err)
{
    std::size_t count = paths.size();
    std::vector<Bytes> parts = readParts(paths, 1, err);
    std::size_t laneSize = parts[0].size();
    for (std::size_t k = 0; k < count; ++k) {
        for (const std::string& finding : checkPart(parts[k]))
            err << "kestrum-cli: warning: " << paths[k] << ": " << finding << '\n';
    }

    std::vector<Layout> candidates = candidateLayouts(int(count), laneSize % 2 == 0);
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
        evidence.header = findHeader(parts, laneSize, candidates[i]);
        if (evidence.header.empty())
            evidence.header = findChecksum(streamSums, parts, laneSize, candidates[i]);
        layouts.push_back(evidence);
    }

    Verdict verdict = decide(layouts, statistics);
    if (verdict.decided) {
        out << mergeCommand(layouts[verdict.chosen].layout, paths) << '\n';
        printEvidence(layouts, verdict, statistics, parts, laneSize, paths, out);
    } else {
        out << "undetermined: " << verdict.reason << '\n';
        for (std::size_t k = 0; k < verdict.close.size() && k < 4; ++k) {
            const LayoutEvidence& guess = layouts[verdict.close[k]];
            out << "  guess: " << mergeCommand(guess.layout, paths) << " (" << summary(guess) << ")\n";
        }
    }
    if (verbose) {
        out << "  every layout, best byte statistics first:\n";
        for (std::size_t i : rankByStatistics(layouts))
            out << "    " << mergeCommand(layouts[i].layout, paths) << ": " << summary(layouts[i]) << '\n';
    }
    return verdict.decided ? 0 : kUndetermined;
}
