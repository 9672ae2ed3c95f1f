#include "typed_text.hpp"

#include "text/messages.hpp"
#include "text/utf8.hpp"

namespace pexil::cli {
namespace {

constexpr char32_t kCapitalLWithMiddleDot = 0x13F;
constexpr char32_t kSmallLWithMiddleDot = 0x140;
constexpr char kMiddleDot = '\xB7';

// The bytes of the character that starts with `lead`, as UTF-8 would have
// it; the decoder then says whether they really are one.
std::size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return 2;
}

}  // namespace

std::optional<std::string> decodeTypedText(std::string_view typed) {
  std::string latin1;
  latin1.reserve(typed.size());
  for (std::size_t i = 0; i < typed.size();) {
    const auto lead = static_cast<unsigned char>(typed[i]);
    const std::size_t length = sequenceLength(lead);
    const auto decoded = decodeUtf8(typed.substr(i, length));
    if (!decoded || decoded->size() != 1) {
      // Shown byte by byte, as Latin-1 would read them.
      PrintMessageF(msg::CliTypedNotUtf8, std::string(typed).c_str(), static_cast<int>(i + 1), static_cast<unsigned>(lead));
      return std::nullopt;
    }
    const char32_t c = decoded->front();
    if (c == kCapitalLWithMiddleDot || c == kSmallLWithMiddleDot) {
      latin1 += c == kCapitalLWithMiddleDot ? 'L' : 'l';
      latin1 += kMiddleDot;
    } else if (c > 0xFF) {
      const std::string shown = utf8ToLatin1(typed, '?').value_or(latin1 + '?');
      PrintMessageF(msg::CliTypedNoLetter, shown.c_str(), static_cast<unsigned>(c));
      return std::nullopt;
    } else {
      latin1 += static_cast<char>(c);
    }
    i += length;
  }
  return latin1;
}

}  // namespace pexil::cli
