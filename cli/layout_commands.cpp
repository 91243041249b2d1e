// The board commands over files: every input read and checked before any output is written.
#include "layout_commands.h"

#include "built_in_boards.h"
#include "file_commands.h"
#include "layout_file.h"
#include "layout_parts.h"
#include "layout_verify.h"
#include "reasons.h"
#include "report.h"
#include "rom_files.h"
#include "socket_map.h"
#include "socket_table.h"
#include "verify_command.h"

namespace {

constexpr std::size_t kLayoutFileLimit = 0x100000;   // far more than any board's lines

std::string chipPath(const std::string& dir, const std::string& name)
{
    char last = dir.back();
    return last == '/' || last == '\\' ? dir + name : dir + "/" + name;
}

std::vector<std::string> chipNames(const BoardLayout& layout)
{
    std::vector<std::string> names;
    for (const Bank& bank : layout.banks)
        names.insert(names.end(), bank.chips.begin(), bank.chips.end());
    return names;
}

// The image, refused when it is longer than the layout's banks.
Bytes readLaidOutImage(const Request& request, const BoardLayout& layout)
{
    std::vector<std::string> notes;   // split's -v lines of records; the socket map says the rest
    Bytes image = readImageOf(request, request.image, notes);
    std::string reason = layoutImageReason(layout, image.size());
    if (!reason.empty())
        refuseRead(request.image, reason);
    return image;
}

void printMap(const BoardLayout& layout, const std::vector<Bytes>& chips, std::size_t imageSize,
              std::ostream& out)
{
    out << socketTable(socketMap(layout, chips, imageSize));
}

}  // namespace

BoardLayout loadLayout(const Request& request)
{
    std::string source = request.layout, refusal;
    std::string text;
    if (!request.board.empty()) {
        source = "board " + request.board;
        text = findBoard(request.board)->text;
    } else {
        Bytes bytes = readWholeFile(request.layout, kLayoutFileLimit, " for a layout");
        text.assign(bytes.begin(), bytes.end());
    }
    std::optional<BoardLayout> layout = readLayout(text, refusal);
    if (!layout)
        throw LayoutError(source + ": " + refusal);
    return *layout;
}

void splitLayoutFiles(const Request& request, std::ostream& out)
{
    BoardLayout layout = loadLayout(request);
    Bytes image = readLaidOutImage(request, layout);
    std::string refusal;
    std::vector<Bytes> chips = splitLayout(image, layout, refusal);
    if (!refusal.empty())
        refuseRead(request.image, refusal);
    std::vector<std::string> names = chipNames(layout);
    makeOutputFolder(request.dir);
    std::vector<Output> outputs;
    for (std::size_t k = 0; k < chips.size(); ++k)
        outputs.push_back({chipPath(request.dir, names[k]), std::move(chips[k])});
    writeOutputs(outputs);
    if (!request.verbose)
        return;
    for (std::size_t k = 0; k < outputs.size(); ++k)
        chips[k] = std::move(outputs[k].bytes);
    printMap(layout, chips, image.size(), out);
}

void mergeLayoutFiles(const Request& request, std::ostream& out, std::ostream& err)
{
    BoardLayout layout = loadLayout(request);
    std::vector<Bytes> chips;
    for (const Bank& bank : layout.banks) {
        for (const std::string& name : bank.chips)
            chips.push_back(readChip(chipPath(request.dir, name), chipShare(bank), chipSize(bank), err));
    }
    Output image{request.image, mergeLayout(chips, layout)};
    writeOutputs({image});
    if (!request.verbose)
        return;
    out << fileLine(image.path, image.bytes, PartFormat::Raw) << '\n';
    std::string refusal;   // the banks' fill fitted when the layout was read
    printMap(layout, splitLayout(image.bytes, layout, refusal), image.bytes.size(), out);
}


int verifyLayoutFiles(const Request& request, std::ostream& out)
{
    BoardLayout layout = loadLayout(request);
    Bytes image = readLaidOutImage(request, layout);
    std::vector<Bytes> dumps;
    std::vector<std::string> paths;
    for (const std::string& name : chipNames(layout)) {
        paths.push_back(chipPath(request.dir, name));
        dumps.push_back(readWholeFile(paths.back(), kImageLimit, ""));
    }
    bool differs = false;
    for (const std::string& line : layoutVerifyLines(image, layout, dumps, paths, differs))
        out << line << '\n';
    if (request.verbose) {
        std::string refusal;   // the banks' fill fitted when the layout was read
        printMap(layout, splitLayout(image, layout, refusal), image.size(), out);
    }
    return differs ? kDiffers : 0;
}

void printBoards(std::ostream& out)
{
    for (const BuiltInBoard& board : builtInBoards()) {
        std::string refusal;
        std::optional<BoardLayout> layout = readLayout(board.text, refusal);
        std::string chips;
        for (const Bank& bank : layout->banks) {
            chips += chips.empty() ? "" : "; ";
            for (std::size_t k = 0; k < bank.chips.size(); ++k)
                chips += (k ? " " : "") + bank.chips[k];
        }
        out << board.name << std::string(20 - std::min<std::size_t>(19, std::string(board.name).size()), ' ')
            << board.description << '\n'
            << std::string(20, ' ') << "chips: " << chips << '\n';
    }
}
