// Comparing each dump with its socket's part, and naming only the faults the dump shows: a
// finding must account for the dump, not merely fit a few bytes of it.
#include "dump_findings.h"

#include "bus_slice.h"
#include "lanes.h"
#include "line_faults.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kFirstBytes = 4;   // differing bytes listed
constexpr std::size_t kSample = 32;      // differing offsets every hypothesis must explain first
constexpr std::size_t kPattern = 8;      // differing bytes all changed one way: less is chance

std::string number(std::size_t value)
{
    return std::to_string(value);
}

struct Socket {
    const PartShape& shape;
    std::size_t laneSize, imageSize;
    int k;
};

// Where the image holds the part's byte `at`: none in the fill, or in the zeros that pad the
// image to whole groups.
std::optional<std::size_t> imageOffset(std::size_t at, const Socket& socket)
{
    const PartShape& shape = socket.shape;
    if (at >= socket.laneSize) {
        if (!shape.mirror)
            return std::nullopt;
        at %= socket.laneSize;
    }
    std::size_t width = std::size_t(shape.width), byte = at % width;
    if (shape.swap)
        byte ^= 1;
    std::size_t offset = (at / width * std::size_t(shape.parts) + std::size_t(socket.k)) * width + byte;
    if (offset >= socket.imageSize)
        return std::nullopt;
    return offset;
}

bool repeatsStart(const Bytes& dump, std::size_t length)
{
    if (dump.size() % length != 0)
        return false;
    for (std::size_t at = length; at < dump.size(); at += length) {
        if (std::memcmp(dump.data(), dump.data() + at, length) != 0)
            return false;
    }
    return true;
}

// A longer dump that repeats its start, or holds one byte past it, is a bigger chip. A 16-bit
// dump is compared in whole words, so an odd byte at its end is left out.
Finding sizeFinding(const Bytes& dump, std::size_t partSize, std::size_t compared, bool startMatches)
{
    std::string text = "size: " + number(dump.size()) + " bytes where the part has " + number(partSize);
    if (dump.empty())
        return {FindingKind::Size, text + ": nothing was read"};
    if (dump.size() < partSize) {
        text += ": a smaller chip, or a read cut short";
    } else if (repeatsStart(dump, partSize)) {
        text += ": a bigger chip with the part mirrored";
    } else if (std::all_of(dump.begin() + std::ptrdiff_t(partSize), dump.end(),
                           [&](unsigned char b) { return b == dump[partSize]; })) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "0x%02X", dump[partSize]);
        text += ": a bigger chip with the part filled with " + std::string(fill);
    }
    text += "; the first " + number(compared) + " bytes " + (startMatches ? "match" : "compared");
    if (compared < std::min(dump.size(), partSize))
        text += ", in whole 16-bit words";
    return {FindingKind::Size, text};
}

// The data lines fixed in the dump where the expected bytes are not fixed at that value.
struct StuckLines {
    unsigned char ones[2] = {0, 0}, zeros[2] = {0, 0};   // per byte of a unit
};

StuckLines stuckAgainst(const ConstantBits dump[2], const ConstantBits expected[2])
{
    StuckLines stuck;
    for (int j = 0; j < 2; ++j) {
        stuck.ones[j] = (unsigned char)(dump[j].set & ~expected[j].set);
        stuck.zeros[j] = (unsigned char)(dump[j].clear & ~expected[j].clear);
    }
    return stuck;
}

// Keeps the lines that changed at least kPattern bytes: a line of a 1-byte dump is constant
// by itself, and one weak bit makes no stuck line.
StuckLines withEvidence(StuckLines stuck, const std::array<std::size_t, 16>& lineBytes)
{
    for (int line = 0; line < 16; ++line) {
        if (lineBytes[std::size_t(line)] < kPattern) {
            stuck.ones[line / 8] &= (unsigned char)~(1 << line % 8);
            stuck.zeros[line / 8] &= (unsigned char)~(1 << line % 8);
        }
    }
    return stuck;
}

std::array<std::size_t, 16> lineBytes(const Bytes& dump, const Bytes& part, std::size_t length,
                                      std::size_t width, const StuckLines& stuck)
{
    std::array<std::size_t, 16> counts{};
    for (std::size_t at = 0; at < length; ++at) {
        std::size_t j = at % width;
        for (unsigned rest = (dump[at] ^ part[at]) & (stuck.ones[j] | stuck.zeros[j]); rest; rest &= rest - 1)
            ++counts[8 * j + std::size_t(__builtin_ctz(rest))];
    }
    return counts;
}

