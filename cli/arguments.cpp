// Reads the command line into a Request, refusing every combination that would be misread.
#include "arguments.h"

#include "built_in_boards.h"
#include "cpu_hints.h"
#include "option_values.h"
#include "same_file.h"

// The names --cpu takes, for the help and for the refusal of another.
static std::string cpuNames(const char* separator)
{
    std::string names;
    for (const CpuHint& hint : cpuHints())
        names += (names.empty() ? "" : separator) + std::string(hint.name);
    return names;
}

std::string usageText()
{
    std::string cpus;
    for (const CpuHint& hint : cpuHints())
        cpus += "                    " + (hint.name + std::string(8, ' ')).substr(0, 8) + hint.description + "\n";
    return "usage: kestrum-cli split [OPTIONS] IMAGE PART1 PART2 [PART3 PART4]\n"
           "       kestrum-cli merge [OPTIONS] IMAGE PART1 PART2 [PART3 PART4]\n"
           "       kestrum-cli swap  IN OUT\n"
           "       kestrum-cli identify [-v] [--cpu NAME] PART1 PART2 [PART3 PART4]\n"
           "       kestrum-cli verify [-v] [OPTIONS] IMAGE DUMP1 DUMP2 [DUMP3 DUMP4]\n"
           "       kestrum-cli compare [-v] [--majority OUT] READ1 READ2 [READ3 ... READ8]\n"
           "       kestrum-cli split|merge|verify [-v] --layout FILE | --board NAME IMAGE DIR\n"
           "       kestrum-cli boards\n"
           "       kestrum-cli --help | --version\n"
           "\n"
           "split deals the bytes of a ROM image round-robin over two or four part files,\n"
           "one per EPROM: part 1 holds offsets 0, 2, 4, ... (0, 4, 8, ... with four parts),\n"
           "and the image is padded with 0x00 to whole groups. merge joins such parts into\n"
           "the image; part 1 sets the part size. swap exchanges the two bytes of every\n"
           "16-bit word of IN and writes OUT. Images hold at most 64 MiB. Every input is\n"
           "read before any output is written, and each output is replaced whole or not\n"
           "at all.\n"
           "\n"
           "identify tries every layout merge can build from dumped parts (every order,\n"
           "byte or word lanes, swapped or not) and prints the merge command that rebuilds\n"
           "the image, with IMAGE for its name, then the evidence; or 'undetermined:' and\n"
           "why, when no layout stands clearly ahead (exit status 3). It warns of blank\n"
           "parts, stuck data bits and halves that repeat. -v adds every layout's score.\n"
           "--cpu names the board's CPU, and so its byte order, which settles code that\n"
           "reads alike in both; if no layout shows that CPU's code it is set aside:\n"
           "  $ kestrum-cli identify u2.bin u1.bin\n"
           "  kestrum-cli merge --width 2 --swap IMAGE u1.bin u2.bin\n"
           "    instructions: MIPS, big-endian: 56 jr ra 03E00008, ...\n"
           "\n"
           "verify compares dumps read back from the chips, in socket order, with the parts\n"
           "split makes of IMAGE with the same options, and says which chip differs and\n"
           "why: blank, a stuck, exchanged or reversed data or address line, a chip in\n"
           "another socket, bytes swapped, not erased, weak bits, a burn cut short, a\n"
           "different size (exit status 4); 'other data:' where nothing explains it.\n"
           "\n"
           "compare checks 2 to 8 reads of one chip against each other, with no image:\n"
           "'identical:' and their checksums, or 'differ:' (exit status 4), where, which\n"
           "data lines flip, which read is blank, empty, of another size or shifted, and\n"
           "with 3 or more reads where a majority agrees. --majority OUT writes the\n"
           "byte-wise majority of 3 or more reads, or refuses where there is none.\n"
           "\n"
           "--layout FILE and --board NAME lay the image out over a board's banks of chips:\n"
           "each line of FILE is 'bank SIZE lanes N [width 2] [swap] [fill-to SIZE [fill\n"
           "BYTE | mirror]] chips NAME...'. split writes one file per chip into DIR, named\n"
           "as the layout names it; merge reads them from DIR; verify compares the dumps in\n"
           "DIR. -v prints the socket map. boards lists the built-in boards.\n"
           "\n"
           "options:\n"
           "  -v, --verbose   for each file written, print its size, CRC32, SHA-1, sum16 and\n"
           "                  sum32, and for a part which bytes it holds and which data lines\n"
           "                  it drives; for an image of records its addresses, and the\n"
           "                  image's own checksum where it carries one (Kickstart, Mac)\n"
           "  --width 2       lanes of 16-bit words instead of bytes\n"
           "  --swap          exchange the bytes of every word in the parts (with --width 2)\n"
           "  --fill-to SIZE  split and verify: extend each part to SIZE bytes, the chip's\n"
           "                  size (K and M suffixes: 512K, 2M)\n"
           "  --fill BYTE     the byte that extends a part (default 0xFF)\n"
           "  --mirror        repeat the part up to SIZE instead of filling it\n"
           "  --base ADDR     split, verify and swap read an image of Intel HEX or S-records\n"
           "                  as well as raw bytes, and merge such parts; the image starts at\n"
           "                  its lowest address (a part at 0) unless ADDR is given, and its\n"
           "                  gaps hold --fill (0xFF)\n"
           "  --binary        read every input as raw bytes, even where it reads as records\n"
           "  --format F      split: write the parts as ihex (Intel HEX) or srec (S-records)\n"
           "                  records, addresses from 0, instead of binary, raw bytes\n"
           "  --cpu NAME      identify only: the board's CPU, one of\n" + cpus +
           "  --layout FILE   split, merge, verify: the board's layout, read from FILE\n"
           "  --board NAME    the same, a built-in board (see 'kestrum-cli boards')\n"
           "  --majority OUT  compare only: write the byte-wise majority of the reads\n"
           "  -h, --help      print this help and exit\n"
           "  --version       print the version and exit\n"
           "\n"
           "exit status: 0 done, 1 a file could not be read or written or was refused,\n"
           "2 the command line is wrong, 3 identify found no clear answer, 4 verify found a\n"
           "dump that differs or compare reads that differ.\n";
}

