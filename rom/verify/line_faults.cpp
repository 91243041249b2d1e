// The search over the parts and every transform of their lines: a hypothesis must predict the
// sample of differing bytes and the probes before it is checked byte by byte, so the pairs of
// lines cost a few reads each rather than a pass over the dump, blank stretches included.
#include "line_faults.h"

#include <algorithm>

namespace {

constexpr std::size_t kMostFaults = 8;   // past this many, the dump is too uniform to tell
constexpr std::size_t kProbes = 512;     // probes taken from the dump and from each part
constexpr std::size_t kPattern = 8;      // bytes old data must change to be more than chance

template <class Value>
Value exchangeBits(Value value, int a, int b)
{
    if (((value >> a) ^ (value >> b)) & 1)
        value ^= Value((Value(1) << a) | (Value(1) << b));
    return value;
}

std::size_t reverseBits(std::size_t value, int bits)
{
    std::size_t reversed = 0;
    for (int bit = 0; bit < bits; ++bit)
        reversed |= (value >> bit & 1) << (bits - 1 - bit);
    return reversed;
}

int addressLines(const DumpView& view)
{
    int lines = 0;
    while ((std::size_t(1) << lines) < view.length / std::size_t(view.width))
        ++lines;
    return lines;
}

// The unit the transformed part reads for unit `unit`; for a stuck line, one of the two that
// read the same.
std::size_t sourceUnit(const LineFault& fault, std::size_t unit, int lines)
{
    std::size_t line = std::size_t(1) << fault.a;
    switch (fault.transform) {
    case Transform::AddressLineStuck:      return fault.b ? unit | line : unit & ~line;
    case Transform::AddressLinesExchanged: return exchangeBits(unit, fault.a, fault.b);
    case Transform::AddressLinesReversed:  return reverseBits(unit, lines);
    default:                               return unit;
    }
}

// The byte the transformed part holds at offset `at`, or -1 where it would read past the end.
int predictedByte(const LineFault& fault, const Bytes& part, std::size_t at, const DumpView& view, int lines)
{
    std::size_t w = std::size_t(view.width), length = view.length;
    std::size_t from = sourceUnit(fault, at / w, lines) * w + at % w;
    switch (fault.transform) {
    case Transform::BytesSwapped:
        from = at ^ 1;
        break;
    case Transform::DataLinesReversed:
        return int(reverseBits(part[at], 8));
    case Transform::DataLinesExchanged: {
        if (w == 1)
            return exchangeBits<unsigned>(part[at], fault.a, fault.b);
        std::size_t first = at & ~std::size_t(1);
        unsigned word = exchangeBits<unsigned>(part[first] | unsigned(part[first + 1]) << 8, fault.a, fault.b);
        return int(word >> (8 * (at & 1)) & 0xFF);
    }
    default:
        break;
    }
    return from < length ? part[from] : -1;
}

// Kept bits that differ; with notErased, only those read 1 where the prediction has 0.
bool contradicts(unsigned predicted, unsigned read, unsigned keep, bool notErased)
{
    unsigned differ = (predicted ^ read) & keep;
    return notErased ? (differ & read) != 0 : differ != 0;
}

bool predicts(const LineFault& fault, const Bytes& part, const DumpView& view, std::size_t at, int lines)
{
    int byte = predictedByte(fault, part, at, view, lines);
    unsigned keep = view.keep[std::size_t(fault.source)][at % std::size_t(view.width)];
    return byte >= 0 && !contradicts(unsigned(byte), (*view.dump)[at], keep, fault.notErased);
}

// The offset whose prediction reads the probe's own byte: an address fault moves bytes, and a
// probe in a blank stretch of the dump says little of where they came from.
std::size_t partner(const LineFault& fault, std::size_t at, const DumpView& view, int lines)
{
    std::size_t w = std::size_t(view.width), unit = at / w;
    switch (fault.transform) {
    case Transform::BytesSwapped:          return at ^ 1;
    case Transform::AddressLineStuck:      return (unit ^ std::size_t(1) << fault.a) * w + at % w;
    case Transform::AddressLinesExchanged:
    case Transform::AddressLinesReversed:  return sourceUnit(fault, unit, lines) * w + at % w;
    default:                               return at;
    }
}

bool passesProbes(const LineFault& fault, const Bytes& part, const DumpView& view, int lines)
{
    auto holdsAt = [&](std::size_t at) {
        std::size_t other = partner(fault, at, view, lines);
        return predicts(fault, part, view, at, lines) &&
               (other >= view.length || predicts(fault, part, view, other, lines));
    };
    return std::all_of(view.sample.begin(), view.sample.end(), holdsAt) &&
           std::all_of(view.probes.begin(), view.probes.end(), holdsAt);
}

// The whole length, keeping the constant bits of what the hypothesis predicts (a data line
// the transformed part never changes is no stuck line) and the bytes each line not compared
// differs in.
bool holdsThroughout(LineFault& fault, const Bytes& part, const DumpView& view, int lines)
{
    std::size_t width = std::size_t(view.width);
    const KeptBits& keep = view.keep[std::size_t(fault.source)];
    for (std::size_t at = 0; at < view.length; ++at) {
        int byte = predictedByte(fault, part, at, view, lines);
        unsigned read = (*view.dump)[at];
        if (byte < 0 || contradicts(unsigned(byte), read, keep[at % width], fault.notErased))
            return false;
        ConstantBits& constant = fault.predicted[at % width];
        constant.set &= (unsigned char)byte;
        constant.clear &= (unsigned char)~byte;
        unsigned differ = unsigned(byte) ^ read;
        if (differ & keep[at % width])
            ++fault.changed;
        for (unsigned rest = differ & ~unsigned(keep[at % width]); rest; rest &= rest - 1)
            ++fault.lineBytes[8 * (at % width) + std::size_t(__builtin_ctz(rest))];
    }
    return !fault.notErased || fault.changed >= kPattern;
}

LineFault lineFault(int source, Transform transform, int a, int b, bool notErased)
{
    LineFault fault;
    fault.source = source;
    fault.transform = transform;
    fault.a = a;
    fault.b = b;
    fault.notErased = notErased;
    return fault;
}

// Every transform once: the programmer's byte order, each pair of data lines and their
// reversal, each address line stuck either way, each pair of address lines and their reversal.
std::vector<LineFault> transforms(const DumpView& view, int source, bool notErased)
{
    std::vector<LineFault> all = {lineFault(source, Transform::None, 0, 0, notErased)};
    if (view.length % 2 == 0)
        all.push_back(lineFault(source, Transform::BytesSwapped, 0, 0, notErased));
    int dataLines = 8 * view.width;
    for (int a = 0; a < dataLines; ++a) {
        for (int b = a + 1; b < dataLines; ++b)
            all.push_back(lineFault(source, Transform::DataLinesExchanged, a, b, notErased));
    }
    all.push_back(lineFault(source, Transform::DataLinesReversed, 0, 0, notErased));
    int lines = addressLines(view);
    for (int a = 0; a < lines; ++a) {
        all.push_back(lineFault(source, Transform::AddressLineStuck, a, 0, notErased));
        all.push_back(lineFault(source, Transform::AddressLineStuck, a, 1, notErased));
        for (int b = a + 1; b < lines; ++b)
            all.push_back(lineFault(source, Transform::AddressLinesExchanged, a, b, notErased));
    }
    if (lines > 2)
        all.push_back(lineFault(source, Transform::AddressLinesReversed, 0, 0, notErased));
    return all;
}

}  // namespace

