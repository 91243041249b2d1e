// The page's board layouts: the built-in boards, and split and merge over a layout's chips,
// the chips taken by their names, with the socket map the board's picture is drawn from.
#include "page_interface.h"

#include "built_in_boards.h"
#include "image_limits.h"
#include "input_rules.h"
#include "layout_file.h"
#include "layout_parts.h"
#include "layout_verify.h"
#include "page_state.h"
#include "page_texts.h"
#include "socket_map.h"

#include <optional>

namespace {

// The built-in board of that name, or else the layout file's text.
std::optional<BoardLayout> layoutOf(const char* board, const char* text, std::string& refusal)
{
    const BuiltInBoard* builtIn = findBoard(board);
    std::optional<BoardLayout> layout = readLayout(builtIn ? builtIn->text : text, refusal);
    if (!layout)
        refusal = (builtIn ? "board " + std::string(board) : std::string("the layout file")) + ": " + refusal;
    return layout;
}

std::string mapJson(const SocketMap& map)
{
    std::vector<std::string> rows;
    for (const SocketRow& row : map.rows)
        rows.push_back("{\"chip\":" + jsonString(row.chip) + ",\"bank\":" + std::to_string(row.bank) +
                       ",\"lane\":" + std::to_string(row.lane) + ",\"lanes\":" + std::to_string(row.lanes) +
                       ",\"start\":" + std::to_string(row.imageStart) + ",\"end\":" + std::to_string(row.imageEnd) +
                       ",\"holds\":" + jsonString(row.holds) + ",\"bigEndian\":" + jsonString(row.bigEndian) +
                       ",\"littleEndian\":" + jsonString(row.littleEndian) + ",\"size\":" +
                       std::to_string(row.size) + ",\"checksums\":" + jsonString(row.checksums) + "}");
    return ",\"board\":{\"rows\":" + jsonList(rows) + ",\"filled\":" + std::to_string(map.fill.count) + "}";
}

// The line beside each chip's link, as the plain split's socket line is beside a part's.
std::string socketText(const SocketRow& row)
{
    return "  bank " + std::to_string(row.bank) + ", lane " + std::to_string(row.lane) + " of " +
           std::to_string(row.lanes) + ": " + row.holds + "; " + row.bigEndian + " on a big-endian bus, " +
           row.littleEndian + " on a little-endian bus";
}

// The picked file of that name among slots `from` to `to` - 1, or null.
const Input* pickedChip(const std::string& name, int from, int to)
{
    const Input* found = nullptr;
    for (int slot = from; slot < to && slot < kInputSlots; ++slot)
        found = inputs[std::size_t(slot)].name == name ? &inputs[std::size_t(slot)] : found;
    return found;
}

// Why the picked image cannot be laid out over the board, in the command line's words, or "".
std::string imageReason(const BoardLayout& layout, const Input& image)
{
    std::string reason = wholeFileReason(image.size, kImageLimit, "");
    if (reason.empty())
        reason = layoutImageReason(layout, image.size);
    return reason.empty() ? reason : cannotRead(image.name, reason);
}

}  // namespace

const char* pageBoards()
{
    std::vector<std::string> items;
    for (const BuiltInBoard& board : builtInBoards())
        items.push_back("{\"name\":" + jsonString(board.name) + ",\"description\":" +
                        jsonString(board.description) + "}");
    report = jsonList(items);
    return report.c_str();
}

int pageBoardSplit(const char* board, const char* text)
{
    std::string reason;
    std::optional<BoardLayout> layout = layoutOf(board, text, reason);
    if (!layout)
        return refuse(reason);
    const Input& image = inputs[0];
    reason = imageReason(*layout, image);
    if (!reason.empty())
        return refuse(reason);
    std::vector<Bytes> chips = splitLayout(image.bytes, *layout, reason);
    SocketMap map = socketMap(*layout, chips, image.bytes.size());
    outputs.clear();
    for (std::size_t k = 0; k < chips.size(); ++k)
        outputs.push_back({map.rows[k].chip, std::move(chips[k]), socketText(map.rows[k])});
    return answer(mapJson(map));
}

int pageBoardMerge(const char* board, const char* text, int count, const char* image)
{
    std::string reason;
    std::optional<BoardLayout> layout = layoutOf(board, text, reason);
    if (!layout)
        return refuse(reason);
    std::vector<Bytes> chips;
    for (const Bank& bank : layout->banks) {
        for (const std::string& name : bank.chips) {
            const Input* found = pickedChip(name, 0, count);
            if (!found)
                return refuse(cannotRead(name, "not among the files picked"));
            std::size_t share = chipShare(bank);
            reason = chipFileReason(found->size, share);
            if (reason.empty() && found->bytes.size() < share)   // the page read too little of it
                reason = shortReadReason(share);
            if (!reason.empty())
                return refuse(cannotRead(name, reason));
            chips.emplace_back(found->bytes.begin(), found->bytes.begin() + std::ptrdiff_t(share));
        }
    }
    outputs.clear();
    outputs.push_back({image, mergeLayout(chips, *layout), ""});
    return answer();
}

int pageBoardVerify(const char* board, const char* text, int dumps)
{
    std::string reason;
    std::optional<BoardLayout> layout = layoutOf(board, text, reason);
    if (!layout)
        return refuse(reason);
    const Input& image = inputs[0];
    reason = imageReason(*layout, image);
    if (!reason.empty())
        return refuse(reason);
    std::vector<Bytes> read;
    std::vector<std::string> names;
    for (const Bank& bank : layout->banks) {
        for (const std::string& name : bank.chips) {
            const Input* found = pickedChip(name, 1, dumps + 1);
            if (!found)
                return refuse(cannotRead(name, "not among the files picked"));
            reason = wholeFileReason(found->size, kImageLimit, "");
            if (reason.empty() && found->bytes.size() < found->size)   // the page read too little of it
                reason = shortReadReason(std::size_t(found->size));
            if (!reason.empty())
                return refuse(cannotRead(name, reason));
            read.push_back(found->bytes);
            names.push_back(name);
        }
    }
    bool differs = false;
    std::vector<std::string> lines;
    for (const std::string& line : layoutVerifyLines(image.bytes, *layout, read, names, differs))
        lines.push_back(jsonString(line));
    outputs.clear();
    return answer(",\"findings\":" + jsonList(lines));
}
