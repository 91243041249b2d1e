// What -v and the page say of an image read from records.
#pragma once

#include "record_image.h"

#include <string>

// "S-records, addresses 0xF80000-0xF8FFFF, 16 bytes filled with 0xFF, start address 0xF80008".
std::string recordsLine(const RecordImage& image);
// "Intel HEX", "S-records".
std::string recordFormatName(RecordFormat format);
