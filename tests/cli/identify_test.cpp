// kestrum-cli identify over the corpus of known images, and its warnings and refusals.
#include "cli_run.h"

#include "identify/code_byte_order.h"
#include "identify/cpu_signatures.h"
#include "identify/instruction_order.h"
#include "lanes.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const char* const kPartNames[] = {"u1.bin", "u2.bin", "u3.bin", "u4.bin"};

struct Split {
    const char* name;
    LaneLayout layout;
    bool swap;
    std::vector<int> handedOver;   // handedOver[k]: the lane given to identify as its part k
};

const Split kSplits[] = {
    {"2 byte lanes", {2, 1}, false, {1, 0}},
    {"4 byte lanes", {4, 1}, false, {2, 0, 3, 1}},
    {"2 word lanes", {2, 2}, false, {1, 0}},
    {"2 word lanes swapped", {2, 2}, true, {0, 1}},
    {"4 word lanes", {4, 2}, false, {3, 1, 0, 2}},
    {"4 word lanes swapped", {4, 2}, true, {1, 3, 2, 0}},
};

struct Image {
    const char* file;   // in the corpus, or "" for the bytes below
    int decided;        // of the six splits at least this many decided; -1: none may be
    Bytes bytes;
};

void PrintTo(const Image& image, std::ostream* out)
{
    *out << (*image.file ? image.file : "blank");
}

