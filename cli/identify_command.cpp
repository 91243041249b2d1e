// kestrum-cli identify: reads the parts and prints the answer with the evidence that decided
// it, or why there is none.
#include "identify_command.h"

#include "arguments.h"
#include "file_access.h"
#include "identify_report.h"
#include "rom_files.h"

namespace {

std::size_t fileSize(const std::string& path)
{
    return std::size_t(queryFileSize(path.c_str()).size);
}

// Every part whole, then cut to the shortest: the layouts are judged over what all parts
// hold, whichever order they came in.
std::vector<Bytes> readCommonLength(const std::vector<std::string>& paths, std::ostream& err)
{
    std::vector<Bytes> parts;
    std::size_t shortest = 0;
    for (const std::string& path : paths) {
        parts.push_back(readWholeFile(path, kImageLimit / paths.size(),
                                      " for " + std::to_string(paths.size()) + " parts"));
        if (parts.back().size() < parts[shortest].size())
            shortest = parts.size() - 1;
    }
    std::size_t common = parts[shortest].size();
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (parts[k].size() > common)
            err << "kestrum-cli: warning: " << paths[k] << " is longer than " << paths[shortest]
                << "; only its first " << common << " of " << parts[k].size() << " bytes are used\n";
        parts[k].resize(common);
    }
    return parts;
}

void printAnswer(const IdentifyReport& report, std::size_t laneSize,
                 const std::vector<std::string>& paths, std::ostream& out)
{
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

void printCandidates(const IdentifyReport& report, const std::vector<std::string>& paths, std::ostream& out)
{
    for (const LayoutSummary& layout : report.candidates)
        out << "  " << (layout.label.empty() ? "candidate" : layout.label) << ": "
            << mergeCommand(layout.layout, paths) << " (" << layout.summary << ")\n";
    if (!report.candidates.empty() && report.remaining > report.candidates.size())
        out << "  and " << report.remaining - report.candidates.size() << " more\n";
}

}  // namespace

int identifyParts(const std::vector<std::string>& paths, const std::string& cpu, bool verbose,
                  std::ostream& out, std::ostream& err)
{
    std::vector<Bytes> parts = readCommonLength(paths, err);
    IdentifyReport report = identifyLayouts(parts, {cpu});
    for (const PartWarning& warning : report.warnings)
        err << "kestrum-cli: warning: " << paths[warning.part] << ": " << warning.text << '\n';

    out << (report.decided ? mergeCommand(report.layout, paths) : "undetermined: " + report.reason) << '\n';
    if (!report.hintNote.empty())
        out << "  cpu: " << report.hintNote << '\n';
    if (report.decided)
        printAnswer(report, parts[0].size(), paths, out);
    else
        printCandidates(report, paths, out);
    if (verbose) {
        out << "  every layout, best byte statistics first:\n";
        for (const LayoutSummary& layout : report.every)
            out << "    " << mergeCommand(layout.layout, paths) << ": " << layout.summary << '\n';
    }
    return report.decided ? 0 : kUndetermined;
}
