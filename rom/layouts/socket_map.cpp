// The socket map as data, from the layout and the chips made of it.
#include "socket_map.h"

#include "bus_slice.h"
#include "checksums.h"

#include <cstdio>

namespace {

std::string dataLines(int high, int low)
{
    char lines[24];
    std::snprintf(lines, sizeof lines, "D%d-D%d", high, low);
    return lines;
}

// Which units of the bank a lane holds, in the words a person at the bench uses.
std::string holds(const Bank& bank, int k)
{
    std::string unit = bank.width == 2 ? "words" : "bytes";
    std::string text;
    if (bank.lanes == 1)
        text = "all " + unit;
    else if (bank.lanes == 2)
        text = std::string(k == 0 ? "even " : "odd ") + unit;
    else
        text = unit + " 4n+" + std::to_string(k);
    if (bank.swap)
        text += ", bytes swapped";
    char fill[8];
    std::snprintf(fill, sizeof fill, "0x%02X", bank.fill);
    if (bank.fillTo && bank.mirror)
        text += ", mirrored to " + std::to_string(bank.fillTo);
    else if (bank.fillTo && bank.fillTo > chipShare(bank))
        text += ", filled with " + std::string(fill) + " to " + std::to_string(bank.fillTo);
    return text;
}

}  // namespace

SocketMap socketMap(const BoardLayout& layout, const std::vector<Bytes>& chips, std::size_t imageSize)
{
    SocketMap map{{}, layoutFill(layout, imageSize)};
    std::size_t start = 0, next = 0;
    for (std::size_t b = 0; b < layout.banks.size(); ++b) {
        const Bank& bank = layout.banks[b];
        for (int k = 0; k < bank.lanes; ++k, ++next) {
            BusSlice slice = busSlice(bank.lanes, bank.width, k);
            const Bytes& chip = chips[next];
            map.rows.push_back({bank.chips[std::size_t(k)], int(b) + 1, k + 1, bank.lanes, start,
                                start + bank.size, holds(bank, k),
                                dataLines(slice.bigEndianLow + slice.bits - 1, slice.bigEndianLow),
                                dataLines(slice.littleEndianLow + slice.bits - 1, slice.littleEndianLow),
                                chip.size(), checksumsText(chip.data(), chip.size())});
        }
        start += bank.size;
    }
    return map;
}
