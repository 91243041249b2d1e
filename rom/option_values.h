// The values of the layout options, read and checked as the command line takes them; the
// page takes its fields by the same rules and words. Each gives "" or why not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// --fill-to's SIZE: decimal or 0x hex, with a K or M suffix.
std::string readFillTo(const std::string& value, std::optional<std::size_t>& fillTo);
// --fill's BYTE: decimal or 0x hex.
std::string readFill(const std::string& value, std::optional<unsigned char>& fill);
// --base's ADDR: decimal or 0x hex, 32 bits at most.
std::string readBase(const std::string& value, std::optional<std::uint64_t>& base);
// Whether a chip of fillTo bytes can hold a part of this layout.
std::string fillToReason(std::size_t fillTo, std::size_t parts, int width);
// The layout options that need another: --swap needs --width 2, --mirror needs --fill-to.
std::string pairingReason(int width, bool swap, bool mirror, bool fillTo);
