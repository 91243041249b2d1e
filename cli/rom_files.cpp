// Reading the inputs, checked before use, and writing the outputs whole or not at all.
#include "rom_files.h"

#include "arguments.h"
#include "file_access.h"
#include "file_replace.h"
#include "input_rules.h"
#include "large_buffer.h"
#include "reasons.h"
#include "record_image.h"
#include "record_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>

// The size comes first, so a file over the limit is never read into memory.
static std::uint64_t lookedUpSize(const std::string& path)
{
    FileLookup file = lookUpFile(path.c_str());
    if (file.kind == FileKind::Missing)
        refuseRead(path, readReason(lastFileError()));
    if (file.kind == FileKind::Directory)
        refuseRead(path, "is a directory");
    return file.size;
}

static void refuseIf(const std::string& path, const std::string& reason)
{
    if (!reason.empty())
        refuseRead(path, reason);
}

static Bytes readStart(const std::string& path, std::size_t count)
{
    Bytes bytes = largeBuffer(count);
    int result = readFileRange(path.c_str(), bytes.data(), 0, std::uint32_t(bytes.size()));
    if (result < 0)
        refuseRead(path, readReason(lastFileError()));
    if (result > 0)
        refuseRead(path, shortReadReason(bytes.size()));
    return bytes;
}

// Records take more than two characters a byte; this leaves room for short lines.
constexpr std::uint64_t kRecordsTextLimit = 4 * kImageLimit;

// The image a file of records gives, or nothing when its first line is no record.
static std::optional<Bytes> readRecordFile(const std::string& path, std::uint64_t size,
                                           const RecordsIn& in, std::optional<std::uint64_t> base,
                                           std::size_t limit, std::string& note)
{
    if (in.binary || size == 0)
        return std::nullopt;
    Bytes text = readStart(path, std::size_t(std::min<std::uint64_t>(size, 1024)));
    RecordFormat format = recordFormat(text.data(), text.size());
    if (format == RecordFormat::None)
        return std::nullopt;
    if (size > kRecordsTextLimit)
        refuseRead(path, "larger than the " + std::to_string(kRecordsTextLimit / 0x100000) +
                             " MiB limit for records (" + std::to_string(size) + " bytes)");
    if (size > text.size())
        text = readStart(path, std::size_t(size));
    RecordImage image = readRecords(text.data(), text.size(), format, {base, in.fill, limit});
    refuseIf(path, image.refusal);
    note = recordsLine(image);
    return std::move(image.bytes);
}

Bytes readImage(const std::string& path, const RecordsIn& in, std::size_t limit, std::string& note)
{
    std::uint64_t size = lookedUpSize(path);
    if (std::optional<Bytes> image = readRecordFile(path, size, in, in.base, limit, note))
        return std::move(*image);
    refuseIf(path, wholeFileReason(size, limit, ""));
    return readStart(path, static_cast<std::size_t>(size));
}

Bytes readWholeFile(const std::string& path, std::size_t limit, const std::string& limitName)
{
    std::uint64_t size = lookedUpSize(path);
    refuseIf(path, wholeFileReason(size, limit, limitName));
    return readStart(path, static_cast<std::size_t>(size));
}

Bytes readPossiblyEmpty(const std::string& path, std::size_t limit)
{
    std::uint64_t size = lookedUpSize(path);
    if (size == 0)
        return {};
    refuseIf(path, wholeFileReason(size, limit, ""));
    return readStart(path, static_cast<std::size_t>(size));
}

void checkWholeWords(const std::string& path, std::size_t size)
{
    refuseIf(path, wholeWordsReason(size));
}

// The first `count` bytes of a file that must hold at least that many; part 1 set the count.
static Bytes readLaterPart(const std::string& path, std::size_t count, const RecordsIn& in,
                           std::ostream& err, int& records)
{
    std::uint64_t size = lookedUpSize(path);
    std::string note;
    std::optional<Bytes> part = readRecordFile(path, size, in, in.base.value_or(0), kImageLimit, note);
    if (part) {
        ++records;
        size = part->size();
    }
    refuseIf(path, laterPartReason(size, count));
    if (size > count)
        err << "kestrum-cli: warning: " << path << " " << longerPartNote(size, count) << '\n';
    if (!part)
        return readStart(path, count);
    part->resize(count);
    return std::move(*part);
}