std::vector<Finding> stuckFindings(const StuckLines& stuck, const Socket& socket)
{
    std::vector<Finding> findings;
    BusSlice slice = busSlice(socket.shape.parts, socket.shape.width, socket.k);
    for (int line = 0; line < 8 * socket.shape.width; ++line) {
        int j = line / 8, bit = 1 << (line % 8);
        if (!((stuck.ones[j] | stuck.zeros[j]) & bit))
            continue;
        char text[96];
        std::snprintf(text, sizeof text,
                      "stuck data line D%d at %d: D%d on a big-endian bus, D%d on a little-endian bus", line,
                      (stuck.ones[j] & bit) ? 1 : 0, slice.bigEndianLow + line, slice.littleEndianLow + line);
        findings.push_back({FindingKind::StuckDataLine, text});
    }
    return findings;
}

// The fault's fixed phrase and, after a colon, what it means where that helps.
Finding faultFinding(const LineFault& fault, std::size_t units, int width)
{
    std::string a = number(std::size_t(fault.a)), b = number(std::size_t(fault.b));
    switch (fault.transform) {
    case Transform::BytesSwapped:
        return {FindingKind::BytesSwapped, "bytes swapped: the two bytes of every 16-bit word "
                                           "exchanged, as by a programmer set to the other byte order"};
    case Transform::DataLinesExchanged:
        return {FindingKind::DataLinesExchanged, "data lines D" + a + " and D" + b + " exchanged"};
    case Transform::DataLinesReversed:
        return {FindingKind::DataLinesReversed,
                width == 1 ? "data lines reversed: D0-D7 read as D7-D0"
                           : "data lines reversed: D0-D7 read as D7-D0 and D8-D15 as D15-D8"};
    case Transform::AddressLinesExchanged:
        return {FindingKind::AddressLinesExchanged, "address lines A" + a + " and A" + b + " exchanged"};
    case Transform::AddressLinesReversed: {
        int lines = 0;
        while ((std::size_t(1) << lines) < units)
            ++lines;
        return {FindingKind::AddressLinesReversed,
                "address lines reversed: A0-A" + number(std::size_t(lines - 1)) + " read as A" +
                    number(std::size_t(lines - 1)) + "-A0"};
    }
    default: {
        std::string text = "address line A" + a + " stuck at " + b;
        if ((std::size_t(2) << fault.a) >= units)
            text += fault.b ? ": the first half repeats the second" : ": the second half repeats the first";
        return {FindingKind::AddressLineStuck, text};
    }
    }
}

// The shortest whole power-of-two stretch the part repeats, or 0: why several faults of its
// address lines read the same.
std::size_t repeatLength(const Bytes& part, std::size_t length)
{
    for (std::size_t period = 1; period < length; period *= 2) {
        if (length % period == 0 && std::memcmp(part.data(), part.data() + period, length - period) == 0)
            return period;
    }
    return 0;
}

std::string sizeText(std::size_t bytes)
{
    return bytes % 1024 == 0 ? number(bytes / 1024) + " KiB" : number(bytes) + " bytes";
}

// One line for hypotheses that fit equally, so no cap picks one of them.
Finding severalFinding(const std::vector<LineFault>& faults, const std::vector<Bytes>& parts,
                       std::size_t length, const Socket& socket)
{
    std::string text = "several faults fit equally: ";
    for (std::size_t i = 0; i < faults.size() && i < 3; ++i) {
        const LineFault& fault = faults[i];
        std::string name = fault.transform == Transform::None ? "" : faultFinding(fault, length / std::size_t(socket.shape.width), socket.shape.width).text;
        name = name.substr(0, name.find(':'));
        std::string part = number(std::size_t(fault.source + 1));
        if (fault.source != socket.k)
            name = name.empty() ? "holds part " + part : "part " + part + " with " + name;
        text += (i ? ", " : "") + name;
    }
    if (faults.size() > 3)
        text += ", and more";
    const LineFault& first = faults.front();
    if (std::size_t period = repeatLength(parts[std::size_t(first.source)], length))
        text += "; part " + number(std::size_t(first.source + 1)) + " repeats every " + sizeText(period);
    return {FindingKind::SeveralFit, text};
}

Finding notErasedFinding(std::size_t bytes)
{
    return {FindingKind::NotErased, "not erased: in " + number(bytes) + " bytes 0 bits stand where the image "
                                    "wants 1, and none the other way: the chip held old data"};
}