Bytes corpusImage(const Image& image)
{
    if (!*image.file)
        return image.bytes;
    std::ifstream file(std::string(KESTRUM_IDENTIFY_CORPUS) + "/" + image.file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

class IdentifyParts : public ScratchDir {
protected:
    CliRun identifySplit(const Bytes& image, const Split& split, const std::string& cpu, bool& rebuilt);
};

// Cuts the image as a programmer's parts would be, with the engine's transforms, and hands
// them over shuffled; returns what identify printed and whether its merge rebuilt the image.
CliRun IdentifyParts::identifySplit(const Bytes& image, const Split& split, const std::string& cpu, bool& rebuilt)
{
    std::size_t parts = std::size_t(split.layout.parts);
    std::size_t laneSize = laneSizeFor(image.size(), split.layout);
    EXPECT_EQ(laneSize * parts, image.size()) << "corpus images fill whole groups";
    std::vector<Bytes> lanes(parts, Bytes(laneSize));
    std::vector<unsigned char*> pointers;
    for (Bytes& lane : lanes)
        pointers.push_back(lane.data());
    spreadImage(image.data(), pointers.data(), laneSize, split.layout);
    std::vector<std::string> arguments = {"identify"};
    if (!cpu.empty())
        arguments.insert(arguments.end(), {"--cpu", cpu});
    for (std::size_t k = 0; k < parts; ++k) {
        Bytes& lane = lanes[std::size_t(split.handedOver[k])];
        if (split.swap)
            swapBytePairs(lane.data(), lane.size());
        arguments.push_back(kPartNames[k]);
        writeBytes(arguments.back(), lane);
    }
    CliRun run = runCliWith(arguments);
    rebuilt = false;
    if (run.status != 0)
        return run;
    std::istringstream words(run.out.substr(0, run.out.find('\n')));
    std::vector<std::string> merge{std::istream_iterator<std::string>(words), {}};
    if (merge.size() < 3 || merge[0] != "kestrum-cli")
        return run;
    merge.erase(merge.begin());
    for (std::string& word : merge)
        word = word == "IMAGE" ? "rebuilt.bin" : word;
    rebuilt = runCliWith(merge).status == 0 && readBytes("rebuilt.bin") == image;
    return run;
}

class IdentifyCorpus : public IdentifyParts, public testing::WithParamInterface<Image> {};

// A wrong answer anywhere fails; so does noise or a blank image that is not undetermined,
// and an image decided in fewer splits than measured in identify_corpus/results.md.
TEST_P(IdentifyCorpus, DecidesOnlyLayoutsThatRebuildTheImage)
{
    Bytes image = corpusImage(GetParam());
    ASSERT_FALSE(image.empty());
    int decided = 0;
    for (const Split& split : kSplits) {
        SCOPED_TRACE(split.name);
        bool rebuilt = false;
        CliRun run = identifySplit(image, split, "", rebuilt);
        if (GetParam().decided < 0 || run.status != 0) {
            EXPECT_EQ(run.status, 3) << run.out << run.err;
            EXPECT_EQ(run.out.rfind("undetermined: ", 0), 0u) << run.out;
            continue;
        }
        ++decided;
        EXPECT_TRUE(rebuilt) << "wrong answer: " << run.out;
    }
    EXPECT_GE(decided, GetParam().decided);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, IdentifyCorpus,
    testing::Values(
        Image{"aarch64.bin", 6, {}}, Image{"arm.bin", 6, {}}, Image{"m68000.bin", 6, {}},
        Image{"m68000-quiet.bin", 6, {}}, Image{"mac-checksum.bin", 6, {}},
        Image{"amiga-checksum.bin", 6, {}}, Image{"mips-be.bin", 6, {}},
        Image{"mips-be-quiet.bin", 1, {}}, Image{"powerpc.bin", 6, {}},
        Image{"riscv64.bin", 6, {}}, Image{"sparc.bin", 6, {}}, Image{"thumb2.bin", 6, {}},
        Image{"thumb2-quiet.bin", 6, {}}, Image{"x86-16.bin", 6, {}}, Image{"x86-32.bin", 6, {}},
        Image{"x86-32-quiet.bin", 0, {}}, Image{"alpha-zlib.bin", 6, {}},
        Image{"m68000-zlib.bin", 6, {}}, Image{"thumb2-zlib.bin", 0, {}},
        Image{"sh-be-zlib.bin", 6, {}}, Image{"sh4-le-zlib.bin", 6, {}},
        Image{"seabios-top.bin", 6, {}}, Image{"ovmf-top.bin", 4, {}},
        Image{"vgabios-stdvga.bin", 6, {}}, Image{"ipxe-rtl8139-start.bin", 0, {}},
        Image{"locale-ctype.bin", 0, {}},
        Image{"pascal-table.bin", 0, {}}, Image{"nettle-start.bin", 4, {}},
        Image{"msvcrt-start.bin", 4, {}}, Image{"fmtbcd-object.bin", 3, {}},
        Image{"pg-upgrade-start.bin", 4, {}}, Image{"gfortran-dll-part.bin", 0, {}},
        Image{"hh-start.bin", 0, {}},
        Image{"text-readme.bin", 6, {}}, Image{"sound-pcm16le.bin", 0, {}},
        Image{"sound-pcm8.bin", 0, {}}, Image{"tiles-4bpp.bin", 0, {}},
        Image{"table-log16le.bin", 0, {}}, Image{"table-sine16be.bin", 0, {}},
        Image{"efi-utf16.bin", 0, {}}, Image{"efi-utf16-mixed.bin", 3, {}},
        Image{"ppc64el-libc.bin", 1, {}}, Image{"thumb2-libstdcxx.bin", 0, {}},
        Image{"thumb2-be-zlib.bin", 0, {}}, Image{"xz-binutils.bin", -1, {}},
        Image{"picture-rgb24.bin", 0, {}}, Image{"random.bin", -1, {}}, Image{"", -1, Bytes(0x4000, 0xFF)},
        Image{"", -1, Bytes(0x4000, 0x00)}),
    [](const testing::TestParamInfo<Image>& info) {
        std::string name = *info.param.file ? info.param.file : (info.param.bytes[0] ? "blankFF" : "blank00");
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

class Identify : public ScratchDir {};

// The board's CPU settles what the contents leave open, a CPU named wrongly settles nothing,
// and each undetermined answer says what remains; the output holds the line given.
TEST_F(IdentifyParts, TakesTheCpuAsAHintAndSaysWhatRemains)
{
    struct Row {
        const char* file;
        std::size_t split;   // in kSplits
        std::string cpu;
        int status;
        std::string line;
    };
    const Row rows[] = {
        {"mips-be-quiet.bin", 1, "", 3, "the same MIPS code read big- or little-endian; give --cpu mips or --cpu mips-le"},
        {"mips-be-quiet.bin", 1, "mips", 0, "decided by instruction words of MIPS, big-endian (--cpu mips)"},
        {"mips-be-quiet.bin", 1, "68000", 3, "cpu: no 68000 code found in any layout; the parts look like MIPS, big-endian"},
        {"sh4-le-zlib.bin", 0, "sh-le", 0, "decided by instruction words of SuperH, little-endian (--cpu sh-le)"},
        {"sh4-le-zlib.bin", 2, "sh-le", 0, "decided by the code's structure of SuperH, little-endian (--cpu sh-le)"},
        {"sh-be-zlib.bin", 0, "", 0, "decided by instruction words and the byte order of constants;"},
        {"efi-utf16-mixed.bin", 5, "", 3, "shows as much readable text as those they favour"},
        {"ipxe-rtl8139-start.bin", 4, "x86", 0, "decided by the header of x86, little-endian (--cpu x86)"},
        {"random.bin", 4, "x86", 3, "undetermined: in no layout does a byte follow"},
        {"ppc64el-libc.bin", 1, "", 3, "the same PowerPC code read big- or little-endian; give --cpu ppc or --cpu ppc-le"},
        {"ppc64el-libc.bin", 4, "ppc-le", 0, "decided by the code's structure of PowerPC, little-endian (--cpu ppc-le)"},
        {"thumb2-libstdcxx.bin", 1, "arm", 0, "more strongly than ARM, little-endian code (116 instruction words or marks of "
                                              "its structure against 32); answered as for --cpu thumb"},
        {"thumb2-be-zlib.bin", 3, "", 3, "the same Thumb code read big- or little-endian; give --cpu thumb or --cpu thumb-be"},
        {"thumb2-be-zlib.bin", 4, "arm-be", 0, "decided by the code's structure of Thumb, big-endian (--cpu thumb-be)"},
        {"xz-binutils.bin", 3, "sh-le", 3, "cpu: no SuperH, little-endian code found in any layout"},
        {"picture-rgb24.bin", 2, "", 3, "sets nearly equal bytes side by side (54% against 31%)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " " + kSplits[row.split].name + " --cpu " + row.cpu);
        bool rebuilt = false;
        CliRun run = identifySplit(corpusImage({row.file, 0, {}}), kSplits[row.split], row.cpu, rebuilt);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(rebuilt, row.status == 0) << run.out;
        EXPECT_NE(run.out.find(row.line), std::string::npos) << run.out;
    }
}

// Each fault of a part is one warning with its path, whatever the answer; refusals and
// usage errors are those of the other commands.
TEST_F(Identify, WarnsOfFaultyPartsAndRefusesAsMergeDoes)
{
    struct Row {
        std::vector<std::string> arguments;
        int status;
        std::string error;
    };
    const std::string warning = "kestrum-cli: warning: ";
    const std::string usage = "; try 'kestrum-cli --help'\n";
    const Row rows[] = {
        {{"identify", "ff.bin", "zero.bin"}, 3,
         warning + "ff.bin: every byte is 0xFF: erased or not read\n" + warning +
             "zero.bin: every byte is 0x00: erased or not read\n"},
        {{"identify", "stuck.bin", "twice.bin"}, 3,
         warning + "stuck.bin: bit 3 is always 1: a stuck data line or a bad read\n" + warning +
             "twice.bin: the second half repeats the first: an image for a smaller chip, or an "
             "address line not connected\n"},
        {{"identify", "stuck.bin", "long.bin"}, 3,
         warning + "long.bin is longer than stuck.bin; only its first 8 of 10 bytes are used\n" +
             warning + "stuck.bin: bit 3 is always 1: a stuck data line or a bad read\n"},
        {{"identify", "long.bin", "stuck.bin"}, 3,
         warning + "long.bin is longer than stuck.bin; only its first 8 of 10 bytes are used\n" +
             warning + "stuck.bin: bit 3 is always 1: a stuck data line or a bad read\n"},
        {{"identify", "text.bin", "text.bin"}, 3, ""},
        {{"identify", "--cpu", "z80", "a.bin", "a.bin"}, 2,
         "kestrum-cli: --cpu takes 68000, x86, arm, arm-be, thumb, thumb-be, aarch64, aarch64-be, mips, mips-le, "
         "ppc, ppc-le, sparc, riscv, sh, sh-le, alpha, not 'z80'" + usage},
        {{"identify", "missing.bin", "a.bin"}, 1, "kestrum-cli: cannot read missing.bin: no such file\n"},
        {{"identify", "a.bin"}, 2, "kestrum-cli: give 2 or 4 parts" + usage},
        {{"identify", "a.bin", "a.bin", "a.bin"}, 2, "kestrum-cli: give 2 or 4 parts" + usage},
        {{"identify", "--width", "2", "a.bin", "a.bin"}, 2,
         "kestrum-cli: identify takes no layout options" + usage},
    };
    writeBytes("ff.bin", Bytes(8, 0xFF));
    writeBytes("zero.bin", Bytes(8, 0x00));
    writeBytes("stuck.bin", {0x08, 0x19, 0x2A, 0x3F, 0x8C, 0xAD, 0xCE, 0xFB});
    writeBytes("twice.bin", {0x01, 0x82, 0x44, 0x38, 0x01, 0x82, 0x44, 0x38});
    writeBytes("long.bin", {0x10, 0x20, 0x40, 0x80, 0x01, 0x02, 0x04, 0x08, 0x00, 0x00});
    writeBytes("a.bin", {0x01, 0x02});
    writeBytes("text.bin", {'S', 'e', 'e', ' ', 't', 'h', 'i', 's'});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.error);
        CliRun run = runCliWith(row.arguments);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err, row.error);
        if (row.status == 3) {
            EXPECT_EQ(run.out, "undetermined: too little data to judge\n");
        }
    }
}

// The answer's first line is the merge, its last names the runner-up; -v adds one line per
// layout tried.
TEST_F(Identify, PrintsTheMergeTheEvidenceAndWithVerboseEveryLayout)
{
    Bytes image = corpusImage({"m68000.bin", 0, {}});
    std::vector<Bytes> parts(2, Bytes(image.size() / 2));
    unsigned char* lanes[] = {parts[0].data(), parts[1].data()};
    spreadImage(image.data(), lanes, parts[0].size(), {2, 2});
    for (int k = 0; k < 2; ++k) {
        swapBytePairs(parts[std::size_t(k)].data(), parts[std::size_t(k)].size());
        writeBytes(kPartNames[k], parts[std::size_t(k)]);
    }
    for (bool verbose : {false, true}) {
        std::vector<std::string> arguments = {"identify", "u1.bin", "u2.bin"};
        if (verbose)
            arguments.insert(arguments.begin() + 1, "-v");
        CliRun run = runCliWith(arguments);
        EXPECT_EQ(run.status, 0);
        std::vector<std::string> lines;
        std::istringstream out(run.out);
        for (std::string line; std::getline(out, line);)
            lines.push_back(line);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0], "kestrum-cli merge --width 2 --swap IMAGE u1.bin u2.bin");
        EXPECT_EQ(lines[1], "  header: a 68000 vector table: SSP 00010000, reset PC 00000496, "
                            "62 of 62 vectors even and inside the image");
        std::size_t last = verbose ? lines.size() - 8 : lines.size() - 1;
        EXPECT_EQ(lines[last], "  ahead of the runner-up by a header it lacks; decided by the header; "
                               "runner-up: kestrum-cli merge --width 2 IMAGE u1.bin u2.bin");
        if (verbose) {
            EXPECT_EQ(lines[last + 1], "  every layout, best byte statistics first:");
        }
    }
}

