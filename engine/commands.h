// The split and merge commands, the path buffer they fetch into, and the outcome each ends in.
#pragma once

#include "path_fields.h"

constexpr int kPathBufferSize = 260;

// Message box styles, as Windows numbers them: MB_OK and MB_ICONERROR.
constexpr unsigned kBoxPlain = 0x00;
constexpr unsigned kBoxError = 0x10;

enum class Outcome { Complete, ReadError, WriteError };

// Copies the text of the path field `field` into the path buffer, always NUL-terminated,
// and tells whether the whole text fitted.
using FetchPath = bool (*)(int field);

char* pathBuffer();

Outcome runSplit(FetchPath fetchPath);
Outcome runMerge(FetchPath fetchPath);

const char* outcomeText(Outcome outcome);
const char* outcomeCaption(Outcome outcome);
unsigned outcomeBoxStyle(Outcome outcome);
