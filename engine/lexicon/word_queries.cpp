#include "lexicon/word_queries.hpp"

#include <algorithm>
#include <array>
#include <cstring>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr unsigned char u(char c) { return static_cast<unsigned char>(c); }

// Letters are compared as tiles: every spelling of one tile gives the same
// key, in either case (in Spanish '4' and the n with tilde are one tile,
// '1' is CH; in German 'a' with diaeresis is the tile 26). Characters that
// name no tile compare as themselves, ignoring case, above every tile code.
constexpr int kKeyCount = kCodeSlots + 256;

int letterKey(char c) {
  const bool tileCharacter = latin1IsLetter(c) || (c >= '1' && c <= '4');
  const int code = codeOfLetter(c);
  if (tileCharacter && code >= 0 && code < kCodeSlots) return code;
  return kCodeSlots + u(latin1Lower(c));
}

bool sameLetter(char a, char b) { return letterKey(a) == letterKey(b); }

bool endsWithIgnoringCase(std::string_view word, std::string_view tail) {
  if (tail.size() > word.size()) return false;
  const std::size_t offset = word.size() - tail.size();
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (!sameLetter(word[offset + i], tail[i])) return false;
  }
  return true;
}

bool startsWithIgnoringCase(std::string_view word, std::string_view head) {
  if (head.size() > word.size()) return false;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (!sameLetter(word[i], head[i])) return false;
  }
  return true;
}

// ---- patterns ----

struct PatternElement {
  enum Kind : std::uint8_t { any, oneOf, consonant, vowel, value, star, literal };
  Kind kind = any;
  int key = 0;            // letterKey, for `literal`
  int points = 0;         // for `value`
  std::vector<int> keys;  // letterKeys, for `oneOf`
};

// Numbers in "(N)" above this can equal no letter value; larger ones are
// held here so that long digit runs cannot overflow.
constexpr int kPointsCap = 1000000;

struct CompiledPattern {
  std::vector<PatternElement> elements;  // runs of '*' folded into one
  std::size_t letterElements = 0;        // elements that take exactly one letter
  bool hasStar = false;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

CompiledPattern compilePattern(std::string_view p) {
  CompiledPattern compiled;
  auto add = [&](PatternElement element) {
    if (element.kind == PatternElement::star) {
      compiled.hasStar = true;
      if (!compiled.elements.empty() && compiled.elements.back().kind == PatternElement::star) return;
    } else {
      ++compiled.letterElements;
    }
    compiled.elements.push_back(std::move(element));
  };
  auto literal = [&](char c) {
    PatternElement e;
    e.kind = PatternElement::literal;
    e.key = letterKey(c);
    add(std::move(e));
  };

  std::size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    PatternElement e;
    if (c == '?') {
      e.kind = PatternElement::any;
      add(std::move(e));
      ++i;
    } else if (c == '*') {
      e.kind = PatternElement::star;
      add(std::move(e));
      ++i;
    } else if (c == '[') {
      std::size_t close = p.find(']', i + 1);
      if (close == std::string_view::npos) close = p.size();
      e.kind = PatternElement::oneOf;
      for (char listed : p.substr(i + 1, close - i - 1)) e.keys.push_back(letterKey(listed));
      add(std::move(e));
      i = std::min(close + 1, p.size());
    } else if (c == '(') {
      const char next = i + 1 < p.size() ? latin1Lower(p[i + 1]) : '\0';
      const bool closedAfterOne = i + 2 < p.size() && p[i + 2] == ')';
      if ((next == 'c' || next == 'v') && closedAfterOne) {
        e.kind = next == 'c' ? PatternElement::consonant : PatternElement::vowel;
        add(std::move(e));
        i += 3;
        continue;
      }
      std::size_t j = i + 1;
      int points = 0;
      while (j < p.size() && isDigit(p[j])) {
        points = std::min(kPointsCap, points * 10 + (p[j] - '0'));
        ++j;
      }
      if (j > i + 1 && j < p.size() && p[j] == ')' && points != 0) {
        e.kind = PatternElement::value;
        e.points = points;
        add(std::move(e));
        i = j + 1;
        continue;
      }
      // A stray '(': skipped, and the character after it stands for itself.
      if (i + 1 < p.size()) literal(p[i + 1]);
      i += 2;
    } else {
      literal(c);
      ++i;
    }
  }
  return compiled;
}