// Each CPU's pair of neighbours counts in its byte order and at every offset, and not in the
// other order: here repeated with a filler after it, so each offset within 64-bit groups
// holds some.
TEST(InstructionOrder, CountsPairsOnlyInTheOrderCompilersEmitThem)
{
    struct Row {
        const char* cpu;
        std::size_t unit;
        bool big;
        std::uint32_t first, second;   // lui gp; addiu gp, gp and the like
    };
    const Row rows[] = {
        {"MIPS, big-endian", 4, true, 0x3C1C0002, 0x279C8A10},      {"MIPS, little-endian", 4, false, 0x2C420001, 0x10400005},
        {"Alpha, little-endian", 4, false, 0x6B5B4000, 0x27BA0001}, {"AArch64, little-endian", 4, false, 0xA8C17BFD, 0xD65F03C0},
        {"ARM, little-endian", 4, false, 0xE3500000, 0x0A000002},   {"ARM, big-endian", 4, true, 0xE92D4010, 0xE24DD008},
        {"PowerPC, big-endian", 4, true, 0x7C0802A6, 0x90010014},   {"SPARC, big-endian", 4, true, 0x81C7E008, 0x81E80000},
        {"SuperH, big-endian", 2, true, 0x4F22, 0x7FF8},            {"SuperH, little-endian", 2, false, 0x2F86, 0x2F96},
        {"68000, big-endian", 2, true, 0x4A80, 0x6706},             {"RISC-V, little-endian", 2, false, 0x1141, 0xE406},
    };
    for (const Row& row : rows) {
        for (bool inOrder : {true, false}) {
            SCOPED_TRACE(std::string(row.cpu) + (inOrder ? " in order" : " reversed"));
            Bytes image;
            for (int k = 0; k < 3 * 40; ++k) {
                std::uint32_t word = k % 3 == 2 ? 0 : (k % 3 == 0) == inOrder ? row.first : row.second;
                for (std::size_t b = 0; b < row.unit; ++b)
                    image.push_back(static_cast<unsigned char>(word >> 8 * (row.big ? row.unit - 1 - b : b)));
            }
            int count = -1;
            for (const OrderedPairs& pairs : countOrderedPairs(image))
                count = pairs.cpu == row.cpu ? pairs.count : count;
            if (inOrder)
                EXPECT_GE(count, 32);
            else
                EXPECT_EQ(count, 0);
        }
    }
}

