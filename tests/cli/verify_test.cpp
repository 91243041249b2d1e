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

namespace {

// The bytes repeated or cut to `size`.
Bytes corpus(const Bytes& bytes, std::size_t size)
{
    Bytes sized(size);
    for (std::size_t at = 0; at < size; ++at)
        sized[at] = bytes[at % bytes.size()];
    return sized;
}

Bytes corpus(const std::string& name, std::size_t size = 0)
{
    std::ifstream file(KESTRUM_IDENTIFY_CORPUS "/" + name, std::ios::binary);
    Bytes bytes(std::istreambuf_iterator<char>(file), {});
    return size ? corpus(bytes, size) : bytes;
}

// 12-bit samples as a 16-bit little-endian image: the high bytes never set D4-D7.
Bytes twelveBit()
{
    Bytes image = corpus("sound-pcm16le.bin");
    for (std::size_t at = 0; at + 1 < image.size(); at += 2) {
        unsigned sample = (unsigned(image[at] | image[at + 1] << 8) ^ 0x8000) >> 4;
        image[at] = (unsigned char)sample, image[at + 1] = (unsigned char)(sample >> 8);
    }
    return image;
}

// Mostly erased flash with code at its top.
Bytes sparse()
{
    Bytes image(0x10000, 0xFF), top = corpus("seabios-top.bin");
    std::copy(top.end() - 16, top.end(), image.end() - 16);
    return image;
}

// The only byte of the part that has one data line at 0, read with it at 1.
Bytes oneWeakBit(const Bytes& part)
{
    for (int bit = 0; bit < 8; ++bit) {
        std::vector<std::size_t> zeros;
        for (std::size_t at = 0; at < part.size(); ++at) {
            if (!(part[at] >> bit & 1))
                zeros.push_back(at);
        }
        if (zeros.size() == 1) {
            Bytes dump = part;
            dump[zeros[0]] |= (unsigned char)(1 << bit);
            return dump;
        }
    }
    return {};
}

struct Case {
    Bytes image;
    PartShape shape;
    int socket;   // the dump made by the fault, from 0; the others read right
    Fault fault;
    std::vector<std::string> findings;   // how each finding line begins, in order
};

Fault fromPart(int k, std::function<unsigned char(std::size_t, unsigned char)> change)
{
    return [=](const std::vector<Bytes>& parts) {
        Bytes dump = parts[std::size_t(k)];
        for (std::size_t at = 0; at < dump.size(); ++at)
            dump[at] = change(at, dump[at]);
        return dump;
    };
}

}  // namespace