static std::string optionValue(const std::vector<std::string>& arguments, std::size_t& i,
                               const std::string& name, std::optional<std::string> inlineValue)
{
    if (inlineValue)
        return *inlineValue;
    if (++i >= arguments.size())
        throw UsageError(name + " needs a value");
    return arguments[i];
}

// The operands by role: IN and OUT, the parts alone, or the image and its parts.
static void assignPaths(Request& request, const std::vector<std::string>& operands)
{
    if (request.command == Command::Identify) {
        if (operands.size() != 2 && operands.size() != 4)
            throw UsageError("give 2 or 4 parts");
        request.parts = operands;
        return;
    }
    if (request.command == Command::Compare) {
        if (operands.size() < 2 || operands.size() > 8)
            throw UsageError("give 2 to 8 reads");
        request.parts = operands;
        return;
    }
    if (request.command == Command::Swap) {
        if (operands.size() != 2)
            throw UsageError("swap needs IN and OUT");
        request.in = operands[0];
        request.out = operands[1];
        return;
    }
    if (request.command == Command::Boards) {
        if (!operands.empty())
            throw UsageError("boards takes no paths");
        return;
    }
    if (!request.layout.empty() || !request.board.empty()) {
        if (operands.size() != 2)
            throw UsageError("give an image and the folder of the chips' files");
        request.image = operands[0];
        request.dir = operands[1];
        return;
    }
    if (operands.size() != 3 && operands.size() != 5)
        throw UsageError(request.command == Command::Verify ? "give an image and 2 or 4 dumps"
                                                            : "give an image and 2 or 4 parts");
    request.image = operands[0];
    request.parts.assign(operands.begin() + 1, operands.end());
}

// An empty name would be taken for a folder or for nothing at all.
static void checkNamed(const std::string& path, const std::string& role)
{
    if (path.empty())
        throw UsageError(role + " is an empty path");
}

