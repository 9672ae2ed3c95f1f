#include "text/pig_latin.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "text/latin1.hpp"

namespace pexil {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f'; }
bool isAlnum(char c) { return latin1IsLetter(c) || isDigit(c); }
bool isOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

bool isVowel(char c) {
  // a e i o u and their accented forms (0xE0..0xE6, 0xE8..0xEF, 0xF2..0xF6, 0xF8..0xFC).
  const auto b = static_cast<unsigned char>(latin1Lower(c));
  if (isOneOf(static_cast<char>(b), "aeiou")) return true;
  return (b >= 0xE0 && b <= 0xE6) || (b >= 0xE8 && b <= 0xEF) || (b >= 0xF2 && b <= 0xF6) ||
         (b >= 0xF8 && b <= 0xFC);
}

// Key names whose combinations ("Ctrl+Z", "Ctrl-C") a text quotes as typed.
constexpr std::array<std::string_view, 5> kKeyNames = {"Ctrl", "Shift", "Alt", "Esc", "ESC"};

// The length of the printf conversion that starts at text[i] (a '%'), or 1
// when the '%' starts none.
std::size_t conversionLength(std::string_view text, std::size_t i) {
  std::size_t j = i + 1;
  const std::size_t n = text.size();
  while (j < n && isOneOf(text[j], "-+ #0")) ++j;
  while (j < n && (isDigit(text[j]) || text[j] == '*')) ++j;
  if (j < n && text[j] == '.') {
    ++j;
    while (j < n && (isDigit(text[j]) || text[j] == '*')) ++j;
  }
  while (j < n && isOneOf(text[j], "hlLqjzt")) ++j;
  if (j < n && isOneOf(text[j], "diouxXeEfFgGaAcspn%")) return j + 1 - i;
  return 1;
}

bool startsConversion(std::string_view text, std::size_t i) {
  return i < text.size() && text[i] == '%' && conversionLength(text, i) > 1;
}

// A chunk (a run without white space) that is a file name, an address, a
// time format or a command-line option, kept whole.
bool keptWhole(std::string_view chunk) {
  if (chunk.starts_with("--") || chunk.find("://") != std::string_view::npos) return true;
  for (std::size_t k = 0; k + 1 < chunk.size(); ++k) {
    const char next = chunk[k + 1];
    if (chunk[k] == '.' && latin1IsLetter(next) && (k == 0 || isAlnum(chunk[k - 1]) || chunk[k - 1] == '*')) {
      return true;
    }
    if (chunk[k] == ':' && k > 0 && latin1IsLetter(chunk[k - 1]) && latin1IsLetter(next)) return true;
  }
  return false;
}

// Words in capitals of two or three letters, or without a vowel: an
// abbreviation ("GCG", "CPU", "CH").
bool isAbbreviation(std::string_view run) {
  if (run.size() < 2) return false;
  if (!std::all_of(run.begin(), run.end(), [](char c) { return latin1IsUpper(c); })) return false;
  return run.size() <= 3 || std::none_of(run.begin(), run.end(), isVowel);
}

// One word (letters, inner apostrophes, an optional '&') in Pig Latin.
std::string pigLatinWord(std::string_view run) {
  // A possessive "'s" stays at the end: "Pexil's" -> "Exilpay's".
  if (run.size() > 2 && run[run.size() - 2] == '\'' && latin1Lower(run.back()) == 's') {
    return pigLatinWord(run.substr(0, run.size() - 2)) + std::string(run.substr(run.size() - 2));
  }
  std::string letters;
  std::size_t marked = std::string::npos;  // the letter after the '&'
  for (char c : run) {
    if (c == '&') {
      marked = letters.size();
    } else {
      letters.push_back(c);
    }
  }
  const std::size_t n = letters.size();
  if (n == 0) return std::string(run);
  const bool capitals =
      n >= 2 && std::all_of(letters.begin(), letters.end(), [](char c) { return !latin1IsLetter(c) || latin1IsUpper(c); });
  const bool capitalised = latin1IsUpper(letters[0]);

  // The leading consonant cluster: "y" is a vowel after the first letter,
  // and "qu" goes with the consonants before it.
  std::size_t cut = 0;
  while (cut < n) {
    const char c = latin1Lower(letters[cut]);
    if (isVowel(c) || (c == 'y' && cut > 0)) break;
    if (c == 'q' && cut + 1 < n && latin1Lower(letters[cut + 1]) == 'u') {
      cut += 2;
      break;
    }
    ++cut;
  }
  // A word of one consonant ("N", "x") stays as it is.
  if (n == 1 && cut == 1) return std::string(run);

  std::string result = letters.substr(cut) + letters.substr(0, cut) + (cut == 0 ? "yay" : "ay");
  if (capitals) {
    result = latin1Upper(result);
  } else if (capitalised && cut > 0) {
    result[n - cut] = latin1Lower(result[n - cut]);
    result[0] = latin1Upper(result[0]);
  }
  // The accelerator stays on the letter it marked, wherever that moved, so
  // the keys of a menu stay as distinct as in English.
  if (marked < n) {
    const std::size_t at = marked >= cut ? marked - cut : n - cut + marked;
    result.insert(result.begin() + static_cast<std::ptrdiff_t>(at), '&');
  }
  return result;
}

class Translator {
 public:
  explicit Translator(std::span<const std::string_view> keep) : keep_(keep) {}

