// Several reads of one chip, compared with each other when there is no image to compare
// them with: where they disagree, which data lines flip, which read is blank, short, long or
// shifted, and with three or more where a majority agrees. Data only, for the command line
// now and the page later.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

enum class ReadKind { Good, Empty, Blank, OtherSize, Shifted };

struct ReadNote {
    ReadKind kind = ReadKind::Good;
    unsigned char blank = 0xFF;   // Blank: the byte it holds throughout
    long shift = 0;               // Shifted: read[at] is the reference's byte at + shift
    std::size_t offMajority = 0;  // Good, with a majority: the bytes where it disagrees with it
};

struct ByteRange {
    std::size_t first, last;   // offsets, both included
};

struct ReadComparison {
    bool identical = false;
    std::size_t size = 0;          // the size most reads have, the reads compared byte by byte
    std::vector<ReadNote> notes;   // per read, in the order given
    int reference = 0;             // the first read compared byte by byte, from 0
    int compared = 0;              // the reads compared byte by byte: Good ones
    std::size_t differing = 0;     // offsets where the compared reads disagree
    std::vector<ByteRange> ranges; // those offsets, as ranges
    std::size_t lineBytes[8] = {}; // per data line: the differing bytes where it flips
    bool majorityKnown = false;    // three or more compared reads
    std::vector<std::size_t> noMajority;   // the offsets where no byte has more than half
};

ReadComparison compareReads(const std::vector<Bytes>& reads);
// The byte of the compared reads that more than half of them hold, at every offset; only
// when the comparison found a majority everywhere.
Bytes majorityRead(const std::vector<Bytes>& reads, const ReadComparison& comparison);
// "SIZE bytes, crc32 ..., sha1 ...": what identifies one read, built in one place for every
// line that shows it.
std::string readChecksums(const Bytes& read);