TEST_F(Cli, VerifyNamesNoCauseTheDumpDoesNotShow)
{
    auto same = [](std::size_t, unsigned char b) { return b; };
    const Bytes text = corpus("text-readme.bin", 0x8000), code = corpus("ipxe-rtl8139-start.bin", 0x8000);
    const Bytes table = corpus(corpus("pascal-table.bin", 256), 0x4000);   // one table of 256 bytes, repeated
    PartShape words{2, 2};
    Bytes doubled(0x8000);
    for (std::size_t at = 0; at < doubled.size(); ++at)
        doubled[at] = at % 2 ? doubled[at - 1] : code[at];
    const Case cases[] = {
        {corpus("ipxe-rtl8139-start.bin"), {2, 1, false, 0x10000, 0xFF, true}, 1, fromPart(0, same), {"holds part 1"}},
        {corpus("ipxe-rtl8139-start.bin"), {2, 1, false, 0x20000}, 1, fromPart(0, same), {"holds part 1"}},
        {table, {}, 1, fromPart(0, same), {"holds part 1"}},
        {twelveBit(), {}, 0, fromPart(1, same), {"holds part 2"}},
        {doubled, words, 1, fromPart(0, same), {"holds part 1"}},
        {doubled, {4, 1}, 2, fromPart(0, same), {"several faults fit equally: holds part 1, holds part 2"}},
        {twelveBit(), {}, 1, fromPart(0, [](std::size_t, unsigned char b) { return b & ~0x40; }),
         {"stuck data line D6 at 0", "holds part 1"}},
        {code, {}, 1, [](const std::vector<Bytes>&) { return Bytes{0x55}; },
         {"size: 1 bytes where the part has 16384: a smaller chip, or a read cut short; the first 1 bytes compared"}},
        {sparse(), {4, 1}, 1, [](const std::vector<Bytes>& parts) { return oneWeakBit(parts[1]); }, {}},
        {corpus("nettle-start.bin"), words, 1, [](const std::vector<Bytes>& parts) {
             Bytes dump = parts[1];
             for (std::size_t at = 0; at < dump.size(); at += 2) {
                 unsigned word = unsigned(exchange(dump[at] | dump[at + 1] << 8, 3, 12));
                 dump[at] = (unsigned char)word, dump[at + 1] = (unsigned char)(word >> 8);
             }
             dump.pop_back();
             return dump;
         }, {"size: 16383 bytes where the part has 16384: a smaller chip, or a read cut short; the first 16382 "
             "bytes compared, in whole 16-bit words", "data lines D3 and D12 exchanged"}},
        {corpus("m68000.bin", 0x8000), {}, 1, [&](const std::vector<Bytes>&) { return Bytes(text.begin(), text.begin() + 0x4000); },
         {"other data:"}},
        {code, {}, 1, fromPart(1, [](std::size_t, unsigned char b) {
             unsigned char r = 0;
             for (int bit = 0; bit < 8; ++bit)
                 r = (unsigned char)(r | (b >> bit & 1) << (7 - bit));
             return r;
         }), {"data lines reversed: D0-D7 read as D7-D0"}},
        {corpus("ovmf-top.bin"), {}, 1, readFrom([](std::size_t at) {
             std::size_t r = 0;
             for (int bit = 0; bit < 13; ++bit)
                 r |= (at >> bit & 1) << (12 - bit);
             return r;
         }), {"address lines reversed: A0-A12 read as A12-A0"}},
        {code, {}, 1, fromPart(1, [](std::size_t at, unsigned char b) { return at < 0x1234 ? b : 0xFF; }),
         {"blank from 0x1234: the part up to there"}},
        {corpus("nettle-start.bin"), words, 1, [&](const std::vector<Bytes>& parts) {
             Bytes dump = parts[1];
             for (std::size_t at = 0; at < dump.size(); ++at)
                 dump[at] = parts[1][at ^ 1] & (at % 3 ? 0xFF : text[at]);
             return dump;
         }, {"bytes swapped", "not erased:"}},
        {code, {}, 1, fromPart(0, [&](std::size_t at, unsigned char b) { return at % 5 ? b : b & text[at]; }),
         {"holds part 1", "not erased:"}},
        {code, {}, 1, [](const std::vector<Bytes>&) { return Bytes(); },
         {"size: 0 bytes where the part has 16384: nothing was read"}},
    };
    writeBytes("rom.bin", {});
    for (const Case& row : cases) {
        SCOPED_TRACE("case " + std::to_string(&row - cases));
        std::string refusal;
        std::vector<Bytes> parts = splitImage(row.image, row.shape, refusal);
        ASSERT_EQ(refusal, "");
        writeBytes("rom.bin", row.image);
        std::vector<std::string> arguments = {"verify", "--width", std::to_string(row.shape.width)};
        if (row.shape.fillTo)
            arguments.insert(arguments.end(), {"--fill-to", std::to_string(row.shape.fillTo)});
        if (row.shape.mirror)
            arguments.push_back("--mirror");
        arguments.push_back("rom.bin");
        for (std::size_t k = 0; k < parts.size(); ++k) {
            std::string name = std::to_string(k + 1);   // in two steps: GCC 12 warns falsely of "u" + ...
            name = "u" + name + ".bin";
            writeBytes(name, int(k) == row.socket ? row.fault(parts) : parts[k]);
            arguments.push_back(name);
        }
        CliRun run = runCliWith(arguments);
        std::istringstream lines(run.out);
        std::string line;
        std::vector<std::string> findings;
        while (std::getline(lines, line)) {
            if (line.rfind("  ", 0) == 0 && line.rfind("  offset ", 0) != 0)
                findings.push_back(line.substr(2));
        }
        EXPECT_EQ(run.status, 4) << run.err;
        EXPECT_EQ(findings.size(), row.findings.size()) << run.out;
        for (std::size_t i = 0; i < findings.size() && i < row.findings.size(); ++i)
            EXPECT_EQ(findings[i].substr(0, row.findings[i].size()), row.findings[i]) << run.out;
    }
}
