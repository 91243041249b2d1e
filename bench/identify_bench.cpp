// kestrum-cli identify on large parts: every layout of four 16 MiB parts, and a 1 MiB pair,
// from reading the files to the printed answer. The image is code from the identify
// corpus, repeated, with every repeat's bytes changed a little so no two are alike.
#include "identify_command.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Writes the parts of an image of `size` bytes in byte lanes; returns their paths.
std::vector<std::string> writeParts(std::size_t size, std::size_t parts)
{
    std::ifstream file(KESTRUM_IDENTIFY_CORPUS "/mips-be.bin", std::ios::binary);
    std::vector<unsigned char> code(std::istreambuf_iterator<char>(file), {});
    fs::path folder = fs::temp_directory_path() / "kestrum-identify-bench";
    fs::create_directories(folder);
    std::vector<std::string> paths;
    std::vector<std::ofstream> outs;
    for (std::size_t k = 0; k < parts; ++k) {
        const char* const names[] = {"u1.bin", "u2.bin", "u3.bin", "u4.bin"};
        paths.push_back((folder / names[k]).string());
        outs.emplace_back(paths.back(), std::ios::binary);
    }
    for (std::size_t at = 0; at < size; ++at) {
        unsigned char byte = code[at % code.size()] ^ (unsigned char)(at / code.size() % 7);
        outs[at % parts].put(char(byte));
    }
    return paths;
}

void identify(benchmark::State& state, std::size_t size, std::size_t parts)
{
    std::vector<std::string> paths = writeParts(size, parts);
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(identifyParts(paths, "", false, out, err));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
    fs::remove_all(fs::path(paths[0]).parent_path());
}

}  // namespace

BENCHMARK_CAPTURE(identify, fourParts16MiB, 0x4000000, 4)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(false)->Iterations(1);
BENCHMARK_CAPTURE(identify, twoParts1MiB, 0x100000, 2)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->MinTime(0.5);

BENCHMARK_MAIN();
