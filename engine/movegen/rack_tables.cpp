// The rack-value tables.
//
// Identifying racks and leaves. A rack or a leave is a multiset of tiles, so
// it is identified by the multiset itself rather than by a node of a tree of
// every multiset the distribution allows (millions of nodes, built at start
// and walked letter by letter). A letter string is checked against the
// distribution -- the standard bag of the word-list alphabet, counts per
// letter code -- and, when every letter is a tile of the bag with no more
// copies than the bag holds and there are at most rack-size tiles, its codes
// in ascending order are packed into one 64-bit key:
//
//   bits 0..3    the number of tiles (0..12)
//   bits 4+5i..  the i-th smallest code (5 bits; codes are below 32)
//
// Twelve tiles fill the 64 bits exactly, so rack sizes above 12 get no
// tables. The packing is one-to-one, so the key alone stands for the letters
// and a table needs nothing else to recognise its entries. The empty leave
// has key 0, which therefore marks an empty slot (the empty leave is never
// stored: its value is 0 by definition).
//
// Leave values (".rack.partial") live in an open-addressing table with a
// power-of-two slot count kept at most half full: a lookup is the packing,
// one multiplicative hash and usually a single probe. LeaveValue runs for
// every generated move.
//
// The full-rack table (".rack") has exactly 6,068,243 slots (a prime),
// about twice the 3,199,724 distinct seven-tile racks of the English bag,
// allocated in full when the first .rack file is read. Linear probing from
// key mod slot count; with every English rack stored, a rack sits on
// average 0.94 slots past its start slot.
// A slot holds the key, the occurrence count and the value (16 bytes); the
// rack's letters are not stored since they follow from the key. Once every
// slot is used, further records are dropped. The longest probe run of any
// stored key is remembered, so a lookup of a missing rack stops after that
// many slots even in a completely full table.
//
// Concurrency: both tables and the distribution are written only while a
// word list loads, when no search runs; afterwards every thread reads them
// without locks.
#include "movegen/rack_tables.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "files/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

constexpr int kMaxKeyTiles = 12;
constexpr std::size_t kStandardFullRackSlots = 6068243;

// ---------------------------------------------------------------------------
// The distribution.

struct Distribution {
  std::array<std::int8_t, 256> codeOf{};     // tile code of a character; -1: none
  std::array<std::uint8_t, kCodeSlots> copies{};
  int blankCode = 26;
};

constexpr char kEnglishBag[] =
    "AAAAAAAAABBCCDDDDEEEEEEEEEEEEFFGGGHHIIIIIIIIIJKLLLLMMNNNNNNOOOOOOOOPPQRRRRRRSSSSTTTTTTUUUUVVWWXYYZ??";

