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
// Both tables are open-addressing tables with a power-of-two slot count
// kept at most half full (rack_table_image.hpp): a lookup is the packing,
// one multiplicative hash and usually a single probe. LeaveValue runs for
// every generated move. A slot holds the key and the value; the rack's
// letters are not stored since they follow from the key.
//
// Leave values (".rack.partial") are set in file order, a later line of the
// same leave replacing an earlier one.
//
// Full racks (".rack") are read as records first: the records of one rack
// are summed in file order (saturating at the int range after each step),
// and the table holds at most 6,068,243 racks (about twice the 3,199,724
// distinct seven-tile racks of the English bag), the first ones to appear;
// records of further racks are dropped. The sums are then normalised and
// the racks go into the table.
//
// Binary forms. Parsing the text of the English tables (13 MB) takes most of
// a second, so the tables are also kept in a binary form beside the .rack
// file (".rackbin"), mapped read-only and used in place: the slots are the
// tables' own. It records what it was made from (the rack size, the
// capacity, the distribution, and the size and a 64-bit content hash of
// each text file) and is only used when all of that matches; otherwise the
// texts are read and, for tables of the data folder, the binary form is
// written again. Hashing the texts at every start costs about as much as
// reading them once (a few milliseconds for 13 MB at memory speed), far
// less than parsing them, and unlike sizes and modification times it cannot
// be fooled by a file rewritten with the same size in the same second or
// unpacked with its old time.
//
// Concurrency: both tables and the distribution are written only while a
// word list loads, when no search runs; afterwards every thread reads them
// without locks.
#include "tables/rack_tables.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <vector>

#include "io/binary_image.hpp"
#include "io/content_hash.hpp"
#include "io/data_files.hpp"
#include "io/mapped_file.hpp"
#include "lexicon/lexicon.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "tables/rack_table_image.hpp"
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
// The tables.

// A table the lookups see through a view: of its own slots, filled from
// text, or of slots in a binary form's mapping.
class SlotTable {
 public:
  void clear() {
    own_.clear();
    own_.shrink_to_fit();
    view_ = {};
  }

  // Adds or replaces a value (own slots only; a viewed table is replaced).
  void set(std::uint64_t key, int value) {
    if (key == 0) return;
    if (own_.empty() || view_.slots().data() != own_.data()) {
      own_.clear();
      view_ = {};
    }
    if (own_.empty() || 2 * (view_.used() + 1) > own_.size()) grow();
    TableSlot& s = ownSlot(key);
    std::size_t used = view_.used();
    if (s.key == 0) {
      s.key = key;
      ++used;
    }
    s.value = value;
    view_ = SlotTableView(own_, used);
  }

  void adopt(const SlotTableView& view) {
    own_.clear();
    own_.shrink_to_fit();
    view_ = view;
  }

  const SlotTableView& view() const { return view_; }
  std::size_t size() const { return view_.used(); }

 private:
  TableSlot& ownSlot(std::uint64_t key) {
    const std::size_t mask = own_.size() - 1;
    std::size_t i = SlotTableView::home(key, view_.shift());
    while (own_[i].key != 0 && own_[i].key != key) i = (i + 1) & mask;
    return own_[i];
  }

  void grow() {
    const std::size_t capacity = own_.empty() ? 1024 : own_.size() * 2;
    std::vector<TableSlot> old;
    old.swap(own_);
    own_.assign(capacity, TableSlot{});
    const std::size_t used = view_.used();
    view_ = SlotTableView(own_, used);
    for (const TableSlot& s : old) {
      if (s.key != 0) ownSlot(s.key) = s;
    }
  }

  std::vector<TableSlot> own_;
  SlotTableView view_;
};

SlotTable leaveTable;
SlotTable fullRackTable;
bool fullRackValues = false;  // the table holds normalised values
int fullRackLength = 0;
std::size_t fullRackCapacity = 0;  // 0: the standard number of racks
std::string loadedName;
// The binary form the tables view, and the key of what they were made
// from ("" when read from text given directly).
MappedFile tableMapping;
std::string sourceKey;

