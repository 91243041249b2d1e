// The board commands over files: every input read and checked before any output is written.
#include "layout_commands.h"

#include "built_in_boards.h"
#include "dump_findings.h"
#include "file_commands.h"
#include "layout_file.h"
#include "layout_parts.h"
#include "reasons.h"
#include "report.h"
#include "rom_files.h"
#include "socket_map.h"
#include "socket_table.h"
#include "verify_command.h"
#include "verify_text.h"

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

// A dump that is another bank's chip: the chip sits in a socket of the wrong row. Verify's
// own findings name the other lanes of its bank.
std::string otherBankChip(const Bytes& dump, const std::vector<Bytes>& chips, const BoardLayout& layout,
                          std::size_t ownBank)
{
    std::size_t next = 0;
    for (std::size_t b = 0; b < layout.banks.size(); ++b) {
        for (int k = 0; k < layout.banks[b].lanes; ++k, ++next) {
            if (b != ownBank && chips[next] == dump)
                return "  holds " + layout.banks[b].chips[std::size_t(k)] + ", bank " + std::to_string(b + 1) +
                       " lane " + std::to_string(k + 1) + ": the chip sits in another bank's socket\n";
        }
    }
    return "";
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
    for (const std::string& name : chipNames(layout))
        dumps.push_back(readWholeFile(chipPath(request.dir, name), kImageLimit, ""));
    std::string refusal;
    std::vector<Bytes> chips = splitLayout(image, layout, refusal);
    int status = 0;
    std::size_t start = 0, next = 0;
    for (std::size_t b = 0; b < layout.banks.size(); ++b) {
        const Bank& bank = layout.banks[b];
        std::vector<Bytes> bankDumps(dumps.begin() + std::ptrdiff_t(next),
                                     dumps.begin() + std::ptrdiff_t(next) + bank.lanes);
        std::vector<DumpReport> reports = verifyDumps(bankBytes(image, layout, b), bankShape(bank), bankDumps, refusal);
        for (std::size_t k = 0; k < reports.size(); ++k) {
            std::string socket = "bank " + std::to_string(b + 1) + " lane " + std::to_string(reports[k].part + 1);
            for (const std::string& line : verifyLines(reports[k], chipPath(request.dir, bank.chips[k]), socket, start))
                out << line << '\n';
            if (!reports[k].matches) {
                out << otherBankChip(bankDumps[k], chips, layout, b);
                status = kDiffers;
            }
        }
        start += bank.size;
        next += std::size_t(bank.lanes);
    }
    if (request.verbose)
        printMap(layout, chips, image.size(), out);
    return status;
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