// The English distribution, ready before any word list sets one.
constexpr Distribution englishDistribution() {
  Distribution d{};
  for (auto& c : d.codeOf) c = -1;
  d.blankCode = 26;
  for (int c = 'A'; c <= 'Z'; ++c) {
    d.codeOf[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A');
    d.codeOf[static_cast<std::size_t>(c - 'A' + 'a')] = static_cast<std::int8_t>(c - 'A');
  }
  d.codeOf['?'] = 26;
  for (const char* p = kEnglishBag; *p; ++p) ++d.copies[static_cast<std::size_t>(*p == '?' ? 26 : *p - 'A')];
  return d;
}

constinit Distribution distribution = englishDistribution();

// ---------------------------------------------------------------------------
// Keys.

// What reading a letter string or a count array gives besides a key: no
// multiset of the distribution, or a multiset of more than 12 tiles (which
// no table can hold). Neither value is a key: their length bits read 15 and
// 14.
constexpr std::uint64_t kNotALeave = ~std::uint64_t(0);
constexpr std::uint64_t kTooLong = ~std::uint64_t(1);
inline int keyLength(std::uint64_t key) { return static_cast<int>(key & 15); }

// Checks a multiset of more than 12 tiles against the distribution.
std::uint64_t checkLongLetters(std::string_view letters) {
  std::array<int, kCodeSlots> seen{};
  for (char c : letters) {
    const int code = distribution.codeOf[static_cast<unsigned char>(c)];
    if (code < 0 || ++seen[static_cast<std::size_t>(code)] > distribution.copies[static_cast<std::size_t>(code)]) return kNotALeave;
  }
  return kTooLong;
}

// The key of a letter string of at most maxTiles tiles (0 for ""). Kept
// small and free of optional results: it runs for every generated move.
inline std::uint64_t keyOfLetters(std::string_view letters, int maxTiles) {
  const int n = static_cast<int>(letters.size());
  if (n > maxTiles) return kNotALeave;
  if (n > kMaxKeyTiles) return checkLongLetters(letters);
  int codes[kMaxKeyTiles];
  for (int i = 0; i < n; ++i) {
    const int code = distribution.codeOf[static_cast<unsigned char>(letters[static_cast<std::size_t>(i)])];
    if (code < 0) return kNotALeave;
    // Insertion sort: leaves usually arrive sorted, which costs one
    // comparison per letter.
    int j = i;
    while (j > 0 && codes[j - 1] > code) {
      codes[j] = codes[j - 1];
      --j;
    }
    codes[j] = code;
  }
  std::uint64_t key = static_cast<std::uint64_t>(n);
  int run = 0;
  for (int i = 0; i < n; ++i) {
    run = i > 0 && codes[i] == codes[i - 1] ? run + 1 : 1;
    if (run > distribution.copies[static_cast<std::size_t>(codes[i])]) return kNotALeave;
    key |= static_cast<std::uint64_t>(codes[i]) << (4 + 5 * i);
  }
  return key;
}

// The key of a count array whose blank is at the distribution's code.
inline std::uint64_t keyOfSameCodes(const LetterCounts& counts, int maxTiles) {
  std::uint64_t key = 0;
  int n = 0, shift = 4;
  for (int code = 0; code < kCodeSlots; ++code) {
    int k = counts[code];
    if (k == 0) continue;
    if (k < 0 || k > distribution.copies[static_cast<std::size_t>(code)]) return kNotALeave;
    n += k;
    if (n > maxTiles) return kNotALeave;
    for (; k > 0 && n <= kMaxKeyTiles; --k, shift += 5) key |= static_cast<std::uint64_t>(code) << shift;
  }
  return n > kMaxKeyTiles ? kTooLong : key | static_cast<std::uint64_t>(n);
}

// The key of a count array (the blank counted at the active rules' blank
// code) of at most maxTiles tiles.
inline std::uint64_t keyOfCounts(const LetterCounts& counts, int maxTiles) {
  const int ruleBlank = rules().blankCode;
  if (ruleBlank == distribution.blankCode || ruleBlank < 0 || ruleBlank >= kCodeSlots) return keyOfSameCodes(counts, maxTiles);
  LetterCounts moved = counts;
  moved[distribution.blankCode] += moved[ruleBlank];
  moved[ruleBlank] = 0;
  return keyOfSameCodes(moved, maxTiles);
}

// ---------------------------------------------------------------------------
// Leave values.

class LeaveTable {
 public:
  void clear() {
    slots_.clear();
    used_ = 0;
    shift_ = 64;
  }

  void set(std::uint64_t key, int value) {
    if (key == 0) return;
    if (slots_.empty() || 2 * (used_ + 1) > slots_.size()) grow();
    Slot& s = slots_[find(key)];
    if (s.key == 0) {
      s.key = key;
      ++used_;
    }
    s.value = value;
  }

  // The value listed for a key, or 0.
  int get(std::uint64_t key) const {
    if (used_ == 0) return 0;
    return slots_[find(key)].value;  // an empty slot holds 0
  }

  std::size_t size() const { return used_; }

 private:
  struct Slot {
    std::uint64_t key = 0;
    std::int32_t value = 0;
  };

  std::size_t find(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
    while (slots_[i].key != 0 && slots_[i].key != key) i = (i + 1) & mask;
    return i;
  }

  void grow() {
    const std::size_t capacity = slots_.empty() ? 1024 : slots_.size() * 2;
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(capacity, Slot{});
    shift_ = 64 - std::countr_zero(capacity);
    for (const Slot& s : old) {
      if (s.key != 0) slots_[find(s.key)] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
  int shift_ = 64;
};

// ---------------------------------------------------------------------------
// The full-rack table.

class FullRackTable {
 public:
  struct Slot {
    std::uint64_t key;
    std::int32_t count;
    std::int32_t value;  // the point total until normalised
  };

  // Frees the slots; the next record allocates them again.
  void release() {
    slots_.reset();
    used_ = 0;
    longestRun_ = 0;
    rackLength_ = 0;
  }

  // Adds a record; records of a rack already held are summed into it
  // (a file may list one rack on several lines, e.g. when statistics of
  // several sources were concatenated). False when the table is full.
  bool add(std::uint64_t key, int length, std::int64_t count, std::int64_t total) {
    if (!slots_) {
      // calloc: the pages of the 97 MB table are mapped in as records land.
      slots_.reset(static_cast<Slot*>(std::calloc(capacity(), sizeof(Slot))));
      if (!slots_) return false;
      rackLength_ = length;
    }
    const std::size_t n = capacity();
    std::size_t i = start(key);
    for (std::size_t run = 0; run < n; ++run) {
      Slot& s = slots_.get()[i];
      if (s.key == key) {
        s.count = saturate(s.count + count);
        s.value = saturate(s.value + total);
        return true;
      }
      if (s.key == 0) {
        s.key = key;
        s.count = saturate(count);
        s.value = saturate(total);
        ++used_;
        longestRun_ = std::max(longestRun_, run);
        return true;
      }
      if (++i == n) i = 0;
    }
    return false;  // full: the record is dropped
  }

  const Slot* find(std::uint64_t key) const {
    if (!slots_) return nullptr;
    const std::size_t n = capacity();
    std::size_t i = start(key);
    for (std::size_t run = 0; run <= longestRun_; ++run) {
      const Slot& s = slots_.get()[i];
      if (s.key == key) return &s;
      if (s.key == 0) return nullptr;
      if (++i == n) i = 0;
    }
    return nullptr;
  }

  // Turns every total into the rack's mean in tenths relative to the mean
  // of all observations. Returns false when no record counts.
  bool normalise() {
    if (!slots_) return false;
    std::int64_t observations = 0, points = 0;
    Slot* begin = slots_.get();
    Slot* end = begin + capacity();
    for (Slot* s = begin; s != end; ++s) {
      if (s->key == 0 || s->count < 1) continue;
      observations += s->count;
      points += s->value;
    }
    if (observations == 0) return false;
    const std::int64_t mean10 = (10 * points) / observations;
    for (Slot* s = begin; s != end; ++s) {
      if (s->key == 0 || s->count < 1) continue;
      s->value = saturate((10 * static_cast<std::int64_t>(s->value) + 5) / s->count - mean10);
    }
    return true;
  }

  std::size_t capacity() const { return capacityOverride_ ? capacityOverride_ : kStandardFullRackSlots; }
  void setCapacity(std::size_t slots) {
    release();
    capacityOverride_ = slots;
  }
  std::size_t size() const { return used_; }
  int rackLength() const { return rackLength_; }

 private:
  // The first slot to probe: key mod slot count (a constant divisor for
  // the standard size, which the compiler turns into a multiplication).
  std::size_t start(std::uint64_t key) const {
    return static_cast<std::size_t>(capacityOverride_ ? key % capacityOverride_ : key % kStandardFullRackSlots);
  }
  static std::int32_t saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
  }
  struct Free {
    void operator()(Slot* p) const { std::free(p); }
  };
  std::unique_ptr<Slot, Free> slots_;
  std::size_t used_ = 0;
  std::size_t longestRun_ = 0;
  int rackLength_ = 0;
  std::size_t capacityOverride_ = 0;
};

LeaveTable leaveTable;
FullRackTable fullRackTable;
bool fullRackValues = false;  // the table holds normalised values
std::string loadedName;

// ---------------------------------------------------------------------------
// Reading.

// Splits text at white space; NUL and every other byte belong to tokens.
class Tokens {
 public:
  explicit Tokens(std::string_view text) : text_(text) {}
  // The next token; empty at the end.
  std::string_view next() {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isSpace(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

 private:
  static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
  std::string_view text_;
  std::size_t pos_ = 0;
};

// A token that is an integer: optional sign, decimal digits. The value
// saturates far outside the int range, so callers can reject it.
bool parseInteger(std::string_view token, std::int64_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  if (i == token.size()) return false;
  std::int64_t v = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') return false;
    if (v < (std::int64_t(1) << 40)) v = v * 10 + (c - '0');
  }
  value = negative ? -v : v;
  return true;
}

bool fitsInt(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

// Reads records of `fields` tokens: a letter string followed by integers.
// A window whose number fields are no integers is out of step (a missing
// field, a stray token): the first token is dropped and reading resumes
// with the next one. Well-formed records go to the sink, which decides
// whether to keep them.
template <int fields, class Sink>
void readRecords(std::string_view text, Sink&& sink) {
  Tokens tokens(text);
  std::array<std::string_view, fields> window;
  int have = 0;
  for (;;) {
    while (have < fields) {
      const std::string_view t = tokens.next();
      if (t.empty()) return;
      window[static_cast<std::size_t>(have++)] = t;
    }
    std::array<std::int64_t, fields - 1> numbers{};
    bool wellFormed = true;
    for (int k = 1; k < fields && wellFormed; ++k) wellFormed = parseInteger(window[static_cast<std::size_t>(k)], numbers[static_cast<std::size_t>(k - 1)]);
    if (wellFormed) {
      sink(window[0], numbers);
      have = 0;
    } else {
      for (int k = 1; k < fields; ++k) window[static_cast<std::size_t>(k - 1)] = window[static_cast<std::size_t>(k)];
      --have;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------

void setRackDistribution(int alphabet) {
  Distribution d{};
  for (auto& c : d.codeOf) c = -1;
  d.blankCode = alphabetCounts(alphabet).blankCode;
  const int letterCount = alphabetCounts(alphabet).letterCount;
  auto map = [&](char c, int code) {
    d.codeOf[static_cast<unsigned char>(c)] = static_cast<std::int8_t>(code);
    d.codeOf[static_cast<unsigned char>(latin1Lower(c))] = static_cast<std::int8_t>(code);
  };
  // The bag's own one-character forms (Spanish '1' '2' '3' for CH LL RR and
  // Ñ; Catalan K Q W Y for Ç QU L·L NY), in either case.
  for (char c : standardBag(alphabet)) {
    const int code = c == '?' ? d.blankCode : codeOfUpper(c);
    if (code < 0 || code >= kCodeSlots || (c != '?' && code >= letterCount)) continue;
    ++d.copies[static_cast<std::size_t>(code)];
    map(c, code);
  }
  // The forms the program writes racks in (Catalan Ç for K), when the
  // word-list alphabet is this one.
  if (wordListAlphabet() == alphabet) {
    for (int code = 0; code < letterCount; ++code) {
      if (d.copies[static_cast<std::size_t>(code)] == 0) continue;
      const char c = charOfUpper(code);
      if (c != '?') map(c, code);
    }
  }
  distribution = d;
}

int leaveValueOrZero(std::string_view letters) {
  const std::uint64_t key = keyOfLetters(letters, rules().rackSize);
  return key >= kTooLong ? 0 : leaveTable.get(key);
}

std::optional<int> leaveValueOf(std::string_view letters) {
  const std::uint64_t key = keyOfLetters(letters, rules().rackSize);
  if (key == kNotALeave) return std::nullopt;
  return key == kTooLong ? 0 : leaveTable.get(key);
}

std::optional<int> leaveValueOf(const LetterCounts& counts) {
  const std::uint64_t key = keyOfCounts(counts, rules().rackSize);
  if (key == kNotALeave) return std::nullopt;
  return key == kTooLong ? 0 : leaveTable.get(key);
}

std::optional<int> FullRackValue(const LetterCounts& counts) {
  if (!fullRackValues) return std::nullopt;
  const int length = fullRackTable.rackLength();
  const std::uint64_t key = keyOfCounts(counts, length);
  if (key >= kTooLong || keyLength(key) != length) return std::nullopt;
  const FullRackTable::Slot* s = fullRackTable.find(key);
  if (s == nullptr) return std::nullopt;
  return s->value;
}

std::size_t loadFullRackText(std::string_view text) {
  fullRackTable.release();
  fullRackValues = false;
  const int rackSize = rules().rackSize;
  if (rackSize >= 1 && rackSize <= kMaxKeyTiles) {
    readRecords<3>(text, [&](std::string_view letters, const std::array<std::int64_t, 2>& numbers) {
      const std::int64_t count = numbers[0], total = numbers[1];
      // Counts of 0 carry no observation; numbers outside the int range
      // are damage, not statistics.
      if (count < 1 || !fitsInt(count) || !fitsInt(total)) return;
      if (static_cast<int>(letters.size()) != rackSize) return;
      const std::uint64_t key = keyOfLetters(letters, rackSize);
      if (key >= kTooLong) return;
      fullRackTable.add(key, rackSize, count, total);
    });
  }
  fullRackValues = fullRackTable.normalise();
  if (!fullRackValues) {
    PrintMessage(msg::RackNoStatistics);
    return 0;
  }
  return fullRackTable.size();
}

std::size_t loadLeaveText(std::string_view text) {
  leaveTable.clear();
  const int rackSize = rules().rackSize;
  readRecords<2>(text, [&](std::string_view letters, const std::array<std::int64_t, 1>& numbers) {
    if (!fitsInt(numbers[0])) return;
    const std::uint64_t key = keyOfLetters(letters, rackSize);
    if (key >= kTooLong || key == 0) return;
    leaveTable.set(key, static_cast<int>(numbers[0]));
  });
  return leaveTable.size();
}

void LoadRackTables(const Lexicon& lexicon) {
  std::string chosen = companionName(lexicon.fileName(), ".rack");
  if (!dataFileExists(chosen)) {
    const int id = lexicon.listId();
    if ((id >= 1 && id <= 3) || id == 7) {
      chosen = "ENABLE.rack";
    } else if (lexicon.alphabet() != kAlphabetEnglish) {
      chosen.clear();
    } else {
      chosen = "CSW12.rack";
    }
  }
  if (latin1Lower(chosen) == latin1Lower(loadedName)) return;

  const auto rackPath = chosen.empty() ? std::nullopt : findDataFile(chosen);
  const auto partialPath = chosen.empty() ? std::nullopt : findDataFile(companionName(chosen, ".rack.partial"));
  if (rackPath || partialPath) PrintMessage(msg::RackReading);
  loadedName = chosen;

  const auto rackText = rackPath ? readWholeFile(*rackPath) : std::nullopt;
  loadFullRackText(rackText ? std::string_view(*rackText) : std::string_view());
  const auto partialText = partialPath ? readWholeFile(*partialPath) : std::nullopt;
  loadLeaveText(partialText ? std::string_view(*partialText) : std::string_view());
}

bool hasFullRackTable() { return fullRackValues; }
const std::string& loadedRackTableName() { return loadedName; }

void clearRackTables() {
  fullRackTable.release();
  fullRackValues = false;
  leaveTable.clear();
  loadedName.clear();
}

std::size_t fullRackTableCapacity() { return fullRackTable.capacity(); }
std::size_t fullRackTableSize() { return fullRackValues ? fullRackTable.size() : 0; }
std::size_t leaveTableSize() { return leaveTable.size(); }

void setFullRackTableCapacity(std::size_t slots) {
  fullRackTable.setCapacity(slots);
  fullRackValues = false;
}

}  // namespace pexil