static void checkPaths(const Request& request)
{
    if (request.command == Command::Swap) {
        checkNamed(request.in, "IN");
        checkNamed(request.out, "OUT");
        return;
    }
    if (request.command == Command::Boards)
        return;
    if (request.command != Command::Identify && request.command != Command::Compare)
        checkNamed(request.image, "the image");
    if (!request.layout.empty() || !request.board.empty())
        checkNamed(request.dir, "DIR");
    for (std::size_t k = 0; k < request.parts.size(); ++k)
        checkNamed(request.parts[k], (request.command == Command::Compare ? "read " : "part ") + std::to_string(k + 1));
}

// Two outputs of one file would leave only the last of them, silently.
static void checkDistinctOutputs(const std::vector<std::string>& paths)
{
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (std::size_t j = i + 1; j < paths.size(); ++j) {
            if (sameFile(paths[i], paths[j]))
                throw UsageError("part " + std::to_string(i + 1) + " and part " +
                                 std::to_string(j + 1) + " name the same file");
        }
    }
}

// The majority needs three reads to have one, and must not replace a read it is made of.
static void checkMajority(const Request& request)
{
    if (request.majority.empty())
        return;
    if (request.command != Command::Compare)
        throw UsageError("--majority is for compare only");
    if (request.parts.size() < 3)
        throw UsageError("--majority needs 3 or more reads");
    for (std::size_t k = 0; k < request.parts.size(); ++k) {
        if (sameFile(request.majority, request.parts[k]))
            throw UsageError("--majority names read " + std::to_string(k + 1));
    }
}

// Every rule about which options and paths go together, in the order they are reported.
static void checkRequest(const Request& request)
{
    checkPaths(request);
    if (!request.cpu.empty() && request.command != Command::Identify)
        throw UsageError("--cpu is for identify only");
    checkMajority(request);
    if (request.format != PartFormat::Raw && request.command != Command::Split)
        throw UsageError("--format is for split only");
    if ((request.binary || request.base) &&
        (request.command == Command::Identify || request.command == Command::Compare ||
         request.command == Command::Boards))
        throw UsageError("--binary and --base are for split, merge, verify and swap");
    if (request.binary && (request.base || (request.fill && !request.fillTo)))
        throw UsageError(request.base ? "--base and --binary exclude each other" : "--fill needs --fill-to");
    bool layout = request.width != 1 || request.swap || request.fillTo || request.fill ||
                  request.mirror;
    bool board = !request.layout.empty() || !request.board.empty();
    if (request.command == Command::Boards && (layout || board || request.verbose))
        throw UsageError("boards takes no options");
    bool noLayout = request.command == Command::Swap || request.command == Command::Identify ||
                    request.command == Command::Compare;
    if (board) {
        if (!request.layout.empty() && !request.board.empty())
            throw UsageError("--layout and --board exclude each other");
        if (noLayout)
            throw UsageError("--layout and --board are for split, merge and verify");
        if (layout)
            throw UsageError("the layout gives the lanes and fill: no --width, --swap, "
                             "--fill-to, --fill or --mirror with it");
        return;
    }
    // Without --fill-to, --fill fills the gaps between records, which swap reads.
    layout = request.width != 1 || request.swap || request.fillTo || request.mirror ||
             (request.fill && request.command != Command::Swap);
    if (noLayout) {
        if (layout)
            throw UsageError(std::string(request.command == Command::Swap       ? "swap"
                                         : request.command == Command::Identify ? "identify"
                                                                                : "compare") +
                             " takes no layout options");
        return;
    }
    if (request.fill && request.mirror)
        throw UsageError("--fill and --mirror exclude each other");
    std::string pairing = pairingReason(request.width, request.swap, request.mirror,
                                        request.fillTo.has_value());
    if (!pairing.empty())
        throw UsageError(pairing);
    if (request.command == Command::Merge && request.fillTo)
        throw UsageError("--fill-to is for split and verify only");
    if (request.fillTo) {
        std::string reason = fillToReason(*request.fillTo, request.parts.size(), request.width);
        if (!reason.empty())
            throw UsageError(reason);
    }
    if (request.command == Command::Split)
        checkDistinctOutputs(request.parts);
}

