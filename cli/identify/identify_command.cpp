// kestrum-cli identify: reads the parts and prints the answer with the evidence that decided
// it, or why there is none.
#include "identify_command.h"

#include "file_access.h"
#include "identify_report.h"
#include "rom_files.h"

namespace {

std::size_t fileSize(const std::string& path)
{
    return std::size_t(queryFileSize(path.c_str()).size);
}

void printAnswer(const IdentifyReport& report, std::size_t laneSize,
                 const std::vector<std::string>& paths, std::ostream& out)
{
    out << mergeCommand(report.layout, paths) << '\n';
    for (const EvidenceLine& line : report.evidence)
        out << "  " << line.label << ": " << line.text << '\n';
    // merge takes the part size from its part 1 and refuses a shorter part after it.
    const std::string& first = paths[std::size_t(report.layout.order[0])];
    std::size_t firstSize = fileSize(first);
    if (firstSize > laneSize)
        out << "  note: " << first << " holds " << firstSize << " bytes, the others "
            << laneSize << "; cut it to " << laneSize << " bytes before this merge\n";
    out << "  ahead of the runner-up by " << report.lead << "; decided by " << report.decidedBy
        << "; runner-up: " << mergeCommand(report.runnerUp, paths) << '\n';
}

}  // namespace

int identifyParts(const std::vector<std::string>& paths, bool verbose, std::ostream& out,
                  std::ostream& err)
{
    std::vector<Bytes> parts = readParts(paths, 1, err);
    IdentifyReport report = identifyLayouts(parts, {});
    for (const PartWarning& warning : report.warnings)
        err << "kestrum-cli: warning: " << paths[warning.part] << ": " << warning.text << '\n';

    if (report.decided) {
        printAnswer(report, parts[0].size(), paths, out);
    } else {
        out << "undetermined: " << report.reason << '\n';
        for (const LayoutSummary& guess : report.candidates)
            out << "  guess: " << mergeCommand(guess.layout, paths) << " (" << guess.summary << ")\n";
    }
    if (verbose) {
        out << "  every layout, best byte statistics first:\n";
        for (const LayoutSummary& layout : report.every)
            out << "    " << mergeCommand(layout.layout, paths) << ": " << layout.summary << '\n';
    }
    return report.decided ? 0 : kUndetermined;
}
