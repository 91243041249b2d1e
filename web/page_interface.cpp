// The browser page's door to the engine: the same rules, words and routines as kestrum-cli,
// over the bytes of the files the user picked.
#include "page_interface.h"

#include "page_state.h"

#include "checksums.h"
#include "dump_findings.h"
#include "image_checksums.h"
#include "identify_report.h"
#include "image_limits.h"
#include "input_rules.h"
#include "lanes.h"
#include "option_values.h"
#include "page_texts.h"
#include "part_images.h"
#include "record_image.h"
#include "record_text.h"
#include "socket_line.h"
#include "verify_text.h"

#include <cstdint>
#include <cstdlib>

namespace {


bool validCount(int parts)
{
    return parts == 2 || parts == 4;
}

// The parts as merge and identify read them: part 1 whole, within the limit for that many
// parts, setting the size; of every later part that many bytes, a longer one noted.
std::string readParts(const std::vector<int>& order, int width, std::vector<Bytes>& parts,
                      std::vector<std::string>& notes)
{
    const Input& first = inputs[order[0]];
    std::string reason = firstPartReason(first.size, order.size());
    if (reason.empty() && width == 2)
        reason = wholeWordsReason(first.size);
    if (!reason.empty())
        return cannotRead(first.name, reason);
    std::size_t count = std::size_t(first.size);
    for (int slot : order) {
        const Input& part = inputs[slot];
        reason = laterPartReason(part.size, count);
        if (reason.empty() && part.bytes.size() < count)   // the page read too little of it
            reason = shortReadReason(count);
        if (!reason.empty())
            return cannotRead(part.name, reason);
        notes.push_back(part.size > count ? longerPartNote(part.size, count) : "");
        parts.emplace_back(part.bytes.begin(), part.bytes.begin() + std::ptrdiff_t(count));
    }
    return "";
}

// The notes of an action that made outputs, as a field of its report.
std::string notesField(const std::vector<std::string>& notes)
{
    std::vector<std::string> lines;
    for (const std::string& note : notes)
        lines.push_back(jsonString(note));
    return ",\"notes\":" + jsonList(lines);
}

// The image's own checksum, where it carries a known one, as split -v and merge -v say it.
void noteChecksum(const std::string& name, const Bytes& image, std::vector<std::string>& notes)
{
    std::string line = imageChecksumLine(imageChecksum(image.data(), image.size()));
    if (!line.empty())
        notes.push_back(name + ": " + line);
}

std::vector<std::string> namesOf(int parts)
{
    std::vector<std::string> names;
    for (int k = 0; k < parts; ++k)
        names.push_back(inputs[k].name);
    return names;
}

std::string identifyJson(const IdentifyReport& verdict, const std::vector<std::string>& notes,
                         int parts)
{
    std::vector<std::string> order, warnings;
    for (int slot : verdict.layout.order)
        order.push_back(std::to_string(slot));
    std::vector<std::string> names = namesOf(parts);
    auto warn = [&](std::size_t part, const std::string& text) {
        warnings.push_back("{\"part\":" + std::to_string(part) + ",\"text\":" + jsonString(text) + "}");
    };
    for (std::size_t k = 0; k < notes.size(); ++k) {
        if (!notes[k].empty())
            warn(k, names[k] + " " + notes[k]);
    }
    for (const PartWarning& warning : verdict.warnings)
        warn(warning.part, names[warning.part] + ": " + warning.text);
    std::vector<std::string> lines;
    for (const std::string& line : identifyLines(verdict, names))
        lines.push_back(jsonString(line));
    return std::string("{\"decided\":") + (verdict.decided ? "true" : "false") +
           ",\"order\":" + jsonList(order) + ",\"width\":" + std::to_string(verdict.layout.width) +
           ",\"swap\":" + (verdict.layout.swap ? "true" : "false") + ",\"lines\":" +
           jsonList(lines) + ",\"warnings\":" + jsonList(warnings) + "}";
}

// The layout and fill that split and verify share, checked in the order the command line
// checks them; the reason for a refusal, or "".
std::string readShape(int parts, int width, int swap, const char* fillTo, const char* fill,
                      int mirror, PartShape& shape)
{
    shape = PartShape{parts, width == 2 ? 2 : 1, swap != 0};
    std::optional<std::size_t> chip;
    std::optional<unsigned char> fillByte;
    std::string reason = *fillTo ? readFillTo(fillTo, chip) : "";
    if (reason.empty() && chip && !mirror)
        reason = readFill(fill, fillByte);
    if (reason.empty())
        reason = pairingReason(width, shape.swap, mirror != 0, chip.has_value());
    if (reason.empty() && chip)
        reason = fillToReason(*chip, std::size_t(parts), shape.width);
    shape.fillTo = chip.value_or(0);
    shape.fill = fillByte.value_or(kDefaultFill);
    shape.mirror = mirror != 0;
    return reason;
}

std::string wholeInputReason(const Input& input)
{
    std::string reason = wholeFileReason(input.size, kImageLimit, "");
    if (reason.empty() && input.bytes.size() < input.size)   // the page read too little of it
        reason = shortReadReason(std::size_t(input.size));
    return reason.empty() ? "" : cannotRead(input.name, reason);
}

}  // namespace

