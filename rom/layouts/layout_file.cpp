// Reads a layout file's banks, refusing every line that would be misread.
#include "layout_file.h"

#include "image_limits.h"
#include "option_values.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

namespace {

// The chips of the page's list, by the names their datasheets give; the 16-bit ones too,
// as a bank of one word lane is often a 27C1024 to 27C4096.
struct ChipSize {
    const char* name;
    std::size_t size;
};

constexpr ChipSize kChips[] = {
    {"27C256", 0x8000},    {"27C512", 0x10000},   {"27C010", 0x20000},  {"27C020", 0x40000},
    {"27C040", 0x80000},   {"27C080", 0x100000},  {"27C800", 0x100000}, {"27C160", 0x200000},
    {"27C322", 0x400000},  {"27C1024", 0x20000},  {"27C2048", 0x40000}, {"27C4096", 0x80000},
};

std::string upper(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::size_t> readSize(const std::string& token)
{
    for (const ChipSize& chip : kChips) {
        if (upper(token) == chip.name)
            return chip.size;
    }
    std::optional<std::size_t> size;
    if (!readFillTo(token, size).empty())
        return std::nullopt;
    return size;
}

// A name is a file in the folder given: no separator of any system, no drive, nothing
// that names the folder itself or its parent.
bool hasPath(const std::string& name)
{
    return name.find_first_of("/\\:") != std::string::npos || name == "." || name == "..";
}

// The words of one line, read in turn.
struct LineReader {
    std::vector<std::string> words;
    std::size_t at = 0;

    std::optional<std::string> next()
    {
        if (at == words.size())
            return std::nullopt;
        return words[at++];
    }
};

std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t\r", at)) != std::string::npos) {
        std::size_t end = line.find_first_of(" \t\r", at);
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::string quoted(const std::optional<std::string>& word)
{
    return word ? "'" + *word + "'" : "the end of the line";
}

// Every rule a bank must keep once its line is read, in the order they are reported.
std::string bankReason(const Bank& bank, std::size_t names)
{
    if (bank.size == 0 || bank.size > kImageLimit)
        return "a bank holds 1 byte to 64M, not " + std::to_string(bank.size);
    if (bank.swap && bank.width != 2)
        return "swap needs width 2";
    if (names != std::size_t(bank.lanes))
        return std::to_string(bank.lanes) + (bank.lanes == 1 ? " lane takes " : " lanes take ") +
               std::to_string(bank.lanes) + " chip name" + (bank.lanes == 1 ? "" : "s") +
               ", not " + std::to_string(names);
    std::size_t group = std::size_t(bank.lanes) * std::size_t(bank.width);
    if (bank.size % group != 0)
        return "a bank of " + std::to_string(bank.size) + " bytes is not whole groups of " +
               std::to_string(bank.lanes) + " lane" + (bank.lanes == 1 ? "" : "s") + " of " +
               std::to_string(bank.width) + " byte" + (bank.width == 1 ? "" : "s");
    std::size_t share = chipShare(bank);
    if (bank.fillTo && bank.fillTo < share)
        return "fill-to " + std::to_string(bank.fillTo) + " is below each chip's share of " +
               std::to_string(share) + " bytes";
    if (bank.fillTo > kImageLimit)
        return "fill-to is at most 64M";
    if (bank.mirror && bank.fillTo % share != 0)
        return "mirror needs fill-to to be a whole multiple of each chip's share of " +
               std::to_string(share) + " bytes";
    if (bank.fillTo % std::size_t(bank.width) != 0)
        return "fill-to must be whole 16-bit words with width 2";
    return "";
}

// The optional words between the lanes and the chips.
std::string readOptions(LineReader& line, Bank& bank)
{
    bool fillTo = false, fill = false;
    for (;;) {
        std::optional<std::string> word = line.next();
        if (word == "chips")
            return "";
        if (word == "width") {
            std::optional<std::string> value = line.next();
            if (value != "1" && value != "2")
                return "width takes 1 or 2, not " + quoted(value);
            bank.width = (*value)[0] - '0';
        } else if (word == "swap") {
            bank.swap = true;
        } else if (word == "fill-to") {
            std::optional<std::string> value = line.next();
            std::optional<std::size_t> size = value ? readSize(*value) : std::nullopt;
            if (!size || *size == 0)
                return "fill-to takes a size such as 32768, 512K or 27C256, not " + quoted(value);
            bank.fillTo = *size;
            fillTo = true;
        } else if (word == "fill" || word == "mirror") {
            if (!fillTo)
                return *word + " needs fill-to before it";
            if (fill || bank.mirror)
                return "fill and mirror exclude each other";
            if (*word == "mirror") {
                bank.mirror = true;
                continue;
            }
            std::optional<std::string> value = line.next();
            std::optional<unsigned char> byte;
            if (!value || !readFill(*value, byte).empty())
                return "fill takes a byte such as 0xFF or 0, not " + quoted(value);
            bank.fill = *byte;
            fill = true;
        } else if (!word) {
            return "expected 'chips' and the chips' names";
        } else {
            return "unknown keyword '" + *word +
                   "'; expected width, swap, fill-to, fill, mirror or chips";
        }
    }
}

// One bank line, its names checked against those of the lines before.
std::string readBank(LineReader& line, Bank& bank, std::map<std::string, int>& names, int number)
{
    std::optional<std::string> word = line.next();
    if (word != "bank")
        return "expected 'bank', found " + quoted(word);
    word = line.next();
    std::optional<std::size_t> size = word ? readSize(*word) : std::nullopt;
    if (!size)
        return "expected the bank's size (32768, 0x8000, 32K, 2M or a chip such as 27C256), found " +
               quoted(word);
    bank.size = *size;
    word = line.next();
    if (word != "lanes")
        return "expected 'lanes' after the bank's size, found " + quoted(word);
    word = line.next();
    if (word != "1" && word != "2" && word != "4")
        return "lanes takes 1, 2 or 4, not " + quoted(word);
    bank.lanes = (*word)[0] - '0';
    std::string reason = readOptions(line, bank);
    if (!reason.empty())
        return reason;
    while ((word = line.next())) {
        if (hasPath(*word))
            return "chip name '" + *word + "' has a path in it; give the file's name alone";
        // Names that differ only in case are one file on Windows and macOS.
        auto [first, added] = names.emplace(upper(*word), number);
        if (!added)
            return "chip name '" + *word + "' repeated from line " + std::to_string(first->second);
        bank.chips.push_back(*word);
    }
    return bankReason(bank, bank.chips.size());
}

}  // namespace

std::optional<BoardLayout> readLayout(const std::string& text, std::string& refusal)
{
    BoardLayout layout;
    std::map<std::string, int> names;
    std::size_t total = 0;
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string content = text.substr(start, end - start);
        start = end + 1;
        LineReader line{wordsOf(content.substr(0, content.find('#')))};
        if (line.words.empty())
            continue;
        Bank bank;
        refusal = readBank(line, bank, names, number);
        total += bank.size;
        if (refusal.empty() && total > kImageLimit)
            refusal = "the banks hold " + std::to_string(total) + " bytes, over the 64M limit";
        if (!refusal.empty()) {
            refusal = "line " + std::to_string(number) + ": " + refusal;
            return std::nullopt;
        }
        layout.banks.push_back(std::move(bank));
    }
    if (layout.banks.empty()) {
        refusal = "no bank in the layout";
        return std::nullopt;
    }
    return layout;
}
