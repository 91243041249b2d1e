// Faults of a chip's lines, its socket or its programmer that turn an expected part into the
// dump: each is a transform of one of the expected parts, tried as a hypothesis.
#pragma once

#include "part_checks.h"

#include <array>
#include <cstddef>
#include <vector>

enum class Transform {
    None, BytesSwapped, DataLinesExchanged, DataLinesReversed,
    AddressLineStuck, AddressLinesExchanged, AddressLinesReversed
};

using KeptBits = std::array<unsigned char, 2>;   // per byte of a unit: the bits compared

struct LineFault {
    int source = 0;   // the expected part the dump holds, from 0
    Transform transform = Transform::None;
    int a = 0, b = 0;   // the lines, lowest first; for a stuck line, the line and its value
    bool notErased = false;    // holds only with old 0 bits over the transformed part
    std::size_t changed = 0;   // with notErased: the bytes the old bits changed
    ConstantBits predicted[2];   // the transformed part's constant bits, per byte of a unit
    std::array<std::size_t, 16> lineBytes{};   // bytes whose data line n, not compared, differs
};

struct DumpView {
    const Bytes* dump;
    std::size_t length;          // the bytes compared, dump and part: whole units
    int width;                   // bytes per unit: data lines 8 * width, A0 counts units
    std::vector<KeptBits> keep;  // per expected part: all bits but the lines the dump holds stuck
    std::vector<std::size_t> sample;   // the first offsets that differ from the socket's part
    std::vector<std::size_t> probes;   // offsets spread over what the dump and the parts hold
};

// Offsets spread evenly over the bytes that are not the commonest one: in a mostly blank
// flash image, its code.
std::vector<std::size_t> spreadProbes(const unsigned char* bytes, std::size_t length);

// Every part and transform, other than the socket's own part as it is, that gives the dump
// in every kept bit, or with `notErased`, once old 0 bits are laid over it. A transform that
// leaves another socket's part as it is says nothing: that part as it is holds, alone. Each
// is tried on the sample and the probes first, so only those that explain them are checked
// over the whole length.
std::vector<LineFault> findLineFaults(const std::vector<Bytes>& parts, int socket, const DumpView& view,
                                      bool notErased);
