#include "lexicon/definitions.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <vector>

#include "io/data_files.hpp"
#include "rules/letter_codes.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Byte-wise order of unsigned characters.
int compareBytes(std::string_view a, std::string_view b) {
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string_view trimTrailingSpace(std::string_view text) {
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string baseWordOf(std::string_view text) { return latin1Lower(trimTrailingSpace(text)); }

// ---- the log ----

std::mutex logMutex;
DefinitionLog logReceiver;

void logLine(const std::string& line) {
  std::lock_guard<std::mutex> lock(logMutex);
  if (logReceiver) {
    logReceiver(line);
    return;
  }
#ifndef NDEBUG
  std::fprintf(stderr, "%s\n", line.c_str());
#endif
}

// ---- reading the file ----

class DefinitionsFile {
 public:
  explicit DefinitionsFile(const std::string& path) : in_(path, std::ios::binary) {
    if (!in_) return;
    in_.seekg(0, std::ios::end);
    const std::streamoff end = in_.tellg();
    size_ = end > 0 ? static_cast<std::int64_t>(end) : 0;
    in_.clear();
  }

  bool isOpen() const { return static_cast<bool>(in_.is_open()); }
  std::int64_t size() const { return size_; }

  // Reads up to `count` bytes at `offset`; fewer at the end of the file or
  // when reading fails.
  std::size_t readAt(std::int64_t offset, char* buffer, std::size_t count) {
    if (offset < 0 || offset >= size_) return 0;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    if (!in_) {
      in_.clear();
      return 0;
    }
    in_.read(buffer, static_cast<std::streamsize>(count));
    const std::streamsize got = in_.gcount();
    in_.clear();
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }

  // The text from `offset` up to the next line end or the end of the file,
  // at most kMaxDefinitionBytes of it.
  std::string lineAt(std::int64_t offset) {
    std::string line;
    std::array<char, kDefinitionReadSize> buffer;
    while (line.size() < kMaxDefinitionBytes) {
      const std::size_t n = readAt(offset, buffer.data(), buffer.size());
      if (n == 0) break;
      const char* begin = buffer.data();
      const char* end = std::find_if(begin, begin + n, isLineEnd);
      line.append(begin, end);
      if (end != begin + n) break;
      offset += static_cast<std::int64_t>(n);
    }
    if (line.size() > kMaxDefinitionBytes) line.resize(kMaxDefinitionBytes);
    return line;
  }

 private:
  std::ifstream in_;
  std::int64_t size_ = 0;
};

// The definition that starts right after a key ending at `keyEnd` (an
// absolute offset): empty when the key ends its line or the file.
std::string definitionAfterKey(DefinitionsFile& file, std::int64_t keyEnd) {
  char separator = 0;
  if (file.readAt(keyEnd, &separator, 1) != 1 || isLineEnd(separator)) return {};
  return file.lineAt(keyEnd + 1);
}

// ---- references ----

constexpr const char* kMarkers[] = {
    "(plural of/",           "(comparative of/",        "(superlative of/",       "(simple past of/",
    "(past of/",             "(present participle of/", "(past participle of/",   "(third-person singular of/",
    "(alternative spelling of/", "(alternative form of/", "(obsolete form of/",   "(irregular plural of/",
    "(informal spelling of/",
};

struct Abbreviation {
  const char* prefix;
  const char* meaning;  // shown as "(meaning/base)"
};
constexpr Abbreviation kAbbreviations[] = {
    {"p ", "past of"},
    {"past of ", "past of"},
    {"pl ", "plural of"},
    {"pl. of ", "plural of"},
    {"plural of ", "plural of"},
    {"pp ", "present participle of"},
    {"p. p. of ", "present participle of"},
    {"3ps ", "third-person singular of"},
    {"2pf ", "second-person familiar of"},
    {"comp ", "comparative of"},
    {"supl ", "superlative of"},
};
// Only lines shorter than this can be abbreviations.
constexpr std::size_t kAbbreviationLineLimit = 50;

// ---- printing ----

// Control characters of a broken file would upset the pane and terminals.
std::string printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) c = ' ';
  }
  return out;
}

// Prints text cut into lines at the last blank within the pane width.
// False when a single word longer than the width ended the printing.
bool printWrapped(std::string_view text, int colour) {
  constexpr std::size_t width = TextPane::kWrapColumn;
  const std::string clean = printable(text);
  std::string_view rest = clean;
  while (true) {
    while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
    if (rest.empty()) return true;
    if (rest.size() <= width) {
      textPane().Print(rest, colour);
      return true;
    }
    std::size_t cut = 0;
    for (std::size_t i = width; i > 0; --i) {
      if (isBlank(rest[i])) {
        cut = i;
        break;
      }
    }
    if (cut == 0) return false;
    std::string_view piece = rest.substr(0, cut);
    while (!piece.empty() && isBlank(piece.back())) piece.remove_suffix(1);
    textPane().Print(piece, colour);
    rest.remove_prefix(cut);
  }
}

// Nested lookups since the last reset. The word tools run on the view's
// thread only; the counter is atomic merely so that a stray caller cannot
// make it a data race.
std::atomic<int> chainCount{0};

bool usableWord(std::string_view word) {
  if (word.empty() || word.size() > kMaxDefinitionWord) return false;
  return std::none_of(word.begin(), word.end(), isSpace);
}

}  // namespace

