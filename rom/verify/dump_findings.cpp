// Comparing each dump with its socket's part, and naming only the faults the dump shows: a
// finding must account for the dump, not merely fit a few bytes of it.
#include "dump_findings.h"

#include "bus_slice.h"
#include "lanes.h"
#include "line_faults.h"

#include <algorithm>
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

// A longer dump that repeats its start, or holds one byte past it, is a bigger chip.
Finding sizeFinding(const Bytes& dump, std::size_t partSize, bool startMatches)
{
    std::size_t length = std::min(dump.size(), partSize);
    std::string text = "size: " + number(dump.size()) + " bytes where the part has " + number(partSize);
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
    text += "; the first " + number(length) + " bytes " + (startMatches ? "match" : "compared");
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

Finding faultFinding(const LineFault& fault, std::size_t units)
{
    std::string a = number(std::size_t(fault.a)), b = number(std::size_t(fault.b));
    switch (fault.transform) {
    case Transform::BytesSwapped:
        return {FindingKind::BytesSwapped, "bytes swapped: the two bytes of every 16-bit word "
                                           "exchanged, as by a programmer set to the other byte order"};
    case Transform::DataLinesExchanged:
        return {FindingKind::DataLinesExchanged, "data lines D" + a + " and D" + b + " exchanged"};
    case Transform::AddressLinesExchanged:
        return {FindingKind::AddressLinesExchanged, "address lines A" + a + " and A" + b + " exchanged"};
    default: {
        std::string text = "address line A" + a + " stuck at " + b;
        if ((std::size_t(2) << fault.a) >= units)
            text += fault.b ? ": the first half repeats the second" : ": the second half repeats the first";
        return {FindingKind::AddressLineStuck, text};
    }
    }
}

// The line faults that hold, each socket's part it holds once; the data lines stuck are those
// that no holding fault's prediction fixes at the same value.
void addLineFindings(DumpReport& report, const std::vector<LineFault>& faults,
                     const ConstantBits dumpBits[2], std::size_t units, const Socket& socket)
{
    StuckLines stuck{{0xFF, 0xFF}, {0xFF, 0xFF}};
    for (const LineFault& fault : faults) {
        StuckLines against = stuckAgainst(dumpBits, fault.predicted);
        for (int j = 0; j < 2; ++j) {
            stuck.ones[j] &= against.ones[j];
            stuck.zeros[j] &= against.zeros[j];
        }
    }
    report.findings = stuckFindings(stuck, socket);
    std::vector<int> held;
    for (const LineFault& fault : faults) {
        if (fault.source != socket.k && std::find(held.begin(), held.end(), fault.source) == held.end()) {
            held.push_back(fault.source);
            std::string part = number(std::size_t(fault.source + 1));
            report.findings.push_back({FindingKind::HoldsPart, "holds part " + part + ": the chip of another socket"});
        }
        if (fault.transform != Transform::None)
            report.findings.push_back(faultFinding(fault, units));
    }
}

// The differing bytes: counted, the first few listed, and of the bits no stuck line
// explains, a sample for the hypotheses and which ways they changed.
struct Differences {
    std::size_t kept = 0;              // bytes that differ in kept bits
    unsigned char down = 0, up = 0;    // kept bits read 0 where 1 is wanted, and 1 where 0
};

Differences compareBytes(const Bytes& part, DumpView& view, DumpReport& report, const Socket& socket)
{
    Differences differences;
    const Bytes& dump = *view.dump;
    std::size_t width = std::size_t(view.width);
    for (std::size_t at = 0; at < view.length; ++at) {
        unsigned char read = dump[at], wanted = part[at];
        if (read == wanted)
            continue;
        ++report.differing;
        if (report.first.size() < kFirstBytes)
            report.first.push_back({at, imageOffset(at, socket), read, wanted});
        unsigned char kept = (unsigned char)((read ^ wanted) & view.keep[at % width]);
        if (!kept)
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
// the lines explains them.
void addDirectionFindings(DumpReport& report, const Differences& differences)
{
    if (differences.kept < kPattern)
        return;
    std::string bytes = number(differences.kept) + " bytes";
    if (!differences.up)
        report.findings.push_back({FindingKind::NotErased,
                                   "not erased: in " + bytes + " 0 bits stand where the image wants 1, "
                                   "and none the other way: the chip held old data"});
    if (!differences.down)
        report.findings.push_back({FindingKind::WeakBits,
                                   "bits read 1 that should be 0: in " + bytes +
                                   ", and none the other way: weak or under-programmed bits"});
}

DumpReport compareDump(const std::vector<Bytes>& parts, const Bytes& dump, const Socket& socket)
{
    const Bytes& part = parts[std::size_t(socket.k)];
    DumpReport report;
    report.part = socket.k;
    report.total = std::max(dump.size(), part.size());
    std::size_t length = std::min(dump.size(), part.size());
    if (dump.size() == part.size() && std::memcmp(dump.data(), part.data(), length) == 0) {
        report.matches = true;
        return report;
    }

    // Each byte of a unit has its own data lines: D0-D7 in the first, D8-D15 in the second.
    std::size_t width = std::size_t(socket.shape.width);
    ConstantBits dumpBits[2], partBits[2];
    for (std::size_t j = 0; j < 2; ++j) {
        std::size_t first = j % width;
        if (first < length) {
            dumpBits[j] = constantBits(dump.data() + first, length - first, width);
            partBits[j] = constantBits(part.data() + first, length - first, width);
        }
    }
    StuckLines stuck = stuckAgainst(dumpBits, partBits);
    DumpView view{&dump, length, int(width), {}, {}};
    for (int j = 0; j < 2; ++j)
        view.keep[j] = (unsigned char)~(stuck.ones[j] | stuck.zeros[j]);
    Differences differences = compareBytes(part, view, report, socket);
    report.differing += report.total - length;

    ConstantBits blank = constantBits(dump.data(), dump.size());
    if (blank.set == 0xFF || blank.clear == 0xFF) {
        report.findings.push_back({FindingKind::Blank, std::string("blank: every byte is ") +
                                                           (blank.set == 0xFF ? "0xFF" : "0x00") +
                                                           ": erased, not programmed, or not read"});
    } else {
        std::vector<LineFault> faults;
        if (differences.kept > 0)
            faults = findLineFaults(parts, socket.k, view);
        if (faults.empty()) {
            report.findings = stuckFindings(stuck, socket);
            addDirectionFindings(report, differences);
        } else {
            addLineFindings(report, faults, dumpBits, length / width, socket);
        }
    }
    if (dump.size() != part.size()) {
        bool startMatches = report.differing == report.total - length;
        report.findings.insert(report.findings.begin(), sizeFinding(dump, part.size(), startMatches));
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
    std::vector<DumpReport> reports;
    for (std::size_t k = 0; k < dumps.size() && k < parts.size(); ++k) {
        socket.k = int(k);
        reports.push_back(compareDump(parts, dumps[k], socket));
    }
    return reports;
}
