// The lane transforms and the commands on a full 1 MiB image, each beside the floor it is
// judged against, measured in the same run: memcpy of 1 MiB for the transforms, the same
// file routines moving the same bytes for the commands.
#include "commands.h"
#include "file_access.h"
#include "lanes.h"
#include "work_area.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kImageSize = 0x100000;
constexpr int kRepetitions = 5;
constexpr double kMinSeconds = 0.2;

std::array<std::string, 5> fields;

bool fetchField(int field)
{
    const std::string& text = fields[std::size_t(field - IDC_IMAGE_PATH)];
    std::size_t kept = std::min(text.size(), std::size_t(kPathBufferSize - 1));
    text.copy(pathBuffer(), kept);
    pathBuffer()[kept] = '\0';
    return kept == text.size();
}

void fillImage()
{
    clearWorkArea();
    std::minstd_rand random(1);
    std::generate(imageRegion(), imageRegion() + kImageSize, [&] { return (unsigned char)random(); });
}

int partCount(unsigned char fourParts)
{
    return fourParts ? 4 : 2;
}

void copyMebibyte(benchmark::State& state)
{
    fillImage();
    for (auto _ : state) {
        std::memcpy(lane(0), imageRegion(), kImageSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}

void splitMebibyte(benchmark::State& state, unsigned char fourParts)
{
    fillImage();
    std::uint32_t partSize = partSizeForImage(kImageSize, fourParts);
    for (auto _ : state) {
        splitImage(partSize, fourParts);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}

void mergeMebibyte(benchmark::State& state, unsigned char fourParts)
{
    fillImage();
    splitImage(partSizeForImage(kImageSize, fourParts), fourParts);
    std::uint32_t partSize = partSizeForImage(kImageSize, fourParts);
    for (auto _ : state) {
        mergeParts(partSize, fourParts);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}

// The command-line program's 16-bit word lanes, run over the work area's regions.
void wordsMebibyte(benchmark::State& state, unsigned char fourParts, bool split)
{
    fillImage();
    LaneLayout layout{partCount(fourParts), 2};
    unsigned char* lanes[] = {lane(0), lane(1), lane(2), lane(3)};
    std::size_t laneSize = laneSizeFor(kImageSize, layout);
    for (auto _ : state) {
        if (split)
            spreadImage(imageRegion(), lanes, laneSize, layout);
        else
            gatherImage(imageRegion(), lanes, laneSize, layout);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kImageSize);
}

// Files live in a directory of the run's own; the image and its parts are made once.
std::filesystem::path benchDir;

void prepareFiles()
{
    std::random_device random;
    do
        benchDir = std::filesystem::temp_directory_path() /
                   ("kestrum-bench-" + std::to_string(random()));
    while (!std::filesystem::create_directory(benchDir));
    const char* const names[] = {"rom.bin", "p1.bin", "p2.bin", "p3.bin", "p4.bin"};
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = (benchDir / names[i]).string();
    fillImage();
    writeWholeFile(fields[0].c_str(), imageRegion(), kImageSize);
}

void failRun(benchmark::State& state, const char* what)
{
    state.SkipWithError(what);
}

// What a split cannot avoid: reading the image once and writing each part once.
void splitFloor(benchmark::State& state, unsigned char fourParts)
{
    std::uint32_t partSize = partSizeForImage(kImageSize, fourParts);
    for (auto _ : state) {
        if (readFileRange(fields[0].c_str(), imageRegion(), 0, kImageSize) != 0)
            return failRun(state, "reading the image failed");
        for (int k = 0; k < partCount(fourParts); ++k) {
            if (writeWholeFile(fields[1 + k].c_str(), lane(k), partSize) != 0)
                return failRun(state, "writing a part failed");
        }
    }
}

void commandSplit(benchmark::State& state, unsigned char fourParts)
{
    setFourPartFlag(fourParts);
    for (auto _ : state) {
        if (runSplit(fetchField) != Outcome::Complete)
            return failRun(state, "runSplit failed");
    }
    setFourPartFlag(0);
}

// What a merge cannot avoid: reading each part once and writing the image once.
void mergeFloor(benchmark::State& state, unsigned char fourParts)
{
    std::uint32_t partSize = partSizeForImage(kImageSize, fourParts);
    setFourPartFlag(fourParts);
    if (runSplit(fetchField) != Outcome::Complete)
        return failRun(state, "making the parts failed");
    for (auto _ : state) {
        for (int k = 0; k < partCount(fourParts); ++k) {
            if (readFileRange(fields[1 + k].c_str(), lane(k), 0, partSize) != 0)
                return failRun(state, "reading a part failed");
        }
        if (writeWholeFile(fields[0].c_str(), imageRegion(), kImageSize) != 0)
            return failRun(state, "writing the image failed");
    }
    setFourPartFlag(0);
}

void commandMerge(benchmark::State& state, unsigned char fourParts)
{
    setFourPartFlag(fourParts);
    if (runSplit(fetchField) != Outcome::Complete)
        return failRun(state, "making the parts failed");
    for (auto _ : state) {
        if (runMerge(fetchField) != Outcome::Complete)
            return failRun(state, "runMerge failed");
    }
    setFourPartFlag(0);
}

// Shows the usual table, then each measurement as a multiple of its floor, from the
// medians of the repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred)
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const struct {
            const char *measured, *floor;
            double target;
        } pairs[] = {
            {"splitImage/2", "memcpy", 1.5},        {"splitImage/4", "memcpy", 1.5},
            {"mergeParts/2", "memcpy", 1.5},        {"mergeParts/4", "memcpy", 1.5},
            {"spreadWords/2", "memcpy", 1.5},       {"spreadWords/4", "memcpy", 1.5},
            {"gatherWords/2", "memcpy", 1.5},       {"gatherWords/4", "memcpy", 1.5},
            {"runSplit/2", "splitFloor/2", 1.2},    {"runSplit/4", "splitFloor/4", 1.2},
            {"runMerge/2", "mergeFloor/2", 1.2},    {"runMerge/4", "mergeFloor/4", 1.2},
        };
        std::printf("\n%-14s %-14s %10s %10s %7s %7s\n", "measured", "floor", "time us", "floor us",
                    "ratio", "target");
        for (const auto& pair : pairs) {
            auto measured = medians_.find(pair.measured);
            auto floor = medians_.find(pair.floor);
            if (measured == medians_.end() || floor == medians_.end())
                continue;
            double ratio = measured->second / floor->second;
            std::printf("%-14s %-14s %10.1f %10.1f %7.2f %7.1f %s\n", pair.measured, pair.floor,
                        measured->second, floor->second, ratio, pair.target,
                        ratio <= pair.target ? "ok" : "MISSED");
        }
    }

private:
    std::map<std::string, double> medians_;
};

using ModeBenchmark = void (*)(benchmark::State&, unsigned char);

void add(const char* name, ModeBenchmark function, unsigned char fourParts)
{
    benchmark::RegisterBenchmark(name,
                                 [function, fourParts](benchmark::State& state) {
                                     function(state, fourParts);
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(kMinSeconds)
        ->Repetitions(kRepetitions)
        ->DisplayAggregatesOnly(true);
}

// Each floor runs just before what it is compared with, so both see the same state of
// the page cache and the disk.
void registerAll()
{
    add("memcpy", [](benchmark::State& state, unsigned char) { copyMebibyte(state); }, 0);
    add("splitImage/2", splitMebibyte, 0);
    add("splitImage/4", splitMebibyte, 1);
    add("mergeParts/2", mergeMebibyte, 0);
    add("mergeParts/4", mergeMebibyte, 1);
    for (unsigned char fourParts : {0, 1}) {
        add(fourParts ? "spreadWords/4" : "spreadWords/2",
            [](benchmark::State& state, unsigned char mode) { wordsMebibyte(state, mode, true); },
            fourParts);
        add(fourParts ? "gatherWords/4" : "gatherWords/2",
            [](benchmark::State& state, unsigned char mode) { wordsMebibyte(state, mode, false); },
            fourParts);
    }
    add("splitFloor/2", splitFloor, 0);
    add("runSplit/2", commandSplit, 0);
    add("splitFloor/4", splitFloor, 1);
    add("runSplit/4", commandSplit, 1);
    add("mergeFloor/2", mergeFloor, 0);
    add("runMerge/2", commandMerge, 0);
    add("mergeFloor/4", mergeFloor, 1);
    add("runMerge/4", commandMerge, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    prepareFiles();
    registerAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(benchDir);
    return 0;
}
