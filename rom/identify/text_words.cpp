// Readable text: whole common words, counted once each.
#include "text_words.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// Common English words, and those that ROMs, firmware and their messages use most. Sorted,
// lower case, four letters or more: shorter ones turn up by chance in scrambled letters.
constexpr std::string_view kWords[] = {
    "about", "access", "action", "active", "adapter", "address", "after", "again", "allocate",
    "allow", "already", "also", "another", "argument", "available", "back", "base", "because",
    "been", "before", "being", "between", "bios", "block", "boot", "both", "buffer", "bytes",
    "cache", "call", "cannot", "card", "change", "channel", "character", "check", "checksum",
    "clock", "close", "code", "command", "complete", "configuration", "control", "controller",
    "copy", "copyright", "corporation", "could", "count", "current", "data", "date", "default",
    "device", "disable", "disabled", "disk", "display", "does", "done", "down", "drive",
    "driver", "each", "enable", "enabled", "enter", "entry", "error", "errors", "even",
    "event", "exit", "expected", "fail", "failed", "failure", "fatal", "file", "files",
    "first", "flash", "floppy", "found", "free", "from", "function", "general", "given",
    "good", "hard", "have", "header", "help", "here", "image", "information", "initialize",
    "input", "insert", "install", "interrupt", "into", "invalid", "just", "keyboard", "know",
    "last", "length", "like", "line", "list", "load", "loading", "long", "make", "many",
    "memory", "message", "missing", "mode", "more", "most", "mouse", "much", "must", "name",
    "network", "next", "none", "number", "only", "open", "option", "other", "output", "over",
    "page", "parameter", "parity", "password", "please", "port", "power", "present", "press",
    "print", "printer", "process", "program", "read", "ready", "reserved", "reset", "restart",
    "result", "return", "rights", "same", "screen", "sector", "serial", "setup", "should",
    "size", "some", "space", "start", "status", "still", "stop", "string", "such", "support",
    "system", "table", "take", "test", "than", "that", "their", "them", "then", "there",
    "these", "they", "this", "time", "timeout", "timer", "type", "under", "unknown",
    "until", "usage", "used", "user", "using", "valid", "value", "version", "very", "video",
    "wait", "warning", "well", "were", "what", "when", "where", "which", "while", "will",
    "with", "without", "would", "write", "your",
};

constexpr std::size_t kLongest = 13;

bool letter(unsigned char c)
{
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

}  // namespace

int countCommonWords(const Bytes& image)
{
    static_assert(std::is_sorted(std::begin(kWords), std::end(kWords)));
    bool seen[std::size(kWords)] = {};
    std::string word;
    auto finish = [&] {
        auto found = std::lower_bound(std::begin(kWords), std::end(kWords), word);
        if (found != std::end(kWords) && *found == word)
            seen[found - std::begin(kWords)] = true;
        word.clear();
    };
    for (unsigned char c : image) {
        if (letter(c))
            word += word.size() <= kLongest ? char(c | 0x20) : '\0';   // too long to match
        else if (c != 0x00 && !word.empty())
            finish();
    }
    if (!word.empty())
        finish();
    return int(std::count(std::begin(seen), std::end(seen), true));
}
