// The limits and defaults that every front end keeps alike.
#pragma once

#include <cstddef>

constexpr std::size_t kImageLimit = 0x4000000;   // 64 MiB
constexpr unsigned char kDefaultFill = 0xFF;     // an erased EPROM