// The line faults that hold: one, with the part it reads when another socket's and the old
// data laid over it, or one line for several; the data lines stuck are those that no holding
// fault's prediction fixes at the same value.
void addLineFindings(DumpReport& report, const std::vector<LineFault>& faults, const ConstantBits dumpBits[2],
                     const std::vector<Bytes>& parts, std::size_t length, const Socket& socket)
{
    StuckLines stuck{{0xFF, 0xFF}, {0xFF, 0xFF}};
    for (const LineFault& fault : faults) {
        StuckLines against = withEvidence(stuckAgainst(dumpBits, fault.predicted), fault.lineBytes);
        for (int j = 0; j < 2; ++j) {
            stuck.ones[j] &= against.ones[j];
            stuck.zeros[j] &= against.zeros[j];
        }
    }
    report.findings = stuckFindings(stuck, socket);
    if (faults.size() > 1) {
        report.findings.push_back(severalFinding(faults, parts, length, socket));
        return;
    }
    const LineFault& fault = faults.front();
    if (fault.source != socket.k)
        report.findings.push_back({FindingKind::HoldsPart, "holds part " + number(std::size_t(fault.source + 1)) +
                                                               ": the chip of another socket"});
    if (fault.transform != Transform::None)
        report.findings.push_back(faultFinding(fault, length / std::size_t(socket.shape.width), socket.shape.width));
    if (fault.notErased)
        report.findings.push_back(notErasedFinding(fault.changed));
}

// The differing bytes: counted, the first few listed, and of the bits no stuck line
// explains, a sample for the hypotheses and which ways they changed.
struct Differences {
    std::size_t kept = 0;              // bytes that differ in kept bits
    unsigned char down = 0, up = 0;    // kept bits read 0 where 1 is wanted, and 1 where 0
};

Differences compareBytes(const Bytes& part, std::size_t shared, DumpView& view, DumpReport& report,
                         const Socket& socket)
{
    Differences differences;
    const Bytes& dump = *view.dump;
    std::size_t width = std::size_t(view.width);
    const KeptBits& keep = view.keep[std::size_t(socket.k)];
    for (std::size_t at = 0; at < shared; ++at) {
        unsigned char read = dump[at], wanted = part[at];
        if (read == wanted)
            continue;
        ++report.differing;
        if (report.first.size() < kFirstBytes)
            report.first.push_back({at, imageOffset(at, socket), read, wanted});
        unsigned char kept = (unsigned char)((read ^ wanted) & keep[at % width]);
        if (!kept || at >= view.length)
            continue;
        ++differences.kept;
        if (view.sample.size() < kSample)
            view.sample.push_back(at);
        differences.down |= kept & wanted;
        differences.up |= kept & read;
    }
    return differences;
}

// Bits that changed one way only, in enough bytes to be more than chance, when no fault of
// the lines explains them; and a burn cut short, the part up to an offset and erased after it.
bool addDirectionFindings(DumpReport& report, const Differences& differences, const DumpView& view)
{
    if (differences.kept < kPattern)
        return false;
    const Bytes& dump = *view.dump;
    std::size_t from = report.first.front().dumpOffset;
    if (std::all_of(dump.begin() + std::ptrdiff_t(from), dump.end(), [](unsigned char b) { return b == 0xFF; })) {
        char text[96];
        std::snprintf(text, sizeof text, "blank from 0x%X: the part up to there, then every byte 0xFF: "
                                         "a burn cut short", unsigned(from));
        report.findings.push_back({FindingKind::BlankFrom, text});
        return true;
    }
    std::string bytes = number(differences.kept) + " bytes";
    if (!differences.up)
        report.findings.push_back(notErasedFinding(differences.kept));
    if (!differences.down)
        report.findings.push_back({FindingKind::WeakBits,
                                   "bits read 1 that should be 0: in " + bytes +
                                   ", and none the other way: weak or under-programmed bits"});
    return !differences.up || !differences.down;
}

struct Expected {
    const std::vector<Bytes>& parts;
    std::vector<std::array<ConstantBits, 2>> bits;   // each part's constant bits, per byte of a unit
    std::vector<std::size_t> probes;                 // spread over what each part holds
};