std::size_t rackCapacity() { return fullRackCapacity ? fullRackCapacity : kStandardFullRackSlots; }

std::int32_t saturate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

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
  return key >= kTooLong ? 0 : leaveTable.view().valueOrZero(key);
}

void leaveValuesOrZero(std::span<const std::string_view> leaves, std::span<int> values) {
  const SlotTableView table = leaveTable.view();
  const int rackSize = rules().rackSize;
  constexpr std::size_t kBatch = 32;
  std::uint64_t keys[kBatch];
  for (std::size_t first = 0; first < leaves.size(); first += kBatch) {
    const std::size_t n = std::min(kBatch, leaves.size() - first);
    for (std::size_t i = 0; i < n; ++i) {
      keys[i] = keyOfLetters(leaves[first + i], rackSize);
      if (keys[i] < kTooLong) table.prefetch(keys[i]);
    }
    for (std::size_t i = 0; i < n; ++i) values[first + i] = keys[i] >= kTooLong ? 0 : table.valueOrZero(keys[i]);
  }
}

std::optional<int> leaveValueOf(std::string_view letters) {
  const std::uint64_t key = keyOfLetters(letters, rules().rackSize);
  if (key == kNotALeave) return std::nullopt;
  return key == kTooLong ? 0 : leaveTable.view().valueOrZero(key);
}

std::optional<int> leaveValueOf(const LetterCounts& counts) {
  const std::uint64_t key = keyOfCounts(counts, rules().rackSize);
  if (key == kNotALeave) return std::nullopt;
  return key == kTooLong ? 0 : leaveTable.view().valueOrZero(key);
}

std::optional<int> FullRackValue(const LetterCounts& counts) {
  if (!fullRackValues) return std::nullopt;
  const int length = fullRackLength;
  const std::uint64_t key = keyOfCounts(counts, length);
  if (key >= kTooLong || keyLength(key) != length) return std::nullopt;
  const TableSlot* s = fullRackTable.view().find(key);
  if (s == nullptr) return std::nullopt;
  return s->value;
}

void fullRackValuesOrZero(std::span<const LetterCounts> racks, std::span<int> values) {
  const int length = fullRackLength;
  const SlotTableView table = fullRackTable.view();
  constexpr std::size_t kBatch = 32;
  std::uint64_t keys[kBatch];
  for (std::size_t first = 0; first < racks.size(); first += kBatch) {
    const std::size_t n = std::min(kBatch, racks.size() - first);
    for (std::size_t i = 0; i < n; ++i) {
      std::uint64_t key = fullRackValues ? keyOfCounts(racks[first + i], length) : kNotALeave;
      if (key >= kTooLong || keyLength(key) != length) key = 0;
      keys[i] = key;
      if (key != 0) table.prefetch(key);
    }
    for (std::size_t i = 0; i < n; ++i) {
      const TableSlot* s = keys[i] == 0 ? nullptr : table.find(keys[i]);
      values[first + i] = s ? s->value : 0;
    }
  }
}

