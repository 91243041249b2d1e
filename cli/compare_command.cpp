// kestrum-cli compare: reads every read, then prints the comparison's findings in words.
#include "compare_command.h"

#include "read_comparison.h"
#include "reasons.h"
#include "rom_files.h"
#include "verify_command.h"

#include <cstdio>

namespace {

constexpr std::size_t kRanges = 8;      // ranges listed without -v
constexpr std::size_t kByteLines = 64;  // differing bytes -v lists with every read's value

std::string hex(std::size_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", unsigned(value));
    return text;
}

std::string bytesText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string offsets(const std::vector<std::size_t>& at, std::size_t most)
{
    std::string text;
    for (std::size_t i = 0; i < at.size() && i < most; ++i)
        text += (i ? ", " : "") + hex(at[i]);
    if (at.size() > most)
        text += std::string(", and ") + std::to_string(at.size() - most) + " more";
    return text;
}

// What a read is, after its checksums, when it is not compared byte by byte or strays.
std::string noteText(const ReadNote& note, std::size_t size, const ReadComparison& comparison,
                     const Request& request)
{
    switch (note.kind) {
    case ReadKind::Empty:
        return ": empty, nothing was read";
    case ReadKind::Blank:
        return std::string(": blank, every byte ") + (note.blank ? "0xFF" : "0x00");
    case ReadKind::OtherSize:
        return std::string(": ") + (size < comparison.size ? "shorter" : "longer") + " than the " +
               std::to_string(comparison.size) + " bytes of the others, not compared";
    case ReadKind::Shifted:
        return ": shifted, reads at each offset the byte of " + request.parts[std::size_t(comparison.reference)] + " " +
               bytesText(std::size_t(note.shift < 0 ? -note.shift : note.shift)) +
               (note.shift < 0 ? " earlier" : " further on") + ", not compared";
    default:
        return comparison.majorityKnown && note.offMajority ? std::string("; off the majority in ") + bytesText(note.offMajority) : "";
    }
}

void printDifferences(const ReadComparison& comparison, const std::vector<Bytes>& reads, const Request& request,
                      std::ostream& out)
{
    if (comparison.compared < 2) {
        out << "  fewer than 2 reads of " << comparison.size << " bytes hold data: nothing to compare byte by byte\n";
        return;
    }
    std::string ranges;
    std::size_t most = request.verbose ? comparison.ranges.size() : kRanges;
    for (std::size_t i = 0; i < comparison.ranges.size() && i < most; ++i) {
        const ByteRange& range = comparison.ranges[i];
        ranges += (i ? ", " : "") + hex(range.first) + (range.last > range.first ? std::string("-") + hex(range.last) : std::string());
    }
    if (comparison.ranges.size() > most)
        ranges += std::string(", and ") + std::to_string(comparison.ranges.size() - most) + " more";
    if (!ranges.empty())
        out << "  " << (comparison.ranges.size() == 1 ? "range: " : "ranges: ") << ranges << '\n';
    std::string lines;
    for (int line = 0; line < 8; ++line) {
        if (comparison.lineBytes[line])
            lines += (lines.empty() ? "" : ", ") + std::string("D") + std::to_string(line) + " in " +
                     bytesText(comparison.lineBytes[line]);
    }
    if (!lines.empty())
        out << "  data lines that flip: " << lines << '\n';
    if (comparison.majorityKnown) {
        if (comparison.noMajority.empty())
            out << "  majority: more than half of the " << comparison.compared << " reads agree at every byte\n";
        else
            out << "  no majority at " << offsets(comparison.noMajority, kRanges) << " ("
                << bytesText(comparison.noMajority.size()) << ")\n";
    }
    std::size_t listed = 0;
    for (std::size_t r = 0; request.verbose && r < comparison.ranges.size() && listed < kByteLines; ++r) {
        for (std::size_t at = comparison.ranges[r].first; at <= comparison.ranges[r].last && listed < kByteLines;
             ++at, ++listed) {
            out << "  " << hex(at) << ':';
            for (std::size_t k = 0; k < reads.size(); ++k) {
                char byte[8];
                std::snprintf(byte, sizeof byte, " %02X", reads[k][at]);
                out << (comparison.notes[k].kind == ReadKind::Good ? byte : " --");
            }
            out << '\n';
        }
    }
}

}  // namespace

int compareFiles(const Request& request, std::ostream& out)
{
    std::vector<Bytes> reads;
    for (const std::string& path : request.parts)
        reads.push_back(readPossiblyEmpty(path, kImageLimit));
    ReadComparison comparison = compareReads(reads);
    if (comparison.identical) {
        out << "identical: " << reads.size() << " reads, " << readChecksums(reads[0]) << '\n';
        if (comparison.notes[0].kind != ReadKind::Good)
            out << "  every read" << noteText(comparison.notes[0], reads[0].size(), comparison, request) << '\n';
    } else {
        out << "differ: " << reads.size() << " reads, " << comparison.size << " bytes; the " << comparison.compared
            << " compared disagree in " << bytesText(comparison.differing) << '\n';
        for (std::size_t r = 0; r < reads.size(); ++r)
            out << "  " << request.parts[r] << ": " << readChecksums(reads[r]) << noteText(comparison.notes[r], reads[r].size(), comparison, request)
                << '\n';
        printDifferences(comparison, reads, request, out);
    }
    if (!request.majority.empty()) {
        if (!comparison.identical && (comparison.compared < 3 || !comparison.noMajority.empty()))
            refuseWrite(request.majority, comparison.compared < 3
                                              ? "fewer than 3 reads compared byte by byte, no majority"
                                              : "no majority at " + offsets(comparison.noMajority, kRanges));
        writeOutputs({{request.majority, majorityRead(reads, comparison)}});
    }
    return comparison.identical ? 0 : kDiffers;
}
