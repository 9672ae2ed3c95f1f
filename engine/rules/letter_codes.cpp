#include "rules/letter_codes.hpp"

#include <array>
#include <atomic>

#include "rules/game_rules.hpp"

namespace pexil {
namespace {

// The characters that map to the same code in every variant of the map.
constexpr int specialCode(unsigned char c) {
  switch (c) {
    case '1': case 0xD6: case 0xD8: case 0xF6: case 0xF8: return 27;
    case '2': return 22;
    case '3': case 0xC7: case 0xE7: return 10;
    case '4': case 0xC4: case 0xC6: case 0xD1: case 0xE4: case 0xE6: case 0xF1: return 26;
    case 0xC5: case 0xDC: case 0xE5: case 0xFC: return 28;
    default: return -1000;
  }
}

constexpr std::array<int, 256> buildMap(unsigned char base) {
  std::array<int, 256> map{};
  for (int c = 0; c < 256; ++c) {
    const int special = specialCode(static_cast<unsigned char>(c));
    map[static_cast<std::size_t>(c)] = special != -1000 ? special : c - base;
  }
  return map;
}

constexpr std::array<int, 256> kLowerMap = buildMap('a');
constexpr std::array<int, 256> kUpperMap = buildMap('A');

std::atomic<int> loadedListAlphabet{kAlphabetEnglish};

bool sameLetterIgnoringCase(char a, char b) { return latin1Lower(a) == latin1Lower(b); }

// Replaces every occurrence of `pattern` (compared case-insensitively) by
// `substitute`, keeping the case of the first replaced letter.
void replaceAll(std::string& text, std::string_view pattern, char substitute) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    bool match = i + pattern.size() <= text.size();
    for (std::size_t k = 0; match && k < pattern.size(); ++k) match = sameLetterIgnoringCase(text[i + k], pattern[k]);
    if (match) {
      out.push_back(latin1IsUpper(text[i]) ? latin1Upper(substitute) : substitute);
      i += pattern.size();
    } else {
      out.push_back(text[i++]);
    }
  }
  text.swap(out);
}

}  // namespace

namespace detail {
constinit const std::array<int, 256> lowerCodeMap = kLowerMap;
constinit const std::array<int, 256> upperCodeMap = kUpperMap;
}  // namespace detail

AlphabetCounts alphabetCounts(int alphabet) {
  switch (alphabet) {
    case kAlphabetSpanish: return {28, 28, 29};
    case kAlphabetDanish:
    case kAlphabetGerman:
    case kAlphabetSwedish: return {29, 29, 30};
    default: return {26, 26, 27};
  }
}

LetterCode codeOfTile(char c) { return c == '?' ? rules().blankCode : codeOfLetter(c); }

int wordListAlphabet() { return loadedListAlphabet.load(std::memory_order_relaxed); }
void setWordListAlphabet(int alphabet) { loadedListAlphabet.store(alphabet, std::memory_order_relaxed); }

namespace {

// Upper-case forms of codes 0..31 per word-list alphabet.
constexpr std::array<std::array<char, 32>, kAlphabetCount> buildUpperForms() {
  std::array<std::array<char, 32>, kAlphabetCount> forms{};
  for (int alphabet = 0; alphabet < kAlphabetCount; ++alphabet) {
    for (int code = 0; code < 32; ++code) {
      char c = static_cast<char>('A' + code);
      switch (code) {
        case 10:
          c = alphabet == kAlphabetSpanish ? '3' : alphabet == kAlphabetCatalan ? static_cast<char>(0xC7) : 'K';
          break;
        case 22: c = alphabet == kAlphabetSpanish ? '2' : 'W'; break;
        case 26:
          c = alphabet == kAlphabetSpanish ? static_cast<char>(0xD1)
              : (alphabet == kAlphabetGerman || alphabet == kAlphabetSwedish) ? static_cast<char>(0xC4)
                                                                               : static_cast<char>(0xC6);
          break;
        case 27:
          c = alphabet == kAlphabetSpanish ? '1'
              : (alphabet == kAlphabetGerman || alphabet == kAlphabetSwedish) ? static_cast<char>(0xD6)
                                                                               : static_cast<char>(0xD8);
          break;
        case 28: c = alphabet == kAlphabetGerman ? static_cast<char>(0xDC) : static_cast<char>(0xC5); break;
        default: break;
      }
      forms[static_cast<std::size_t>(alphabet)][static_cast<std::size_t>(code)] = c;
    }
  }
  return forms;
}
constexpr auto kUpperForms = buildUpperForms();

}  // namespace

