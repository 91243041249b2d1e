// Reads of one chip against each other: the commonest size sets which are compared byte by
// byte; a read of another size, blank, or the reference shifted is named and set aside, so it
// neither stops the comparison nor turns every byte into a difference.
#include "read_comparison.h"

#include "checksums.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr long kMostShift = 64;         // bytes a programmer's offset or a lost address cycle moves
constexpr std::size_t kShiftCheck = 4096;   // bytes a shift must match, or the whole read

bool isBlank(const Bytes& read)
{
    return std::all_of(read.begin(), read.end(), [&](unsigned char b) { return b == read[0]; }) &&
           (read[0] == 0xFF || read[0] == 0x00);
}

// The commonest size among the reads that hold something, the longest of equals.
std::size_t commonSize(const std::vector<Bytes>& reads)
{
    std::size_t best = 0, bestCount = 0;
    for (const Bytes& read : reads) {
        std::size_t count = std::size_t(std::count_if(reads.begin(), reads.end(),
                                                       [&](const Bytes& other) { return other.size() == read.size(); }));
        if (!read.empty() && (count > bestCount || (count == bestCount && read.size() > best)))
            best = read.size(), bestCount = count;
    }
    return best;
}

// How far the read is moved against the reference, when most of its start differs: the
// first kShiftCheck bytes read the reference's bytes `shift` further on.
long shiftAgainst(const Bytes& read, const Bytes& reference)
{
    std::size_t size = std::min(read.size(), reference.size()), window = std::min(kShiftCheck, size), differ = 0;
    for (std::size_t at = 0; at < window; ++at)
        differ += read[at] != reference[at];
    for (long shift = 1; 2 * differ > window && shift <= kMostShift && std::size_t(shift) * 2 < size; ++shift) {
        std::size_t n = std::size_t(shift), count = std::min(kShiftCheck, size - n);
        if (std::memcmp(read.data(), reference.data() + n, count) == 0)
            return shift;
        if (std::memcmp(read.data() + n, reference.data(), count) == 0)
            return -shift;
    }
    return 0;
}

void addRange(std::vector<ByteRange>& ranges, std::size_t at)
{
    if (!ranges.empty() && ranges.back().last + 1 == at)
        ranges.back().last = at;
    else
        ranges.push_back({at, at});
}

// The byte more than half of the compared reads hold at `at`, or -1.
int majorityByte(const std::vector<const Bytes*>& compared, std::size_t at)
{
    for (const Bytes* candidate : compared) {
        unsigned char byte = (*candidate)[at];
        std::size_t count = std::size_t(std::count_if(compared.begin(), compared.end(),
                                                      [&](const Bytes* read) { return (*read)[at] == byte; }));
        if (2 * count > compared.size())
            return byte;
    }
    return -1;
}

std::vector<const Bytes*> comparedReads(const std::vector<Bytes>& reads, const ReadComparison& comparison)
{
    std::vector<const Bytes*> compared;
    for (std::size_t r = 0; r < reads.size(); ++r) {
        if (comparison.notes[r].kind == ReadKind::Good)
            compared.push_back(&reads[r]);
    }
    return compared;
}

}  // namespace

ReadComparison compareReads(const std::vector<Bytes>& reads)
{
    ReadComparison comparison;
    comparison.identical = std::all_of(reads.begin(), reads.end(), [&](const Bytes& read) { return read == reads[0]; });
    comparison.size = commonSize(reads);
    comparison.notes.resize(reads.size());
    comparison.reference = -1;
    for (std::size_t r = 0; r < reads.size(); ++r) {
        ReadNote& note = comparison.notes[r];
        const Bytes& read = reads[r];
        if (read.empty()) {
            note.kind = ReadKind::Empty;
        } else if (isBlank(read)) {
            note.kind = ReadKind::Blank;
            note.blank = read[0];
        } else if (comparison.identical) {
            break;
        } else if (read.size() != comparison.size) {
            note.kind = ReadKind::OtherSize;
        } else if (comparison.reference < 0) {
            comparison.reference = int(r);
        } else if ((note.shift = shiftAgainst(read, reads[std::size_t(comparison.reference)])) != 0) {
            note.kind = ReadKind::Shifted;
        }
    }
    if (comparison.identical || comparison.reference < 0)
        return comparison;

    std::vector<const Bytes*> compared = comparedReads(reads, comparison);
    comparison.compared = int(compared.size());
    comparison.majorityKnown = compared.size() >= 3;
    const Bytes& reference = *compared.front();
    for (std::size_t at = 0; at < comparison.size; ++at) {
        unsigned flips = 0;
        for (const Bytes* read : compared)
            flips |= unsigned((*read)[at] ^ reference[at]);
        if (!flips)
            continue;
        ++comparison.differing;
        addRange(comparison.ranges, at);
        for (int line = 0; line < 8; ++line)
            comparison.lineBytes[line] += flips >> line & 1;
        if (!comparison.majorityKnown)
            continue;
        int majority = majorityByte(compared, at);
        if (majority < 0)
            comparison.noMajority.push_back(at);
        for (std::size_t r = 0; r < reads.size(); ++r) {
            if (comparison.notes[r].kind == ReadKind::Good && majority >= 0 && reads[r][at] != majority)
                ++comparison.notes[r].offMajority;
        }
    }
    return comparison;
}

Bytes majorityRead(const std::vector<Bytes>& reads, const ReadComparison& comparison)
{
    if (comparison.identical)
        return reads[0];
    std::vector<const Bytes*> compared = comparedReads(reads, comparison);
    Bytes majority = *compared.front();
    for (const ByteRange& range : comparison.ranges) {
        for (std::size_t at = range.first; at <= range.last; ++at)
            majority[at] = (unsigned char)majorityByte(compared, at);
    }
    return majority;
}

std::string readChecksums(const Bytes& read)
{
    return std::to_string(read.size()) + " bytes, " + checksumsText(read.data(), read.size());
}
