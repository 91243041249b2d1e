// The layouts `merge` can build from the parts, merged through the engine's lane transforms.
#include "layouts.h"

#include "lanes.h"

#include <algorithm>
#include <numeric>

std::vector<Layout> candidateLayouts(int parts, bool wholeWords)
{
    std::vector<Layout> layouts;
    const Layout kinds[] = {{{}, 1, false}, {{}, 2, false}, {{}, 2, true}};
    for (Layout kind : kinds) {
        if (kind.width == 2 && !wholeWords)
            continue;
        kind.order.resize(std::size_t(parts));
        std::iota(kind.order.begin(), kind.order.end(), 0);
        do
            layouts.push_back(kind);
        while (std::next_permutation(kind.order.begin(), kind.order.end()));
    }
    return layouts;
}

std::vector<int> streamsByPosition(const Layout& layout)
{
    int parts = int(layout.order.size());
    std::vector<int> streams(std::size_t(2 * parts));
    for (int p = 0; p < 2 * parts; ++p) {
        if (layout.width == 1)
            streams[std::size_t(p)] = 2 * layout.order[std::size_t(p % parts)] + p / parts;
        else
            streams[std::size_t(p)] = 2 * layout.order[std::size_t(p / 2)] + ((p % 2) ^ int(layout.swap));
    }
    return streams;
}

std::string mergeCommand(const Layout& layout, const std::vector<std::string>& paths)
{
    std::string command = "kestrum-cli merge";
    if (layout.width == 2)
        command += " --width 2";
    if (layout.swap)
        command += " --swap";
    // A path that looks like an option would be read as one, unless the options end first.
    bool dashed = std::any_of(paths.begin(), paths.end(), [](const std::string& path) {
        return path.size() > 1 && path[0] == '-';
    });
    command += dashed ? " -- IMAGE" : " IMAGE";
    for (int part : layout.order)
        command += " " + paths[std::size_t(part)];
    return command;
}

Bytes mergeWindow(const std::vector<Bytes>& parts, const Layout& layout, std::size_t from,
                  std::size_t count)
{
    std::vector<Bytes> windows;
    std::vector<const unsigned char*> lanes;
    windows.reserve(layout.order.size());
    for (int part : layout.order) {
        const Bytes& bytes = parts[std::size_t(part)];
        windows.emplace_back(bytes.begin() + std::ptrdiff_t(from),
                             bytes.begin() + std::ptrdiff_t(from + count));
        if (layout.swap)
            swapBytePairs(windows.back().data(), count);
        lanes.push_back(windows.back().data());
    }
    Bytes image(count * layout.order.size());
    gatherImage(image.data(), lanes.data(), count,
                LaneLayout{int(layout.order.size()), layout.width});
    return image;
}

// Merges parts whose bytes name their own part and place, then compares the groups.
bool twinLayouts(const Layout& a, const Layout& b)
{
    constexpr std::size_t kLane = 16;
    std::vector<Bytes> named(a.order.size(), Bytes(kLane));
    for (std::size_t part = 0; part < named.size(); ++part)
        std::iota(named[part].begin(), named[part].end(), (unsigned char)(part * kLane));
    Bytes first = mergeWindow(named, a, 0, kLane), second = mergeWindow(named, b, 0, kLane);
    for (std::size_t at = 0; at < first.size(); at += 4) {
        std::sort(first.begin() + std::ptrdiff_t(at), first.begin() + std::ptrdiff_t(at + 4));
        std::sort(second.begin() + std::ptrdiff_t(at), second.begin() + std::ptrdiff_t(at + 4));
    }
    return first == second;
}