std::vector<Bytes> readParts(const std::vector<std::string>& paths, int width, const RecordsIn& in,
                             std::ostream& err, int& records)
{
    std::uint64_t size = lookedUpSize(paths[0]);
    std::string note;
    std::size_t limit = kImageLimit / paths.size();
    std::optional<Bytes> first = readRecordFile(paths[0], size, in, in.base.value_or(0), limit, note);
    records = first ? 1 : 0;
    if (!first) {
        refuseIf(paths[0], firstPartReason(size, paths.size()));
        first = readStart(paths[0], static_cast<std::size_t>(size));
    }
    std::vector<Bytes> parts{std::move(*first)};
    std::size_t count = parts[0].size();
    if (width == 2)
        checkWholeWords(paths[0], count);
    for (std::size_t k = 1; k < paths.size(); ++k)
        parts.push_back(readLaterPart(paths[k], count, in, err, records));
    return parts;
}

Bytes readChip(const std::string& path, std::size_t share, std::size_t size, std::ostream& err)
{
    std::uint64_t found = lookedUpSize(path);
    refuseIf(path, chipFileReason(found, share));
    if (found > size)
        err << "kestrum-cli: warning: " << path << " " << longerChipNote(found, share) << '\n';
    return readStart(path, share);
}

void makeOutputFolder(const std::string& path)
{
    FileLookup folder = lookUpFile(path.c_str());
    if (folder.kind == FileKind::Directory)
        return;
    if (folder.kind == FileKind::File)
        refuseWrite(path, "is a file, not a folder");
    if (!makeFolder(path.c_str()))
        refuseWrite(path, writeReason(lastFileError()));
}

// Writes the bytes to a new file of a random name in the output's folder and returns that
// name; a failure is refused under the output's own path. One source of names serves all the
// outputs of a command, a board's many chips too, rather than one opened for each.
static std::string stage(const Output& output, std::random_device& random)
{
    std::string folder = output.path.substr(0, folderPrefixLength(output.path.c_str()));
    for (int attempt = 0;; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".kestrum-%08x.tmp", unsigned(random()));
        std::string temporary = folder + name;
        int result = writeNewFile(temporary.c_str(), output.bytes.data(), output.bytes.size());
        if (result == 0)
            return temporary;
        FileError error = lastFileError();
        if (result > 0)
            removeFile(temporary.c_str());
        else if (error.fault == FileFault::Exists && attempt < 100)
            continue;
        refuseWrite(output.path, writeReason(error));
    }
}

static void removeAll(const std::vector<std::string>& paths, std::size_t from)
{
    for (std::size_t i = from; i < paths.size(); ++i)
        removeFile(paths[i].c_str());
}

// The targets are looked up first: a file of a random short name may be staged where the
// target's own name is refused, say for its length, and that must be known before any target
// is replaced. A file this user may not write is not replaced either, as cp would not, and
// as Windows would refuse only once the others were replaced.
static void checkTarget(const std::string& path)
{
    FileLookup target = lookUpFile(path.c_str());
    if (target.kind == FileKind::Missing) {
        FileError error = lastFileError();
        if (error.fault != FileFault::NotFound)
            refuseWrite(path, writeReason(error));
    }
    if (target.kind == FileKind::Directory)
        refuseWrite(path, "is a directory");
    if (target.readOnly)
        refuseWrite(path, "read-only");
}

// Every output is staged before any replaces its target, so a failure while writing leaves
// all targets as they were; one while renaming leaves each either as it was or complete.
void writeOutputs(const std::vector<Output>& outputs)
{
    for (const Output& output : outputs)
        checkTarget(output.path);
    std::vector<std::string> staged;
    std::random_device random;
    for (const Output& output : outputs) {
        try {
            staged.push_back(stage(output, random));
        } catch (...) {
            removeAll(staged, 0);
            throw;
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (!replaceFile(staged[i].c_str(), outputs[i].path.c_str())) {
            FileError error = lastFileError();
            removeAll(staged, i);
            refuseWrite(outputs[i].path, writeReason(error));
        }
    }
}
