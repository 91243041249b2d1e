// Lays the socket map out in aligned columns.
#include "socket_table.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::string hex(std::size_t value, int digits)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*X", digits, unsigned(value));   // below 64 MiB
    return text;
}

// Columns padded to their widest cell, two spaces apart; the last one is not padded.
std::string aligned(const std::vector<std::vector<std::string>>& cells)
{
    std::vector<std::size_t> widths(cells[0].size(), 0);
    for (const std::vector<std::string>& row : cells) {
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    std::string text;
    for (const std::vector<std::string>& row : cells) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row[c] + std::string(widths[c] - row[c].size() + 2, ' ') : row[c];
        text += line + "\n";
    }
    return text;
}

}  // namespace

std::string socketTable(const SocketMap& map)
{
    std::size_t end = map.rows.empty() ? 1 : map.rows.back().imageEnd;
    int digits = std::max(5, int(hex(end - 1, 1).size()) - 2);
    std::vector<std::vector<std::string>> cells{
        {"chip", "bank", "lane", "image", "holds", "big-endian bus", "little-endian bus", "size", "checksums"}};
    for (const SocketRow& row : map.rows)
        cells.push_back({row.chip, std::to_string(row.bank),
                         std::to_string(row.lane) + " of " + std::to_string(row.lanes),
                         hex(row.imageStart, digits) + "-" + hex(row.imageEnd - 1, digits), row.holds,
                         row.bigEndian, row.littleEndian, std::to_string(row.size), row.checksums});
    std::string text = aligned(cells);
    if (map.fill.count) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "0x%02X", map.fill.byte);
        text += "filled: " + hex(map.fill.from, digits) + "-" + hex(map.fill.from + map.fill.count - 1, digits) +
                ", " + std::to_string(map.fill.count) + " bytes of " + fill + " after the image's " +
                std::to_string(map.fill.from) + " bytes\n";
    }
    return text;
}
