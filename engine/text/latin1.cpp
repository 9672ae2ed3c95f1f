#include "text/latin1.hpp"

namespace pexil {
namespace {

constexpr unsigned char u(char c) { return static_cast<unsigned char>(c); }

constexpr std::array<unsigned char, 256> buildLowerCase() {
  std::array<unsigned char, 256> map{};
  for (int c = 0; c < 256; ++c) {
    const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    map[static_cast<std::size_t>(c)] = static_cast<unsigned char>(upper ? c + 32 : c);
  }
  return map;
}
constexpr std::array<unsigned char, 256> kLowerCase = buildLowerCase();

}  // namespace

namespace detail {
constinit const std::array<unsigned char, 256> latin1LowerMap = kLowerCase;
}  // namespace detail

char latin1Lower(char c) { return static_cast<char>(kLowerCase[u(c)]); }

char latin1Upper(char c) {
  const unsigned char b = u(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 32);
  return c;
}

bool latin1IsUpper(char c) {
  const unsigned char b = u(c);
  return (b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7);
}

bool latin1IsLetter(char c) {
  const unsigned char b = u(c);
  return latin1IsUpper(c) || (b >= 'a' && b <= 'z') || (b >= 0xDF && b != 0xF7);
}

std::string latin1Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = latin1Lower(c);
  return out;
}

std::string latin1Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = latin1Upper(c);
  return out;
}

}  // namespace pexil
