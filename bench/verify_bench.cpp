// kestrum-cli verify on a 64 MiB image and its four 16 MiB dumps, from reading the files to
// the printed reports: every dump matching, and one with two address lines crossed. The
// image is code from the identify corpus, repeated, every repeat changed a little; or a
// mostly erased flash image with the code at its top, read with one weak bit per chip, or
// with the two address lines crossed.
#include "part_images.h"
#include "verify_command.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kImageSize = 0x4000000;

void writeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
}

enum class Fault { None, Crossed, WeakBits };

Bytes codeImage(bool sparse)
{
    std::ifstream file(KESTRUM_IDENTIFY_CORPUS "/mips-be.bin", std::ios::binary);
    Bytes code(std::istreambuf_iterator<char>(file), {});
    Bytes image(kImageSize, 0xFF);
    std::size_t from = sparse ? kImageSize - 0x100000 : 0;
    for (std::size_t at = from; at < image.size(); ++at)
        image[at] = code[at % code.size()] ^ (unsigned char)(at / code.size() % 7);
    return image;
}

// The image and its dumps in a fresh folder; the dump of socket 3 with A5 and A17 crossed,
// or every dump with one bit of its code read 1.
Request writeFiles(bool sparse, Fault fault)
{
    Bytes image = codeImage(sparse);
    std::string refusal;
    std::vector<Bytes> dumps = splitImage(image, PartShape{4}, refusal);
    if (fault == Fault::Crossed) {
        Bytes& dump = dumps[2];
        Bytes part = dump;
        constexpr std::size_t a = std::size_t(1) << 5, b = std::size_t(1) << 17;
        for (std::size_t at = 0; at < dump.size(); ++at)
            dump[at] = part[(at & a ? b : 0) | (at & b ? a : 0) | (at & ~(a | b))];
    }
    for (Bytes& dump : dumps) {
        for (std::size_t at = dump.size() - 0x1000; fault == Fault::WeakBits && at < dump.size(); ++at) {
            if (dump[at] != 0xFF) {
                dump[at] |= (unsigned char)(dump[at] + 1);   // its lowest 0 bit read 1
                break;
            }
        }
    }
    fs::path folder = fs::temp_directory_path() / "kestrum-verify-bench";
    fs::create_directories(folder);
    Request request;
    request.command = Command::Verify;
    request.image = (folder / "rom.bin").string();
    writeFile(request.image, image);
    for (const char* name : {"u1.bin", "u2.bin", "u3.bin", "u4.bin"})
        request.parts.push_back((folder / name).string());
    for (std::size_t k = 0; k < dumps.size(); ++k) {
        writeFile(request.parts[k], dumps[k]);
    }
    return request;
}

void verify(benchmark::State& state, bool sparse, Fault fault)
{
    Request request = writeFiles(sparse, fault);
    for (auto _ : state) {
        std::ostringstream out;
        benchmark::DoNotOptimize(verifyFiles(request, out));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(2 * kImageSize));
    fs::remove_all(fs::path(request.image).parent_path());
}

}  // namespace

BENCHMARK_CAPTURE(verify, allMatching, false, Fault::None)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->Iterations(1);
BENCHMARK_CAPTURE(verify, addressLinesCrossed, false, Fault::Crossed)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->Iterations(1);
BENCHMARK_CAPTURE(verify, sparseAllMatching, true, Fault::None)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->Iterations(1);
BENCHMARK_CAPTURE(verify, sparseWeakBitPerChip, true, Fault::WeakBits)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->Iterations(1);
BENCHMARK_CAPTURE(verify, sparseAddressLinesCrossed, true, Fault::Crossed)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->Iterations(1);

BENCHMARK_MAIN();
