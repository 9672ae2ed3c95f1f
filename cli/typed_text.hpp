// Text typed on the command line (words, patterns, racks): UTF-8, as
// terminals and shells send it, turned into the engine's Latin-1 with one
// strict decoder, so that every command reads typed letters alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pexil::cli {

// The typed text in Latin-1, or none after saying what was wrong: bytes
// that are not UTF-8, or a character no game has (anything beyond Latin-1).
// The Catalan l with middle dot (U+013F, U+0140), as some keyboards type
// the first half of L·L, becomes "L·" or "l·".
std::optional<std::string> decodeTypedText(std::string_view typed);

}  // namespace pexil::cli
