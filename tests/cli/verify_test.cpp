// kestrum-cli verify against faults made from a real image: each row damages the second part
// as the fault would and reads the finding the command prints for that dump.
#include "cli_run.h"

#include "part_images.h"

#include <fstream>
#include <functional>
#include <iterator>

namespace {

using Fault = std::function<Bytes(const std::vector<Bytes>& parts)>;   // socket 2's dump

std::size_t exchange(std::size_t value, int a, int b)
{
    return ((value >> a ^ value >> b) & 1) ? value ^ (std::size_t(1) << a | std::size_t(1) << b) : value;
}

// The dump that reads each byte from part 2 at an offset the fault makes of its own.
Fault readFrom(std::function<std::size_t(std::size_t)> offset)
{
    return [=](const std::vector<Bytes>& parts) {
        Bytes dump(parts[1].size());
        for (std::size_t at = 0; at < dump.size(); ++at)
            dump[at] = parts[1][offset(at)];
        return dump;
    };
}

Fault eachByte(std::function<unsigned char(std::size_t at, unsigned char part, unsigned char other)> change)
{
    return [=](const std::vector<Bytes>& parts) {
        Bytes dump = parts[1];
        for (std::size_t at = 0; at < dump.size(); ++at)
            dump[at] = change(at, dump[at], parts[0][at]);
        return dump;
    };
}

struct Row {
    std::vector<std::string> options;
    Fault fault;
    std::string finding;   // how the only finding line begins; "" for none
};

}  // namespace

TEST_F(Cli, VerifyNamesTheFaultThatEachDumpShows)
{
    std::ifstream file(KESTRUM_IDENTIFY_CORPUS "/nettle-start.bin", std::ios::binary);
    const Bytes image(std::istreambuf_iterator<char>(file), {});
    ASSERT_EQ(image.size(), 0x8000u);
    const std::vector<std::string> words = {"--width", "2"};
    const Row rows[] = {
        {{}, eachByte([](std::size_t, unsigned char b, unsigned char) { return b; }), ""},
        {{}, eachByte([](std::size_t at, unsigned char b, unsigned char) { return at == 0x1234 ? b ^ 0x10 : b; }), ""},
        {{}, eachByte([](std::size_t, unsigned char, unsigned char) { return 0xFF; }), "blank: every byte is 0xFF"},
        {words, eachByte([](std::size_t at, unsigned char b, unsigned char) { return at % 2 ? b | 0x08 : b; }),
         "stuck data line D11 at 1: D11 on a big-endian bus, D27 on a little-endian bus"},
        {{}, eachByte([](std::size_t, unsigned char b, unsigned char) { return exchange(b, 1, 6); }),
         "data lines D1 and D6 exchanged"},
        {{}, readFrom([](std::size_t at) { return at & 0x1FFF; }),
         "address line A13 stuck at 0: the second half repeats the first"},
        {words, readFrom([](std::size_t at) { return exchange(at / 2, 2, 9) * 2 + at % 2; }),
         "address lines A2 and A9 exchanged"},
        {{}, eachByte([](std::size_t, unsigned char, unsigned char other) { return other; }), "holds part 1"},
        {{}, readFrom([](std::size_t at) { return at ^ 1; }), "bytes swapped"},
        {{}, eachByte([](std::size_t, unsigned char b, unsigned char other) { return b & other; }), "not erased:"},
        {{}, eachByte([](std::size_t at, unsigned char b, unsigned char) { return at % 61 ? b : b | 0x40; }),
         "bits read 1 that should be 0:"},
        {{}, [](const std::vector<Bytes>& parts) { Bytes d = parts[1]; d.insert(d.end(), d.begin(), d.end()); return d; },
         "size: 32768 bytes where the part has 16384: a bigger chip with the part mirrored; the first 16384 bytes match"},
    };
    writeBytes("rom.bin", image);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.finding);
        std::string refusal;
        PartShape shape{2, row.options.empty() ? 1 : 2};
        std::vector<Bytes> parts = splitImage(image, shape, refusal);
        writeBytes("u1.bin", parts[0]);
        Bytes dump = row.fault(parts);
        writeBytes("u2.bin", dump);
        std::vector<std::string> arguments = {"verify"};
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        arguments.insert(arguments.end(), {"rom.bin", "u1.bin", "u2.bin"});
        CliRun run = runCliWith(arguments);

        std::istringstream lines(run.out);
        std::string line, header;
        std::vector<std::string> findings;
        std::getline(lines, header);
        EXPECT_EQ(header, "u1.bin: matches part 1");
        std::getline(lines, header);
        while (std::getline(lines, line)) {
            if (line.rfind("  offset ", 0) != 0)
                findings.push_back(line.substr(2));
        }
        EXPECT_EQ(run.status, dump == parts[1] ? 0 : 4);
        EXPECT_EQ(header.rfind(dump == parts[1] ? "u2.bin: matches part 2" : "u2.bin: differs from part 2", 0), 0u);
        ASSERT_EQ(findings.size(), row.finding.empty() ? 0u : 1u) << run.out;
        if (!row.finding.empty()) {
            EXPECT_EQ(findings[0].substr(0, row.finding.size()), row.finding);
        }
    }
}