std::string definitionsFileName(int alphabet) {
  static constexpr const char* kNames[kAlphabetCount] = {
      "DEFINITIONS",    "DEFINITIONS.es", "DEFINITIONS.da", "DEFINITIONS.fr", "DEFINITIONS.de",
      "DEFINITIONS.it", "DEFINITIONS.la", "DEFINITIONS.ca", "DEFINITIONS.sv",
  };
  if (alphabet < 0 || alphabet >= kAlphabetCount) return kNames[kAlphabetEnglish];
  return kNames[alphabet];
}

void setDefinitionLog(DefinitionLog log) {
  std::lock_guard<std::mutex> lock(logMutex);
  logReceiver = std::move(log);
}

std::optional<std::string> findDefinition(const std::string& path, std::string_view word) {
  if (!usableWord(word)) return std::nullopt;
  DefinitionsFile file(path);
  if (!file.isOpen()) return std::nullopt;

  std::vector<char> buffer(kDefinitionReadSize);
  std::int64_t low = 0, high = file.size();
  while (low <= high) {
    const std::int64_t mid = low + (high - low) / 2;
    std::size_t n = file.readAt(mid, buffer.data(), buffer.size());
    // The line mid falls into is cut off: skip it and the white space after it.
    std::size_t i = 0;
    while (i < n && !isLineEnd(buffer[i])) ++i;
    while (i < n && isSpace(buffer[i])) ++i;
    if (i >= n) {
      // mid lies in the last line: the key sought, if anywhere, is before.
      if (mid + static_cast<std::int64_t>(n) >= file.size()) {
        high = mid - 1;
        continue;
      }
      logLine(Message(msg::QueryNoEndLine));
      break;
    }
    // The buffer holds the file from `base` on; the key is [i, keyEnd).
    std::int64_t base = mid;
    std::size_t keyEnd = i;
    while (keyEnd < n && !isSpace(buffer[keyEnd])) ++keyEnd;
    std::string_view key(buffer.data() + i, keyEnd - i);
    if (keyEnd == n && base + static_cast<std::int64_t>(keyEnd) < file.size()) {
      // The read ended inside the key: read again from its start. A key
      // still longer than a whole read is longer than any word, so its
      // first part decides the comparison.
      base += static_cast<std::int64_t>(i);
      n = file.readAt(base, buffer.data(), buffer.size());
      keyEnd = 0;
      while (keyEnd < n && !isSpace(buffer[keyEnd])) ++keyEnd;
      key = std::string_view(buffer.data(), keyEnd);
    }
    const std::int64_t pastKey = base + static_cast<std::int64_t>(keyEnd);
    const int order = compareBytes(key, word);
    if (order == 0) return definitionAfterKey(file, pastKey);
    if (order > 0) {
      high = mid - 1;
    } else {
      low = pastKey;
    }
  }

  // The first line, which no seek reaches.
  std::array<char, kMaxDefinitionWord + 1> start;
  const std::size_t n = file.readAt(0, start.data(), word.size() + 1);
  if (n == word.size() + 1 && std::memcmp(start.data(), word.data(), word.size()) == 0 && isSpace(start[word.size()])) {
    return definitionAfterKey(file, static_cast<std::int64_t>(word.size()));
  }
  return std::nullopt;
}

DefinitionReference readReference(std::string_view line) {
  DefinitionReference ref;
  ref.display = std::string(line);
  for (const char* marker : kMarkers) {
    const std::size_t at = line.find(marker);
    if (at == std::string_view::npos) continue;
    std::string_view rest = line.substr(at + std::strlen(marker));
    rest = rest.substr(0, rest.find(')'));  // no ')': the rest of the line
    ref.baseWord = baseWordOf(rest);
    return ref;
  }
  for (std::size_t open = line.find('<'); open != std::string_view::npos; open = line.find('<', open + 1)) {
    const std::size_t equals = line.find('=', open + 1);
    if (equals == std::string_view::npos) break;
    const std::size_t close = line.find('>', equals + 1);
    if (close == std::string_view::npos) break;
    if (line.substr(open + 1, equals - open - 1).find('>') != std::string_view::npos) continue;
    ref.baseWord = baseWordOf(line.substr(open + 1, equals - open - 1));
    return ref;
  }
  if (line.size() < kAbbreviationLineLimit) {
    for (const Abbreviation& a : kAbbreviations) {
      if (!line.starts_with(a.prefix)) continue;
      const std::string_view rest = trimTrailingSpace(line.substr(std::strlen(a.prefix)));
      ref.display = std::string("(") + a.meaning + "/" + std::string(rest) + ")";
      ref.baseWord = baseWordOf(rest);
      return ref;
    }
  }
  return ref;
}

void resetDefinitionChain() { chainCount.store(0); }

bool lookupDefinition(std::string_view word) {
  if (chainCount.fetch_add(1) + 1 > kDefinitionChainLimit) {
    chainCount.store(0);
    return false;
  }
  if (!usableWord(word)) return false;
  const auto path = findDataFile(definitionsFileName(wordListAlphabet()));
  if (!path) return false;
  const auto definition = findDefinition(*path, word);
  if (!definition) return false;
  const DefinitionReference ref = readReference(*definition);
  textPane().Print(printable(word), colour::orange);
  if (!printWrapped(ref.display, colour::cyan)) return true;  // an over-long word ends the whole lookup
  if (!ref.baseWord.empty()) lookupDefinition(ref.baseWord);
  return true;
}

}  // namespace pexil