void describeParts(Expected& expected, int width)
{
    std::size_t w = std::size_t(width);
    for (const Bytes& part : expected.parts) {
        std::array<ConstantBits, 2> bits;
        for (std::size_t j = 0; j < 2; ++j)
            bits[j] = constantBits(part.data() + j % w, part.size() - j % w, w);
        expected.bits.push_back(bits);
        std::vector<std::size_t> probes = spreadProbes(part.data(), part.size());
        expected.probes.insert(expected.probes.end(), probes.begin(), probes.end());
    }
}

DumpReport compareDump(const Expected& expected, const Bytes& dump, const Socket& socket)
{
    const std::vector<Bytes>& parts = expected.parts;
    const Bytes& part = parts[std::size_t(socket.k)];
    DumpReport report;
    report.part = socket.k;
    report.total = std::max(dump.size(), part.size());
    std::size_t shared = std::min(dump.size(), part.size());
    if (dump.size() == part.size() && std::memcmp(dump.data(), part.data(), shared) == 0) {
        report.matches = true;
        return report;
    }

    // Each byte of a unit has its own data lines: D0-D7 in the first, D8-D15 in the second.
    std::size_t width = std::size_t(socket.shape.width);
    std::size_t length = shared / width * width;
    ConstantBits dumpBits[2];
    for (std::size_t j = 0; j < 2; ++j) {
        std::size_t first = j % width;
        if (first < length)
            dumpBits[j] = constantBits(dump.data() + first, length - first, width);
    }
    DumpView view{&dump, length, int(width), {}, {}, spreadProbes(dump.data(), length)};
    for (std::size_t at : expected.probes) {
        if (at < length)
            view.probes.push_back(at);
    }
    StuckLines stuck;
    for (std::size_t s = 0; s < parts.size(); ++s) {
        StuckLines against = stuckAgainst(dumpBits, expected.bits[s].data());
        if (int(s) == socket.k)
            stuck = against = withEvidence(against, lineBytes(dump, part, length, width, against));
        view.keep.push_back({(unsigned char)~(against.ones[0] | against.zeros[0]),
                             (unsigned char)~(against.ones[1] | against.zeros[1])});
    }
    Differences differences = compareBytes(part, shared, view, report, socket);
    report.differing += report.total - shared;

    ConstantBits blank = constantBits(dump.data(), dump.size());
    if (dump.empty()) {
        // Nothing was read: the size line alone says so.
    } else if (blank.set == 0xFF || blank.clear == 0xFF) {
        report.findings.push_back({FindingKind::Blank, std::string("blank: every byte is ") +
                                                           (blank.set == 0xFF ? "0xFF" : "0x00") +
                                                           ": erased, not programmed, or not read"});
    } else {
        // A fault of the lines must account for more bytes than chance would.
        std::vector<LineFault> faults;
        if (differences.kept >= kPattern)
            faults = findLineFaults(parts, socket.k, view, false);
        bool explained = differences.kept < kPattern || !faults.empty();
        if (faults.empty()) {
            report.findings = stuckFindings(stuck, socket);
            explained = addDirectionFindings(report, differences, view) || explained;
        }
        if (!explained)
            faults = findLineFaults(parts, socket.k, view, true);
        if (!faults.empty()) {
            addLineFindings(report, faults, dumpBits, parts, length, socket);
        } else if (!explained) {
            report.findings = {{FindingKind::OtherData, "other data: " + number(report.differing) + " of " +
                                                            number(report.total) + " bytes differ with no pattern"}};
        }
    }
    if (dump.size() != part.size()) {
        bool startMatches = report.differing == report.total - shared;
        report.findings.insert(report.findings.begin(), sizeFinding(dump, part.size(), length, startMatches));
    }
    return report;
}

}  // namespace

std::vector<DumpReport> verifyDumps(const Bytes& image, const PartShape& shape,
                                    const std::vector<Bytes>& dumps, std::string& refusal)
{
    std::vector<Bytes> parts = splitImage(image, shape, refusal);
    if (parts.empty())
        return {};
    Socket socket{shape, laneSizeFor(image.size(), {shape.parts, shape.width}), image.size(), 0};
    Expected expected{parts, {}, {}};
    std::vector<DumpReport> reports;
    for (std::size_t k = 0; k < dumps.size() && k < parts.size(); ++k) {
        socket.k = int(k);
        if (expected.bits.empty() && dumps[k] != parts[k])
            describeParts(expected, shape.width);   // only when a dump differs: matching stays one compare
        reports.push_back(compareDump(expected, dumps[k], socket));
    }
    return reports;
}