// The commands that run over files; each takes its paths as assignPaths sorts them.
static std::optional<Command> fileCommand(const std::string& name)
{
    if (name == "split")
        return Command::Split;
    if (name == "merge")
        return Command::Merge;
    if (name == "swap")
        return Command::Swap;
    if (name == "identify")
        return Command::Identify;
    if (name == "verify")
        return Command::Verify;
    if (name == "compare")
        return Command::Compare;
    if (name == "boards")
        return Command::Boards;
    return std::nullopt;
}

Request parseArguments(const std::vector<std::string>& arguments)
{
    Request request;
    if (arguments.empty())
        throw UsageError("no command given");
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h") {
        request.command = Command::Help;
        return request;
    }
    if (first == "--version") {
        request.command = Command::Version;
        return request;
    }
    std::optional<Command> command = fileCommand(first);
    if (!command)
        throw UsageError("unknown command '" + first + "'");
    request.command = *command;

    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            operands.push_back(argument);
            continue;
        }
        std::string name = argument;
        std::optional<std::string> inlineValue;
        std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        }
        bool takesValue = name == "--width" || name == "--fill-to" || name == "--fill" ||
                          name == "--cpu" || name == "--layout" || name == "--board" ||
                          name == "--majority" ||
                          name == "--base" || name == "--format";
        if (inlineValue && !takesValue)
            throw UsageError(name + " takes no value");
        if (name == "--") {
            optionsEnded = true;
        } else if (name == "-h" || name == "--help") {
            request.command = Command::Help;
            return request;
        } else if (name == "-v" || name == "--verbose") {
            request.verbose = true;
        } else if (name == "--width") {
            std::string value = optionValue(arguments, i, name, inlineValue);
            if (value != "1" && value != "2")
                throw UsageError("--width takes 1 or 2, not '" + value + "'");
            request.width = value[0] - '0';
        } else if (name == "--swap") {
            request.swap = true;
        } else if (name == "--fill-to") {
            std::string value = optionValue(arguments, i, name, inlineValue);
            std::string reason = readFillTo(value, request.fillTo);
            if (!reason.empty())
                throw UsageError(reason);
        } else if (name == "--fill") {
            std::string value = optionValue(arguments, i, name, inlineValue);
            std::string reason = readFill(value, request.fill);
            if (!reason.empty())
                throw UsageError(reason);
        } else if (name == "--mirror") {
            request.mirror = true;
        } else if (name == "--majority") {
            request.majority = optionValue(arguments, i, name, inlineValue);
            if (request.majority.empty())
                throw UsageError("--majority is an empty path");
        } else if (name == "--binary") {
            request.binary = true;
        } else if (name == "--base") {
            std::string value = optionValue(arguments, i, name, inlineValue);
            std::string reason = readBase(value, request.base);
            if (!reason.empty())
                throw UsageError(reason);
        } else if (name == "--format") {
            std::string value = optionValue(arguments, i, name, inlineValue);
            if (value != "ihex" && value != "srec" && value != "binary")
                throw UsageError("--format takes ihex, srec or binary, not '" + value + "'");
            request.format = value == "ihex"   ? PartFormat::IntelHex
                             : value == "srec" ? PartFormat::SRecord
                                               : PartFormat::Raw;
        } else if (name == "--cpu") {
            request.cpu = optionValue(arguments, i, name, inlineValue);
            if (!findCpuHint(request.cpu))
                throw UsageError("--cpu takes " + cpuNames(", ") + ", not '" + request.cpu + "'");
        } else if (name == "--layout") {
            request.layout = optionValue(arguments, i, name, inlineValue);
            if (request.layout.empty())
                throw UsageError("--layout is an empty path");
        } else if (name == "--board") {
            request.board = optionValue(arguments, i, name, inlineValue);
            if (!findBoard(request.board))
                throw UsageError("unknown board '" + request.board + "'; the boards are " +
                                 boardNames());
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    assignPaths(request, operands);
    checkRequest(request);
    return request;
}
