// kestrum-cli split with a board layout, from reading the image to the chips renamed into
// place: 1 MiB into six chips (three banks of a pair) beside the floor of the same bytes,
// and 64 MiB into eight chips in four banks. The plain split of 1 MiB into two parts runs
// beside its own floor for comparison.
#include "file_access.h"
#include "file_replace.h"
#include "run_cli.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path folder;
std::vector<unsigned char> image;

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));
}

// The images and the layouts in a fresh folder.
void prepareFiles()
{
    folder = fs::temp_directory_path() / ("kestrum-layout-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder / "chips");
    std::minstd_rand random(1);
    std::string small(0x100000, '\0'), large(0x4000000, '\0');
    for (char& byte : large)
        byte = char(random());
    small.assign(large, 0, small.size());
    writeFile(folder / "small.bin", small);
    writeFile(folder / "large.bin", large);
    writeFile(folder / "six.txt", "bank 512K lanes 2 chips a b\nbank 256K lanes 2 chips c d\n"
                                  "bank 256K lanes 2 chips e f\n");
    writeFile(folder / "eight.txt", "bank 16M lanes 2 chips a b\nbank 16M lanes 2 chips c d\n"
                                    "bank 16M lanes 2 chips e f\nbank 16M lanes 2 chips g h\n");
}

void runCommand(benchmark::State& state, std::vector<std::string> arguments)
{
    for (auto _ : state) {
        std::ostringstream out, err;
        if (runCli(arguments, out, err) != 0)
            return state.SkipWithError(err.str().c_str());
    }
}

// What such a command cannot avoid: reading the image once and writing each chip once,
// flushed to the disk and renamed into place, as every output is.
void floorOf(benchmark::State& state, const std::vector<std::size_t>& chips)
{
    std::vector<unsigned char> bytes(0x100000);
    std::string from = (folder / "chips" / "staged").string();
    for (auto _ : state) {
        if (readFileRange((folder / "small.bin").string().c_str(), bytes.data(), 0, std::uint32_t(bytes.size())) != 0)
            return state.SkipWithError("reading the image failed");
        std::size_t at = 0;
        for (std::size_t k = 0; k < chips.size(); ++k) {
            std::string to = (folder / "chips" / ("floor" + std::to_string(k))).string();
            if (writeNewFile(from.c_str(), bytes.data() + at, chips[k]) != 0 || !replaceFile(from.c_str(), to.c_str()))
                return state.SkipWithError("writing a chip failed");
            at += chips[k];
        }
    }
}

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
        std::printf("\n%-16s %-12s %10s %10s %7s %s\n", "measured", "against", "time ms", "floor ms", "ratio", "target");
        line("split/6 chips", "floor/6", 1.2);
        line("split/2 parts", "floor/2", 1.2);
        auto large = medians_.find("split/64M 8");
        if (large != medians_.end())
            std::printf("%-16s %-12s %10.1f %10s %7s %s\n", "split/64M 8", "-", large->second, "-", "-",
                        large->second < 500 ? "under 500 ms ok" : "under 500 ms MISSED");
    }

private:
    void line(const char* measured, const char* floor, double target)
    {
        auto m = medians_.find(measured), f = medians_.find(floor);
        if (m == medians_.end() || f == medians_.end())
            return;
        double ratio = m->second / f->second;
        std::printf("%-16s %-12s %10.2f %10.2f %7.2f %.1f %s\n", measured, floor, m->second, f->second, ratio,
                    target, ratio <= target ? "ok" : "MISSED");
    }

    std::map<std::string, double> medians_;
};

void add(const char* name, std::function<void(benchmark::State&)> function, double minSeconds)
{
    benchmark::RegisterBenchmark(name, function)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(minSeconds)
        ->Repetitions(5)
        ->DisplayAggregatesOnly(true);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    prepareFiles();
    std::string dir = (folder / "chips").string(), small = (folder / "small.bin").string();
    // Each floor runs just before what it is compared with, against the same state of the disk.
    add("floor/6", [](benchmark::State& state) {
        floorOf(state, {0x40000, 0x40000, 0x20000, 0x20000, 0x20000, 0x20000});
    }, 0.3);
    add("split/6 chips", [=](benchmark::State& state) {
        runCommand(state, {"split", "--layout", (folder / "six.txt").string(), small, dir});
    }, 0.3);
    add("floor/2", [](benchmark::State& state) { floorOf(state, {0x80000, 0x80000}); }, 0.3);
    add("split/2 parts", [=](benchmark::State& state) {
        runCommand(state, {"split", small, dir + "/p1", dir + "/p2"});
    }, 0.3);
    add("split/64M 8", [=](benchmark::State& state) {
        runCommand(state, {"split", "--layout", (folder / "eight.txt").string(), (folder / "large.bin").string(), dir});
    }, 0.5);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    fs::remove_all(folder);
    return 0;
}