char charOfUpper(LetterCode code) {
  if (code == rules().blankCode) return '?';
  const int alphabet = wordListAlphabet();
  if (code < 0 || code > 31 || alphabet < 0 || alphabet >= kAlphabetCount) return static_cast<char>('A' + code);
  return kUpperForms[static_cast<std::size_t>(alphabet)][static_cast<std::size_t>(code)];
}

char charOfLower(LetterCode code) { return latin1Lower(charOfUpper(code)); }

std::string convertMultiLetter(std::string_view typed) {
  std::string text(typed);
  switch (wordListAlphabet()) {
    case kAlphabetSpanish:
      replaceAll(text, "ch", '1');
      replaceAll(text, "ll", '2');
      replaceAll(text, "rr", '3');
      break;
    case kAlphabetCatalan:
      replaceAll(text, "l\xB7l", 'w');
      replaceAll(text, "l.l", 'w');
      replaceAll(text, "l-l", 'w');
      replaceAll(text, "l=l", 'w');
      replaceAll(text, "ny", 'y');
      replaceAll(text, "qu", 'q');
      replaceAll(text, "\xE7", 'k');
      break;
    default: break;
  }
  return text;
}

namespace {

// The substitute character of a parenthesised tile, or 0.
char parenthesisedTile(int alphabet, std::string_view inside) {
  const std::string upper = latin1Upper(inside);
  if (alphabet == kAlphabetSpanish) {
    if (upper == "CH") return '1';
    if (upper == "LL") return '2';
    if (upper == "RR") return '3';
  } else if (alphabet == kAlphabetCatalan) {
    if (upper == "LL" || upper == "L\xB7L" || upper == "L.L" || upper == "L=L" || upper == "L-L") return 'w';
    if (upper == "NY") return 'y';
    if (upper == "QU") return 'q';
  }
  return 0;
}

}  // namespace

RackText convertRackText(std::string_view typed) {
  RackText result;
  const int alphabet = wordListAlphabet();
  const bool hasMultiLetterTiles = alphabet == kAlphabetSpanish || alphabet == kAlphabetCatalan;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const char c = typed[i];
    if (c == '(' && hasMultiLetterTiles) {
      const std::size_t close = typed.find(')', i + 1);
      if (close == std::string_view::npos) {
        result.error = RackTextError::unclosedParenthesis;
        result.offending = std::string(typed.substr(i));
        return result;
      }
      const std::string_view inside = typed.substr(i + 1, close - i - 1);
      const char tile = parenthesisedTile(alphabet, inside);
      if (tile == 0) {
        result.error = RackTextError::unknownTile;
        result.offending = std::string(typed.substr(i, close - i + 1));
        return result;
      }
      result.tiles.push_back(tile);
      i = close;
      continue;
    }
    const char lower = latin1Lower(c);
    if (alphabet == kAlphabetSpanish) {
      if (c == '4' || lower == '\xF1') {
        result.tiles.push_back('\xF1');
        continue;
      }
      if (lower == 'k' || lower == 'w') {
        result.error = RackTextError::letterNotInSet;
        result.offending = std::string(1, c);
        return result;
      }
    } else if (alphabet == kAlphabetDanish && (lower == 'q' || lower == 'w')) {
      result.error = RackTextError::letterNotInSet;
      result.offending = std::string(1, c);
      return result;
    }
    result.tiles.push_back(c);
  }
  return result;
}

bool isVowel(char c) {
  const char lower = latin1Lower(c);
  if (lower == 'a' || lower == 'e' || lower == 'i' || lower == 'o' || lower == 'u') return true;
  const int alphabet = wordListAlphabet();
  if (alphabet == kAlphabetDanish || alphabet == kAlphabetGerman || alphabet == kAlphabetSwedish) {
    const int code = codeOfLower(lower);
    return code >= 26 && code <= 28;
  }
  return alphabet == kAlphabetLatin && lower == 'v';
}

}  // namespace pexil
