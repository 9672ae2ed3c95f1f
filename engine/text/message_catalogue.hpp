// The three language tables of the message catalogue. English and Catalan
// are constant data built into the program; Pig Latin is made from English
// by the Pig Latin rule and a table of hand-made fixes, once, on first use.
// A null entry means the language has no text of its own for that number.
#pragma once

#include <array>

namespace pexil::catalogue {

// Room for the shared catalogue (0..741) and the front-end range above it;
// the numbers between them stay empty.
inline constexpr int kSize = 1300;
using Table = std::array<const char*, kSize>;

extern const Table english;
extern const Table catalan;
// Built on the first call (safe from any thread); the texts live as long as
// the program.
const Table& pigLatin();

}  // namespace pexil::catalogue
