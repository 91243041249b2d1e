// The layouts `merge` can build from two or four parts, and the image each one makes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct Layout {
    std::vector<int> order;   // order[k]: which of the given parts is lane k
    int width = 1;            // bytes per unit of a lane
    bool swap = false;
};

// Every order with byte lanes, then with word lanes and with word lanes swapped; the word
// lanes only when the parts hold whole words.
std::vector<Layout> candidateLayouts(int parts, bool wholeWords);
// The merge command with IMAGE for the output and the part paths exactly as given.
std::string mergeCommand(const Layout& layout, const std::vector<std::string>& paths);
// Which stream fills each byte of a group of 2 x parts image bytes, a stream being the even
// (2 x part) or the odd (2 x part + 1) bytes of a part.
std::vector<int> streamsByPosition(const Layout& layout);
// Whether the two layouts put the same bytes into every aligned 32-bit group of the image,
// only in another order: byte statistics hardly tell such twins apart.
bool twinLayouts(const Layout& a, const Layout& b);
// The image bytes that lanes bytes [from, from + count) of every part make in this layout;
// from and count are whole words when the layout has word lanes.
Bytes mergeWindow(const std::vector<Bytes>& parts, const Layout& layout, std::size_t from,
                  std::size_t count);
