// The search over the parts and every transform of their lines: a hypothesis must predict the
// sample of differing bytes before it is checked byte by byte, so the pairs of lines cost a
// few reads each rather than a pass over the dump.
#include "line_faults.h"

#include <algorithm>

namespace {

constexpr std::size_t kMostFaults = 8;   // past this many, the dump is too uniform to tell

template <class Value>
Value exchangeBits(Value value, int a, int b)
{
    if (((value >> a) ^ (value >> b)) & 1)
        value ^= Value((Value(1) << a) | (Value(1) << b));
    return value;
}

// The byte the transformed part holds at offset `at`, or -1 where it would read past the end.
int predictedByte(const LineFault& fault, const Bytes& part, std::size_t at, std::size_t length,
                  int width)
{
    std::size_t w = std::size_t(width);
    std::size_t unit = at / w, from = at;
    switch (fault.transform) {
    case Transform::None:
        break;
    case Transform::BytesSwapped:
        from = at ^ 1;
        break;
    case Transform::DataLinesExchanged: {
        if (width == 1)
            return exchangeBits<unsigned>(part[at], fault.a, fault.b);
        std::size_t first = at & ~std::size_t(1);
        if (first + 1 >= length)
            return -1;
        unsigned word = exchangeBits<unsigned>(part[first] | unsigned(part[first + 1]) << 8, fault.a, fault.b);
        return int(word >> (8 * (at & 1)) & 0xFF);
    }
    case Transform::AddressLineStuck: {
        std::size_t line = std::size_t(1) << fault.a;
        from = (fault.b ? unit | line : unit & ~line) * w + at % w;
        break;
    }
    case Transform::AddressLinesExchanged:
        from = exchangeBits(unit, fault.a, fault.b) * w + at % w;
        break;
    }
    return from < length ? part[from] : -1;
}

bool predicts(const LineFault& fault, const Bytes& part, const DumpView& view, std::size_t at)
{
    int byte = predictedByte(fault, part, at, view.length, view.width);
    return byte >= 0 && ((unsigned(byte) ^ (*view.dump)[at]) & view.keep[at % std::size_t(view.width)]) == 0;
}

// The whole length, keeping the constant bits of what the hypothesis predicts: a data line
// the transformed part never changes is no stuck line.
bool holdsThroughout(LineFault& fault, const Bytes& part, const DumpView& view)
{
    std::size_t width = std::size_t(view.width);
    for (std::size_t at = 0; at < view.length; ++at) {
        int byte = predictedByte(fault, part, at, view.length, view.width);
        if (byte < 0 || ((unsigned(byte) ^ (*view.dump)[at]) & view.keep[at % width]))
            return false;
        ConstantBits& constant = fault.predicted[at % width];
        constant.set &= (unsigned char)byte;
        constant.clear &= (unsigned char)~byte;
    }
    return true;
}

LineFault lineFault(Transform transform, int a, int b)
{
    LineFault fault;
    fault.transform = transform;
    fault.a = a;
    fault.b = b;
    return fault;
}

// Every transform once: the programmer's byte order, each pair of data lines, each address
// line stuck either way and each pair of address lines.
std::vector<LineFault> transforms(const DumpView& view)
{
    std::vector<LineFault> all = {LineFault()};
    if (view.length % 2 == 0)
        all.push_back(lineFault(Transform::BytesSwapped, 0, 0));
    int dataLines = 8 * view.width;
    int addressLines = 0;
    while ((std::size_t(1) << addressLines) < view.length / std::size_t(view.width))
        ++addressLines;
    for (int a = 0; a < dataLines; ++a) {
        for (int b = a + 1; b < dataLines; ++b)
            all.push_back(lineFault(Transform::DataLinesExchanged, a, b));
    }
    for (int a = 0; a < addressLines; ++a) {
        all.push_back(lineFault(Transform::AddressLineStuck, a, 0));
        all.push_back(lineFault(Transform::AddressLineStuck, a, 1));
        for (int b = a + 1; b < addressLines; ++b)
            all.push_back(lineFault(Transform::AddressLinesExchanged, a, b));
    }
    return all;
}

}  // namespace

std::vector<LineFault> findLineFaults(const std::vector<Bytes>& parts, int socket, const DumpView& view)
{
    std::vector<LineFault> found;
    for (int source = 0; source < int(parts.size()); ++source) {
        const Bytes& part = parts[std::size_t(source)];
        if (source != socket && part == parts[std::size_t(socket)])
            continue;   // another socket's part that is the same says nothing of the socket
        for (LineFault fault : transforms(view)) {
            fault.source = source;
            if (source == socket && fault.transform == Transform::None)
                continue;
            bool sampled = std::all_of(view.sample.begin(), view.sample.end(),
                                       [&](std::size_t at) { return predicts(fault, part, view, at); });
            if (sampled && holdsThroughout(fault, part, view))
                found.push_back(fault);
            if (found.size() == kMostFaults)
                return found;
        }
    }
    return found;
}