  std::string operator()(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
      if (text[i] == '\t') {
        // The shortcut text of a menu caption, and anything after it.
        out_.append(text.substr(i));
        break;
      }
      if (isSpace(text[i])) {
        out_.push_back(text[i++]);
        continue;
      }
      std::size_t end = i;
      while (end < text.size() && !isSpace(text[end])) ++end;
      const std::string_view chunk = text.substr(i, end - i);
      if (keptWhole(chunk)) {
        out_.append(chunk);
      } else {
        translateChunk(chunk);
      }
      i = end;
    }
    return std::move(out_);
  }

 private:
  void translateChunk(std::string_view chunk) {
    const std::size_t n = chunk.size();
    std::size_t k = 0;
    while (k < n) {
      const char c = chunk[k];
      if (c == '%') {
        const std::size_t length = conversionLength(chunk, k);
        out_.append(chunk.substr(k, length));
        k += length;
        // Letters glued to a conversion ("%dx", "%s's") belong to it.
        if (length > 1) {
          while (k < n && (latin1IsLetter(chunk[k]) || (chunk[k] == '\'' && k + 1 < n && latin1IsLetter(chunk[k + 1])))) {
            out_.push_back(chunk[k++]);
          }
        }
        continue;
      }
      if (c == '<' && k + 1 < n && (latin1IsLetter(chunk[k + 1]) || chunk[k + 1] == '/')) {
        // Markup: a tag is kept whole.
        const std::size_t close = chunk.find('>', k);
        const std::size_t end = close == std::string_view::npos ? n : close + 1;
        out_.append(chunk.substr(k, end - k));
        k = end;
        continue;
      }
      if ((c == '#' || (c == '-' && k + 1 < n && chunk[k + 1] == '-')) && k + 2 < n) {
        // A tag ("#note") or a command-line option ("[--concise]") is kept
        // with its name.
        std::size_t end = k + (c == '#' ? 1 : 2);
        if (latin1IsLetter(chunk[end])) {
          while (end < n && (isAlnum(chunk[end]) || chunk[end] == '-' || chunk[end] == '_')) ++end;
          out_.append(chunk.substr(k, end - k));
          k = end;
          continue;
        }
      }
      const bool startsRun = isAlnum(c) || c == '_' || (c == '&' && k + 1 < n && latin1IsLetter(chunk[k + 1]));
      if (!startsRun) {
        out_.push_back(c);
        ++k;
        continue;
      }
      std::size_t end = k;
      bool digits = false;
      while (end < n) {
        const char d = chunk[end];
        if (latin1IsLetter(d) || d == '&') {
          ++end;
        } else if (isDigit(d) || d == '_') {
          digits = true;
          ++end;
        } else if (d == '\'' && end > k && latin1IsLetter(chunk[end - 1]) && end + 1 < n && latin1IsLetter(chunk[end + 1])) {
          ++end;
        } else {
          break;
        }
      }
      const std::string_view run = chunk.substr(k, end - k);
      if (std::find(kKeyNames.begin(), kKeyNames.end(), run) != kKeyNames.end()) {
        // A key name and the keys it is combined with.
        out_.append(run);
        while (end + 1 < n && (chunk[end] == '+' || chunk[end] == '-') && isAlnum(chunk[end + 1])) {
          std::size_t next = end + 1;
          while (next < n && isAlnum(chunk[next])) ++next;
          out_.append(chunk.substr(end, next - end));
          end = next;
        }
      } else {
        const bool quotedKey = run.size() == 1 && k > 0 && chunk[k - 1] == '\'' && end < n && chunk[end] == '\'';
        const bool verbatim = digits || quotedKey || startsConversion(chunk, end) || isAbbreviation(run) ||
                              std::find(keep_.begin(), keep_.end(), run) != keep_.end();
        if (verbatim) {
          out_.append(run);
        } else {
          out_.append(pigLatinWord(run));
        }
      }
      k = end;
    }
  }

  std::span<const std::string_view> keep_;
  std::string out_;
};

}  // namespace

std::string PigLatin(std::string_view english, std::span<const std::string_view> keep) {
  return Translator(keep)(english);
}

}  // namespace pexil