std::size_t loadFullRackText(std::string_view text) {
  fullRackTable.clear();
  fullRackValues = false;
  fullRackLength = 0;
  sourceKey.clear();
  const int rackSize = rules().rackSize;
  struct Record {
    std::uint64_t key;
    std::int64_t count, total;
  };
  std::vector<Record> records;
  if (rackSize >= 1 && rackSize <= kMaxKeyTiles) {
    readRecords<3>(text, [&](std::string_view letters, const std::array<std::int64_t, 2>& numbers) {
      const std::int64_t count = numbers[0], total = numbers[1];
      // Counts of 0 carry no observation; numbers outside the int range
      // are damage, not statistics.
      if (count < 1 || !fitsInt(count) || !fitsInt(total)) return;
      if (static_cast<int>(letters.size()) != rackSize) return;
      const std::uint64_t key = keyOfLetters(letters, rackSize);
      if (key >= kTooLong) return;
      records.push_back({key, count, total});
    });
  }
  // The records of each rack, in file order, summed as they come.
  std::vector<std::uint32_t> order(records.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return records[a].key < records[b].key; });
  struct Rack {
    std::uint64_t key;
    std::uint32_t first;  // the record it first appears in
    std::int32_t count, total;
  };
  std::vector<Rack> racks;
  for (std::size_t i = 0; i < order.size();) {
    const Record& r = records[order[i]];
    Rack rack{r.key, order[i], saturate(r.count), saturate(r.total)};
    for (++i; i < order.size() && records[order[i]].key == rack.key; ++i) {
      rack.count = saturate(rack.count + records[order[i]].count);
      rack.total = saturate(rack.total + records[order[i]].total);
    }
    racks.push_back(rack);
  }
  records.clear();
  records.shrink_to_fit();
  // The racks that came first fill the table; later ones are dropped.
  std::sort(racks.begin(), racks.end(), [](const Rack& a, const Rack& b) { return a.first < b.first; });
  if (racks.size() > rackCapacity()) racks.resize(rackCapacity());

  // Each rack's mean in tenths relative to the mean of all observations.
  std::int64_t observations = 0, points = 0;
  for (const Rack& rack : racks) {
    observations += rack.count;
    points += rack.total;
  }
  if (observations == 0) {
    PrintMessage(msg::RackNoStatistics);
    return 0;
  }
  const std::int64_t mean10 = (10 * points) / observations;
  for (const Rack& rack : racks) {
    fullRackTable.set(rack.key, saturate((10 * static_cast<std::int64_t>(rack.total) + 5) / rack.count - mean10));
  }
  fullRackValues = true;
  fullRackLength = rackSize;
  return fullRackTable.size();
}

std::size_t loadLeaveText(std::string_view text) {
  leaveTable.clear();
  sourceKey.clear();
  const int rackSize = rules().rackSize;
  readRecords<2>(text, [&](std::string_view letters, const std::array<std::int64_t, 1>& numbers) {
    if (!fitsInt(numbers[0])) return;
    const std::uint64_t key = keyOfLetters(letters, rackSize);
    if (key >= kTooLong || key == 0) return;
    leaveTable.set(key, static_cast<int>(numbers[0]));
  });
  return leaveTable.size();
}