// Code read in the other byte order, each instruction's bytes reversed, shows the other
// order's CPU as much as the original shows its own: otherwise code of the order with fewer
// marks would be decided as its twin. Only the literals of calls tell the twin apart.
TEST(CodeOfEitherByteOrder, ShowsItsTwinAlike)
{
    struct Row {
        const char* file;
        std::size_t unit;
        const char* cpu;
        const char* twin;
    };
    const Row rows[] = {
        {"mips-be.bin", 4, "MIPS, big-endian", "MIPS, little-endian"},
        {"arm.bin", 4, "ARM, little-endian", "ARM, big-endian"},
        {"powerpc.bin", 4, "PowerPC, big-endian", "PowerPC, little-endian"},
        {"aarch64.bin", 4, "AArch64, little-endian", "AArch64, big-endian"},
        {"sh-be-zlib.bin", 2, "SuperH, big-endian", "SuperH, little-endian"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        Bytes image = corpusImage({row.file, 0, {}}), twin = image;
        for (std::size_t at = 0; at + row.unit <= twin.size(); at += row.unit)
            std::reverse(twin.begin() + std::ptrdiff_t(at), twin.begin() + std::ptrdiff_t(at + row.unit));
        auto countOf = [](const std::vector<StructureCount>& counts, const char* cpu) {
            return structureOf(counts, cpu).count;
        };
        EXPECT_GT(wordsOf(countInstructions(image), row.cpu).matches, 16);
        EXPECT_EQ(wordsOf(countInstructions(image), row.cpu).matches, wordsOf(countInstructions(twin), row.twin).matches);
        EXPECT_EQ(countOf(countCodeStructure(image, image.size()), row.cpu),
                  countOf(countCodeStructure(twin, twin.size()), row.twin));
        EXPECT_EQ(countOf(countByteOrderMarks(twin), row.twin), 0);
    }
}