std::vector<std::size_t> spreadProbes(const unsigned char* bytes, std::size_t length)
{
    std::size_t counts[256] = {};
    for (std::size_t at = 0; at < length; ++at)
        ++counts[bytes[at]];
    unsigned char common = (unsigned char)(std::max_element(counts, counts + 256) - counts);
    std::size_t step = std::max<std::size_t>(1, (length - counts[common]) / kProbes), seen = 0;
    std::vector<std::size_t> probes;
    for (std::size_t at = 0; at < length && probes.size() < kProbes; ++at) {
        if (bytes[at] != common && seen++ % step == 0)
            probes.push_back(at);
    }
    return probes;
}

std::vector<LineFault> findLineFaults(const std::vector<Bytes>& parts, int socket, const DumpView& view,
                                      bool notErased)
{
    std::vector<LineFault> found;
    int lines = addressLines(view);
    for (int source = 0; source < int(parts.size()); ++source) {
        const Bytes& part = parts[std::size_t(source)];
        if (source != socket && part == parts[std::size_t(socket)])
            continue;   // another socket's part that is the same says nothing of the socket
        for (LineFault fault : transforms(view, source, notErased)) {
            if (source == socket && fault.transform == Transform::None)
                continue;   // the socket's part as it is: a match, or the direction of its bits
            if (passesProbes(fault, part, view, lines) && holdsThroughout(fault, part, view, lines)) {
                found.push_back(fault);
                if (fault.transform == Transform::None)
                    break;   // the part as it is: its transforms that fit leave it unchanged
            }
            if (found.size() == kMostFaults)
                return found;
        }
    }
    return found;
}
