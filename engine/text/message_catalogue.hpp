// The three language tables of the message catalogue, built into the
// program as constant data. A null entry means the language has no text of
// its own for that number.
#pragma once

#include <array>

namespace pexil::catalogue {

// Room for the shared catalogue (0..741) and the front-end range above it;
// the numbers between them stay empty.
inline constexpr int kSize = 1300;
using Table = std::array<const char*, kSize>;

extern const Table english;
extern const Table pigLatin;
extern const Table catalan;

}  // namespace pexil::catalogue