namespace {

std::string stampText(const std::optional<FileStamp>& stamp) {
  return stamp ? FormatText("%llu %016llx", static_cast<unsigned long long>(stamp->size),
                            static_cast<unsigned long long>(stamp->hash))
               : std::string("none");
}

// What the tables are made from besides the two texts: the rack size, the
// capacity and the distribution the keys are checked against.
std::string tablesKey(const std::optional<FileStamp>& rack, const std::optional<FileStamp>& partial) {
  std::string key = FormatText("pexil rack tables\nrack size %d\ncapacity %zu\nblank %d\ncodes ", rules().rackSize,
                               rackCapacity(), distribution.blankCode);
  for (const std::int8_t code : distribution.codeOf) key += FormatText("%02x", static_cast<unsigned>(code) & 0xFF);
  key += "\ncopies ";
  for (const std::uint8_t copies : distribution.copies) key += FormatText("%02x", static_cast<unsigned>(copies));
  key += "\nrack " + stampText(rack) + "\npartial " + stampText(partial) + "\n";
  return key;
}

RackTableImageContent loadedContent() {
  RackTableImageContent content;
  content.fullRacks = fullRackTable.view();
  content.leaves = leaveTable.view();
  content.fullRackValues = fullRackValues;
  content.rackLength = fullRackLength;
  return content;
}

// Uses a binary form whose key matches; false (with a notice for a file that
// is there but not usable) otherwise.
bool readBinaryForm(const std::string& path, const std::string& key) {
  auto mapped = MappedFile::open(path);
  ImageRefusal refusal{ImageProblem::damaged, "unreadable"};
  std::optional<RackTableImageContent> content;
  if (mapped) content = readRackTableImage(mapped->bytes(), key, &*mapped, refusal);
  if (!content) {
    PrintMessageF(msg::BinaryIgnored, path.c_str(), refusalText(refusal).c_str());
    return false;
  }
  fullRackTable.adopt(content->fullRacks);
  leaveTable.adopt(content->leaves);
  fullRackValues = content->fullRackValues;
  fullRackLength = content->rackLength;
  tableMapping = std::move(*mapped);  // the views stay valid: the address does not change
  sourceKey = key;
  return true;
}

}  // namespace

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
  clearRackTables();
  loadedName = chosen;

  const bool binary = lexicon.useBinaryFile && (rackPath || partialPath);
  const std::string binaryName = binary ? companionName(*(rackPath ? rackPath : partialPath), ".rackbin") : std::string();
  const std::string binaryPath = binary ? findDataFile(binaryName).value_or(binaryName) : std::string();
  if (binary && dataFileExists(binaryPath)) {
    const auto rackStamp = rackPath ? stampFile(*rackPath) : std::nullopt;
    const auto partialStamp = partialPath ? stampFile(*partialPath) : std::nullopt;
    if (readBinaryForm(binaryPath, tablesKey(rackStamp, partialStamp))) {
      if (!fullRackValues) PrintMessage(msg::RackNoStatistics);
      return;
    }
  }

  const auto rackText = rackPath ? readWholeFile(*rackPath) : std::nullopt;
  loadFullRackText(rackText ? std::string_view(*rackText) : std::string_view());
  const auto partialText = partialPath ? readWholeFile(*partialPath) : std::nullopt;
  loadLeaveText(partialText ? std::string_view(*partialText) : std::string_view());
  sourceKey = tablesKey(rackText ? std::optional<FileStamp>(stampOf(*rackText)) : std::nullopt,
                        partialText ? std::optional<FileStamp>(stampOf(*partialText)) : std::nullopt);
  // Tables of the data folder get their binary form again.
  if (binary && chosen.find('/') == std::string::npos && !writeRackTablesBinary(binaryPath)) {
    PrintMessageF(msg::BinaryNotWritten, binaryPath.c_str());
  }
}

bool writeRackTablesBinary(const std::string& path) {
  if (sourceKey.empty() || loadedName.empty()) return false;
  return rackTableImageWriter(loadedContent(), sourceKey).write(path);
}

std::string rackTablesBinaryName() {
  if (loadedName.empty()) return {};
  const auto rackPath = findDataFile(loadedName);
  const auto partialPath = findDataFile(companionName(loadedName, ".rack.partial"));
  if (!rackPath && !partialPath) return {};
  return companionName(*(rackPath ? rackPath : partialPath), ".rackbin");
}

bool rackTablesFromBinary() { return tableMapping.size() > 0; }

bool hasFullRackTable() { return fullRackValues; }
const std::string& loadedRackTableName() { return loadedName; }

void clearRackTables() {
  fullRackTable.clear();
  fullRackValues = false;
  fullRackLength = 0;
  leaveTable.clear();
  loadedName.clear();
  sourceKey.clear();
  tableMapping = MappedFile{};
}

std::size_t fullRackTableCapacity() { return rackCapacity(); }
std::size_t fullRackTableSize() { return fullRackValues ? fullRackTable.size() : 0; }
std::size_t leaveTableSize() { return leaveTable.size(); }

void setFullRackTableCapacity(std::size_t slots) {
  fullRackTable.clear();
  fullRackValues = false;
  fullRackCapacity = slots;
}

}  // namespace pexil
