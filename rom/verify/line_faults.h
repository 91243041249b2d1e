// Faults of a chip's lines, its socket or its programmer that turn an expected part into the
// dump: each is a transform of one of the expected parts, tried as a hypothesis.
#pragma once

#include "part_checks.h"

#include <cstddef>
#include <vector>

enum class Transform { None, BytesSwapped, DataLinesExchanged, AddressLineStuck, AddressLinesExchanged };

struct LineFault {
    int source = 0;   // the expected part the dump holds, from 0
    Transform transform = Transform::None;
    int a = 0, b = 0;   // the lines, lowest first; for a stuck line, the line and its value
    ConstantBits predicted[2];   // the transformed part's constant bits, per byte of a unit
};

struct DumpView {
    const Bytes* dump;
    std::size_t length;          // the bytes compared, dump and part
    int width;                   // bytes per unit: data lines 8 * width, A0 counts units
    unsigned char keep[2];       // the bits compared in each byte of a unit: all but stuck lines
    std::vector<std::size_t> sample;   // the first offsets that differ in kept bits
};

// Every part and transform, other than the socket's own part as it is, that gives the dump
// in every kept bit. Each is tried on the sample first, so only those that explain it are
// checked over the whole length.
std::vector<LineFault> findLineFaults(const std::vector<Bytes>& parts, int socket, const DumpView& view);
