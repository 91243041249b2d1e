// kestrum-cli compare on reads of one chip made from a real image: each row names what the
// output must say and the exit status; --majority writes only where a majority exists.
#include "cli_run.h"

#include <fstream>
#include <iterator>

namespace {

struct Row {
    std::vector<Bytes> reads;
    bool majority;                       // with --majority m.bin
    int status;
    std::vector<std::string> says;       // lines the output holds, each as a part of one line
};

Bytes changed(Bytes read, std::size_t at, unsigned char flip)
{
    read[at] ^= flip;
    return read;
}

}  // namespace

TEST_F(Cli, CompareNamesWhatDiffersAmongReads)
{
    std::ifstream file(KESTRUM_IDENTIFY_CORPUS "/seabios-top.bin", std::ios::binary);
    const Bytes chip(std::istreambuf_iterator<char>(file), {});
    const Bytes weak = changed(chip, 0x1234, 0x08), other = changed(chip, 0x8000, 0x08);
    Bytes shifted(chip.begin() + 16, chip.end());
    shifted.resize(chip.size(), 0xFF);
    const Row rows[] = {
        {{chip, chip}, false, 0, {"identical: 2 reads, 65536 bytes, crc32 14047631, sha1 ed6a5e7a"}},
        {{chip, weak, chip}, true, 4,
         {"differ: 3 reads, 65536 bytes; the 3 compared disagree in 1 byte", "u2.bin: 65536 bytes, crc32",
          "; off the majority in 1 byte", "range: 0x1234\n", "data lines that flip: D3 in 1 byte",
          "majority: more than half of the 3 reads agree at every byte"}},
        {{chip, weak, other, Bytes(chip.size(), 0xFF), {}, Bytes(chip.begin(), chip.begin() + 0x8000), shifted},
         false, 4,
         {"the 3 compared disagree in 2 bytes", "ranges: 0x1234, 0x8000\n", "u4.bin: 65536 bytes",
          ": blank, every byte 0xFF", "u5.bin: 0 bytes", ": empty, nothing was read",
          "u6.bin: 32768 bytes", ": shorter than the 65536 bytes of the others, not compared",
          ": shifted, reads at each offset the byte of u1.bin 16 bytes further on"}},
        {{chip, weak, changed(chip, 0x1234, 0x01)}, true, 1, {"no majority at 0x1234 (1 byte)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.says.front());
        std::filesystem::remove("m.bin");
        std::vector<std::string> arguments = {"compare"};
        if (row.majority)
            arguments.insert(arguments.end(), {"--majority", "m.bin"});
        for (std::size_t r = 0; r < row.reads.size(); ++r) {
            std::string name = std::to_string(r + 1);   // in two steps: GCC 12 warns falsely of "u" + ...
            arguments.push_back("u" + name + ".bin");
            writeBytes(arguments.back(), row.reads[r]);
        }
        CliRun run = runCliWith(arguments);
        EXPECT_EQ(run.status, row.status) << run.err;
        for (const std::string& says : row.says)
            EXPECT_NE((run.out + run.err).find(says), std::string::npos) << says << "\n" << run.out << run.err;
        EXPECT_EQ(exists("m.bin"), row.majority && row.status != 1);
        if (exists("m.bin")) {
            EXPECT_EQ(readBytes("m.bin"), chip);
        }
    }
}