char* pageAlloc(std::size_t size)
{
    return static_cast<char*>(std::malloc(size));
}

void pageFree(char* text)
{
    std::free(text);
}

unsigned char* pageInput(int slot, const char* name, double size, std::size_t count)
{
    if (slot < 0 || slot >= kInputSlots)
        return nullptr;
    Input& input = inputs[std::size_t(slot)];
    input.name = name;
    input.size = std::uint64_t(size);
    input.bytes.assign(count, 0);
    input.bytes.shrink_to_fit();
    return input.bytes.data();
}

void pageForgetInputs()
{
    for (Input& input : inputs)
        input = Input{};
}

double pageReadLimit()
{
    return double(kImageLimit);
}

int pageSplit(int parts, int width, int swap, const char* fillTo, const char* fill, int mirror)
{
    if (!validCount(parts))
        return refuse("give 2 or 4 parts");
    PartShape shape;
    std::string reason = readShape(parts, width, swap, fillTo, fill, mirror, shape);
    if (reason.empty())
        reason = wholeInputReason(inputs[0]);
    if (!reason.empty())
        return refuse(reason);
    Input& image = inputs[0];
    // An image of Intel HEX or S-records is split as the bytes it places, as kestrum-cli does.
    std::vector<std::string> notes;
    std::string named = image.name;   // what the parts are named after
    RecordFormat format = recordFormat(image.bytes.data(), image.bytes.size());
    if (format != RecordFormat::None) {
        RecordImage records = readRecords(image.bytes.data(), image.bytes.size(), format,
                                          {{}, shape.fillTo ? shape.fill : kDefaultFill, kImageLimit});
        if (!records.refusal.empty())
            return refuse(cannotRead(image.name, records.refusal));
        notes.push_back(image.name + ": " + recordsLine(records));
        image.bytes = std::move(records.bytes);
        named = binaryName(image.name);   // the parts are raw bytes
    }
    noteChecksum(image.name, image.bytes, notes);
    std::vector<Bytes> made = splitImage(image.bytes, shape, reason);
    if (!reason.empty())   // every part has the same size
        return refuse(cannotWrite(nameWithSuffix(named, "-1"), reason));
    outputs.clear();
    for (int k = 0; k < parts; ++k) {
        // Built in two steps: GCC 12 warns falsely of overlap in "-" + std::to_string(...).
        std::string suffix = "-";
        suffix += std::to_string(k + 1);
        outputs.push_back({nameWithSuffix(named, suffix), std::move(made[std::size_t(k)]),
                           socketLine(shape, k)});
    }
    return answer(notesField(notes));
}

int pageSwap()
{
    Input& input = inputs[0];
    std::string reason = wholeFileReason(input.size, kImageLimit, "");
    if (reason.empty())
        reason = wholeWordsReason(input.size);
    if (!reason.empty())
        return refuse(cannotRead(input.name, reason));
    outputs.clear();
    outputs.push_back({nameWithSuffix(input.name, "-swapped"), input.bytes, ""});
    swapBytePairs(outputs[0].bytes.data(), outputs[0].bytes.size());
    return answer();
}

