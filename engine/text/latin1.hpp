// Letter case of the program's Latin-1 text: A-Z and the accented capitals
// 0xC0..0xDE (except the multiplication sign 0xD7) pair with their small
// letters 32 places on.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace pexil {

namespace detail {
// Character to its small letter (the character itself when it has none),
// for inline lookups such as the letter codes'.
extern const std::array<unsigned char, 256> latin1LowerMap;
}  // namespace detail

char latin1Lower(char c);
char latin1Upper(char c);
bool latin1IsUpper(char c);
bool latin1IsLetter(char c);
std::string latin1Lower(std::string_view text);
std::string latin1Upper(std::string_view text);

}  // namespace pexil
