// What each dumped chip holds against the part `split` makes for its socket: whether it
// matches, where it differs, and the faults of the chip, its lines, its socket or its
// programmer that explain the difference. Data only, with no streams or exceptions, so the
// browser page can show it as the command line does.
#pragma once

#include "part_images.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

enum class FindingKind {
    Blank, StuckDataLine, DataLinesExchanged, DataLinesReversed, AddressLineStuck, AddressLinesExchanged,
    AddressLinesReversed, HoldsPart, BytesSwapped, NotErased, WeakBits, BlankFrom, SeveralFit, OtherData, Size
};

struct Finding {
    FindingKind kind;
    std::string text;   // begins with the finding's fixed phrase, such as "stuck data line D3 at 0"
};

struct DifferingByte {
    std::size_t dumpOffset;
    std::optional<std::size_t> imageOffset;   // none in the fill or the zeros that pad the image
    unsigned char read, expected;
};

struct DumpReport {
    int part = 0;                  // the socket's part, from 0
    bool matches = false;
    std::size_t differing = 0;     // bytes that differ, and those one file has and the other lacks
    std::size_t total = 0;         // the larger of the dump's and the part's sizes
    std::vector<DifferingByte> first;   // the first few bytes that differ
    std::vector<Finding> findings;
};

// One report per dump, in socket order; none, with the reason, when the shape's fill does
// not fit the image. An empty dump is a dump too: a read that failed.
std::vector<DumpReport> verifyDumps(const Bytes& image, const PartShape& shape,
                                    const std::vector<Bytes>& dumps, std::string& refusal);