bool elementTakes(const PatternElement& e, char c) {
  switch (e.kind) {
    case PatternElement::any: return true;
    case PatternElement::oneOf: return std::find(e.keys.begin(), e.keys.end(), letterKey(c)) != e.keys.end();
    case PatternElement::consonant: return !isVowel(c);
    case PatternElement::vowel: return isVowel(c);
    case PatternElement::value: return letterValue(c, false) == e.points;
    case PatternElement::literal: return letterKey(c) == e.key;
    case PatternElement::star: return false;
  }
  return false;
}

// Dynamic programming from the right: after the step for element k,
// rest[j] says whether elements k.. match word[j..]. This gives the answer
// of the leftmost-first, shortest-star-first search without its
// exponential worst case.
bool matchesCompiled(std::string_view word, const CompiledPattern& pattern) {
  if (pattern.letterElements > word.size()) return false;
  if (!pattern.hasStar && pattern.letterElements != word.size()) return false;
  const std::size_t m = word.size();
  // Two rows of m + 1 flags; on the stack for words of ordinary length.
  constexpr std::size_t kInline = 64;
  std::array<char, 2 * kInline> inlineRows{};
  std::vector<char> heapRows;
  char* rows = inlineRows.data();
  if (m + 1 > kInline) {
    heapRows.assign(2 * (m + 1), 0);
    rows = heapRows.data();
  }
  char* rest = rows;
  char* step = rows + m + 1;
  rest[m] = 1;
  for (std::size_t k = pattern.elements.size(); k-- > 0;) {
    const PatternElement& e = pattern.elements[k];
    if (e.kind == PatternElement::star) {
      step[m] = rest[m];
      for (std::size_t j = m; j-- > 0;) step[j] = rest[j] || step[j + 1];
    } else {
      step[m] = 0;
      for (std::size_t j = 0; j < m; ++j) step[j] = rest[j + 1] && elementTakes(e, word[j]);
    }
    std::swap(rest, step);
  }
  return rest[0] != 0;
}

template <class Predicate>
std::vector<EntryIndex> collect(const Lexicon& lexicon, Predicate matches) {
  std::vector<EntryIndex> found;
  for (EntryIndex e = 0; e < lexicon.wordCount(); ++e) {
    if (matches(lexicon.textView(e))) found.push_back(e);
  }
  sortResults(lexicon, found);
  return found;
}

}  // namespace

std::string convertQueryText(std::string_view typed) {
  std::string lowered(typed);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return convertMultiLetter(lowered);
}

std::string checkWord(const Lexicon& lexicon, std::string_view typed) {
  const bool valid = lexicon.isWord(convertQueryText(typed), 0);
  return Message(valid ? msg::QueryValidWord : msg::QueryInvalidWord);
}

void sortResults(const Lexicon& lexicon, std::vector<EntryIndex>& entries) {
  std::sort(entries.begin(), entries.end(), [&](EntryIndex a, EntryIndex b) {
    const std::string_view x = lexicon.textView(a), y = lexicon.textView(b);
    if (x.size() != y.size()) return x.size() < y.size();
    const int c = std::memcmp(x.data(), y.data(), x.size());  // memcmp compares unsigned bytes
    if (c != 0) return c < 0;
    return a < b;
  });
}

std::vector<EntryIndex> frontHooks(const Lexicon& lexicon, std::string_view text) {
  return collect(lexicon, [&](std::string_view word) {
    return word.size() > text.size() && endsWithIgnoringCase(word, text);
  });
}

std::vector<EntryIndex> backHooks(const Lexicon& lexicon, std::string_view text) {
  return collect(lexicon, [&](std::string_view word) {
    return word.size() > text.size() && startsWithIgnoringCase(word, text);
  });
}

