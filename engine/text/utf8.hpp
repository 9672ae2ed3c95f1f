// UTF-8 as the outside world writes it, and the program's Latin-1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pexil {

// Decodes strict UTF-8 (no overlong forms, surrogates or values beyond
// U+10FFFF); none when the bytes are not UTF-8.
std::optional<std::u32string> decodeUtf8(std::string_view bytes);

// Whether the bytes are UTF-8 with at least one character beyond ASCII:
// text that is, in all likelihood, UTF-8 rather than Latin-1.
bool looksLikeUtf8(std::string_view bytes);

// UTF-8 text in Latin-1; none when the bytes are not UTF-8. A character
// beyond Latin-1 becomes `beyond`, or makes the result none when `beyond`
// is 0.
std::optional<std::string> utf8ToLatin1(std::string_view bytes, char beyond = 0);

}  // namespace pexil
