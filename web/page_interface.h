// The browser page's door to the engine, split, merge, swap, identify and verify: plain C calls over
// bytes the page puts into input slots, with every answer in one JSON report and the bytes
// of each output read from the module's memory. Natively the same calls serve the tests.
#pragma once

#include <cstddef>

#ifdef __wasm__
#define PAGE_CALL(name) __attribute__((export_name(#name)))
#else
#define PAGE_CALL(name)
#endif

extern "C" {
// Memory for the page's strings.
PAGE_CALL(pageAlloc) char* pageAlloc(std::size_t size);
PAGE_CALL(pageFree) void pageFree(char* text);
// Room for the first `count` bytes of a file of `size` bytes in input slot 0 to 63 (null
// beyond them); the page reads no more of a file than pageReadLimit(), the most any command
// takes. Each action begins by forgetting the inputs of the one before, so none reads a
// stale file.
PAGE_CALL(pageForgetInputs) void pageForgetInputs();
PAGE_CALL(pageInput) unsigned char* pageInput(int slot, const char* name, double size,
                                              std::size_t count);
PAGE_CALL(pageReadLimit) double pageReadLimit();
// Each action replaces the outputs and the report of the one before; they return the
// number of outputs, 0 after a refusal.
PAGE_CALL(pageSplit) int pageSplit(int parts, int width, int swap, const char* fillTo,
                                   const char* fill, int mirror);
PAGE_CALL(pageSwap) int pageSwap();
// Identify reads parts 0 to parts - 1 as given; merge takes lane k from slot order[k],
// refusing a slot beyond the parts given.
PAGE_CALL(pageIdentify) int pageIdentify(int parts, const char* cpu);
PAGE_CALL(pageMerge) int pageMerge(int parts, int lane1, int lane2, int lane3, int lane4,
                                   int width, int swap);
// Verify compares dumps 1 to `dumps` in slots 1 to 4 with the parts split makes from the
// image in slot 0; the report's findings are the lines kestrum-cli verify prints.
PAGE_CALL(pageVerify) int pageVerify(int dumps, int width, int swap, const char* fillTo,
                                     const char* fill, int mirror);
PAGE_CALL(pageReport) const char* pageReport();
// The outputs' CRC32 and SHA-1, as a JSON list; the report is replaced by it.
PAGE_CALL(pageChecksums) const char* pageChecksums();
PAGE_CALL(pageCpuHints) const char* pageCpuHints();
// The built-in boards, as a JSON list of names and descriptions.
PAGE_CALL(pageBoards) const char* pageBoards();
// A board's split of the image in slot 0, one output per chip under its name, the report
// holding the socket map as "board"; and the merge of the chips picked into slots 0 to
// count - 1, found by their names, into `image`. `board` names a built-in board, or is ""
// for the layout file's `text`.
PAGE_CALL(pageBoardSplit) int pageBoardSplit(const char* board, const char* text);
PAGE_CALL(pageBoardMerge) int pageBoardMerge(const char* board, const char* text, int count,
                                             const char* image);
// A board's verify of the chips' dumps in slots 1 to `dumps`, found by their names, against
// the image in slot 0; the report's findings are the lines kestrum-cli verify prints.
PAGE_CALL(pageBoardVerify) int pageBoardVerify(const char* board, const char* text, int dumps);
PAGE_CALL(pageOutput) const unsigned char* pageOutput(int k);
PAGE_CALL(pageOutputSize) std::size_t pageOutputSize(int k);
// Frees the outputs once the page holds its own copies.
PAGE_CALL(pageDropOutputs) void pageDropOutputs();
}