std::vector<EntryIndex> anagrams(const Lexicon& lexicon, std::string_view text) {
  std::array<int, kKeyCount> wanted{};
  std::size_t blanks = 0;
  for (char c : text) {
    if (c == '?') {
      ++blanks;
    } else {
      ++wanted[static_cast<std::size_t>(letterKey(c))];
    }
  }
  return collect(lexicon, [&](std::string_view word) {
    if (word.size() != text.size()) return false;
    std::array<int, kKeyCount> left = wanted;
    std::size_t extra = 0;
    for (char c : word) {
      int& n = left[static_cast<std::size_t>(letterKey(c))];
      if (n > 0) {
        --n;
      } else if (++extra > blanks) {
        return false;
      }
    }
    // Equal lengths: no more extra letters than blanks means every letter
    // of the text was used.
    return true;
  });
}

bool matchesPattern(std::string_view word, std::string_view pattern) {
  return matchesCompiled(word, compilePattern(pattern));
}

std::vector<EntryIndex> patternMatch(const Lexicon& lexicon, std::string_view pattern) {
  const CompiledPattern compiled = compilePattern(pattern);
  if (compiled.letterElements > static_cast<std::size_t>(kMaxWordLength)) return {};
  return collect(lexicon, [&](std::string_view word) { return matchesCompiled(word, compiled); });
}

// ---- result pages ----

void WordResults::assign(const Lexicon& lexicon, const std::vector<EntryIndex>& entries) {
  words_.clear();
  words_.reserve(entries.size());
  for (EntryIndex e : entries) words_.push_back(Word{e, std::string(lexicon.textView(e)), lexicon.entry(e).wordClass});
  next_ = 0;
}

void WordResults::clear() {
  words_.clear();
  next_ = 0;
}

bool WordResults::showPage(bool highlight, bool continuationLine) {
  TextPane& pane = textPane();
  if (next_ >= words_.size()) next_ = 0;
  const std::size_t end = std::min(next_ + kPageSize, words_.size());
  pane.SetColour(colour::orange);
  for (std::size_t i = next_; i < end; ++i) {
    const Word& w = words_[i];
    std::string line = FormatText("%4d. %s", static_cast<int>(i + 1), w.text.c_str());
    if (highlight) {
      if (w.wordClass == kClassInNeither || w.wordClass == kClassPhony) line += '*';
      if (w.wordClass == kClassInternational) line += '#';
    }
    pane.Print(line);
  }
  pane.SetColour(colour::green);
  next_ += kPageSize;
  if (next_ < words_.size()) {
    if (continuationLine) PrintMessage(msg::MoreWords);
    return true;
  }
  next_ = 0;
  return false;
}

std::size_t runWordQuery(const Lexicon& lexicon, WordQuery query, std::string_view typed, WordResults& results,
                         bool highlight, bool continuationLine) {
  const std::string text = convertQueryText(typed);
  std::vector<EntryIndex> found;
  int heading = 0, none = 0;
  switch (query) {
    case WordQuery::frontHooks:
      found = frontHooks(lexicon, text);
      heading = msg::QueryFrontHooksHeading;
      none = msg::QueryNoFrontHooks;
      break;
    case WordQuery::backHooks:
      found = backHooks(lexicon, text);
      heading = msg::QueryBackHooksHeading;
      none = msg::QueryNoBackHooks;
      break;
    case WordQuery::anagrams:
      found = anagrams(lexicon, text);
      heading = msg::QueryAnagramsHeading;
      none = msg::QueryNoAnagrams;
      break;
    case WordQuery::pattern:
      found = patternMatch(lexicon, text);
      heading = msg::QueryMatchesHeading;
      none = msg::QueryNoMatches;
      break;
  }
  results.assign(lexicon, found);
  if (found.empty()) {
    PrintMessage(none);
    return 0;
  }
  textPane().SetColour(colour::orange);
  PrintMessageF(heading, text.c_str());
  results.showPage(highlight, continuationLine);
  return found.size();
}

}  // namespace pexil