int pageIdentify(int parts, const char* cpu)
{
    if (!validCount(parts))
        return refuse("give 2 or 4 parts");
    std::vector<int> order;
    for (int k = 0; k < parts; ++k)
        order.push_back(k);
    std::vector<Bytes> bytes;
    std::vector<std::string> notes;
    std::string reason = readParts(order, 1, bytes, notes);
    if (!reason.empty())
        return refuse(reason);
    outputs.clear();
    answer(",\"identify\":" + identifyJson(identifyLayouts(bytes, {cpu}), notes, parts));
    return 1;
}

int pageMerge(int parts, int lane1, int lane2, int lane3, int lane4, int width, int swap)
{
    if (!validCount(parts))
        return refuse("give 2 or 4 parts");
    std::string pairing = pairingReason(width, swap != 0, false, false);
    if (!pairing.empty())
        return refuse(pairing);
    int lanes[] = {lane1, lane2, lane3, lane4};
    std::vector<int> order;
    for (int k = 0; k < parts; ++k) {
        if (lanes[k] < 0 || lanes[k] >= parts)
            return refuse("part " + std::to_string(k + 1) + " is none of the " +
                          std::to_string(parts) + " parts given");
        order.push_back(lanes[k]);
    }
    std::vector<Bytes> bytes;
    std::vector<std::string> notes;
    std::string reason = readParts(order, width == 2 ? 2 : 1, bytes, notes);
    if (!reason.empty())
        return refuse(reason);
    outputs.clear();
    outputs.push_back({mergedName(inputs[order[0]].name), mergeParts(bytes, width == 2 ? 2 : 1, swap != 0), ""});
    std::vector<std::string> checksum;
    noteChecksum(outputs[0].name, outputs[0].bytes, checksum);
    return answer(notesField(checksum));
}

int pageVerify(int dumps, int width, int swap, const char* fillTo, const char* fill, int mirror)
{
    if (!validCount(dumps))
        return refuse("give an image and 2 or 4 dumps");
    PartShape shape;
    std::string reason = readShape(dumps, width, swap, fillTo, fill, mirror, shape);
    // An empty dump is a read that failed, reported as verify reports it, not refused.
    for (int slot = 0; slot <= dumps && reason.empty(); ++slot) {
        if (slot == 0 || inputs[slot].size != 0)
            reason = wholeInputReason(inputs[slot]);
    }
    if (!reason.empty())
        return refuse(reason);
    // The dumps are moved, not copied: each action is given its inputs afresh.
    std::vector<Bytes> read;
    std::vector<std::string> names;
    for (int slot = 1; slot <= dumps; ++slot) {
        read.push_back(std::move(inputs[slot].bytes));
        names.push_back(inputs[slot].name);
    }
    std::vector<DumpReport> reports = verifyDumps(inputs[0].bytes, shape, read, reason);
    if (!reason.empty())
        return refuse(cannotRead(inputs[0].name, reason));
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < reports.size(); ++k) {
        for (const std::string& line : verifyLines(reports[k], names[k], shape, false))
            lines.push_back(jsonString(line));
    }
    outputs.clear();
    answer(",\"findings\":" + jsonList(lines));
    return 1;
}

const char* pageReport()
{
    return report.c_str();
}

const unsigned char* pageOutput(int k)
{
    return outputs[std::size_t(k)].bytes.data();
}

std::size_t pageOutputSize(int k)
{
    return outputs[std::size_t(k)].bytes.size();
}

const char* pageChecksums()
{
    std::vector<std::string> items;
    for (const PageOutput& output : outputs) {
        const unsigned char* bytes = output.bytes.data();
        std::size_t size = output.bytes.size();
        items.push_back("{\"crc32\":\"" + crc32Hex(bytes, size) + "\",\"sha1\":\"" +
                        sha1Hex(bytes, size) + "\",\"sum16\":\"" + sum16Hex(bytes, size) +
                        "\",\"sum32\":\"" + sum32Hex(bytes, size) + "\"}");
    }
    report = jsonList(items);
    return report.c_str();
}

// The CPUs identify takes as a hint, as a JSON list of names and descriptions.
const char* pageCpuHints()
{
    std::vector<std::string> items;
    for (const CpuHint& hint : cpuHints())
        items.push_back("{\"name\":" + jsonString(hint.name) + ",\"description\":" +
                        jsonString(hint.description) + "}");
    report = jsonList(items);
    return report.c_str();
}

void pageDropOutputs()
{
    outputs.clear();
    outputs.shrink_to_fit();
}
