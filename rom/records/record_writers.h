// A part written as records for programmers that load them, its addresses from 0 within the
// chip: 16 data bytes a line, each line ended CR LF as DOS-era tools expect, and an end record.
#pragma once

#include <vector>

using Bytes = std::vector<unsigned char>;

// Intel HEX: data records, with an extended linear address record (04) before each 64 KiB
// past the first; then the end record (01).
Bytes hexRecords(const Bytes& part);
// S-records: a header (S0), data records with the shortest address the part's size allows
// (S1 to 64 KiB, S2 to 16 MiB, else S3), and the end record that matches them (S9, S8, S7).
Bytes srecRecords(const Bytes& part);
// One record line from its bytes, count first, with the checksum of its format appended.
void appendRecordLine(Bytes& text, char lead, const Bytes& fields, bool hexChecksum);
