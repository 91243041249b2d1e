// Readable text: whole common words, which text cut into lanes and put back in a wrong
// order breaks apart.
#pragma once

#include "layouts.h"

// How many different common words of four letters or more the image spells out whole,
// each bounded by bytes that are no letters. A NUL between letters is passed over, so that
// 16-bit text counts too. Each word counts once, however often it repeats: a table that
// repeats one accidental word in a wrong layout must not outweigh real text.
int countCommonWords(const Bytes& image);
