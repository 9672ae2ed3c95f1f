#include "text/utf8.hpp"

namespace pexil {

std::optional<std::u32string> decodeUtf8(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      cp = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0Fu;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07u;
    } else {
      return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size() && extra > 0) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0u) != 0x80u) return std::nullopt;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return std::nullopt;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

bool looksLikeUtf8(std::string_view bytes) {
  const auto decoded = decodeUtf8(bytes);
  if (!decoded) return false;
  for (char32_t c : *decoded) {
    if (c >= 0x80) return true;
  }
  return false;
}

std::optional<std::string> utf8ToLatin1(std::string_view bytes, char beyond) {
  const auto decoded = decodeUtf8(bytes);
  if (!decoded) return std::nullopt;
  std::string out;
  out.reserve(decoded->size());
  for (char32_t c : *decoded) {
    if (c <= 0xFF) {
      out.push_back(static_cast<char>(c));
    } else if (beyond != 0) {
      out.push_back(beyond);
    } else {
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace pexil
