#include "counts.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

namespace pexil::databuilder {
namespace {

constexpr char kCodeChars[] = "abcdefghijklmnopqrstuvwxyz012345";
// Numbers in counts files stay within +-2^62, so that two of them always
// add without overflow before the check.
constexpr std::int64_t kLimit = std::int64_t(1) << 62;

int codeOfChar(char c) {
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= '0' && c <= '5') return 26 + (c - '0');
  return -1;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The whitespace-separated tokens of a line (at most `most`; a line with
// more has too many and is reported by a count above `most`).
std::size_t splitLine(std::string_view line, std::string_view* tokens, std::size_t most) {
  std::size_t n = 0, pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && isSpace(line[pos])) ++pos;
    if (pos >= line.size()) break;
    const std::size_t start = pos;
    while (pos < line.size() && !isSpace(line[pos])) ++pos;
    if (n < most) tokens[n] = line.substr(start, pos - start);
    ++n;
  }
  return n;
}

// A decimal integer within +-2^62, or false.
bool parseNumber(std::string_view token, std::int64_t& value) {
  if (token.empty() || token.size() > 20) return false;
  std::size_t i = 0;
  bool negative = false;
  if (token[0] == '-' || token[0] == '+') {
    negative = token[0] == '-';
    i = 1;
  }
  if (i == token.size()) return false;
  std::int64_t v = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') return false;
    if (v > (kLimit - (c - '0')) / 10) return false;  // beyond 2^62
    v = v * 10 + (c - '0');
  }
  value = negative ? -v : v;
  return true;
}

bool inRange(std::int64_t v, std::int64_t low, std::int64_t high) { return v >= low && v <= high; }

}  // namespace

// ---------------------------------------------------------------------------
// Keys.

TileKey keyOfCounts(const std::array<int, kCodes>& counts) {
  TileKey key = 0;
  int n = 0;
  for (int code = 0; code < kCodes; ++code) {
    const int k = counts[static_cast<std::size_t>(code)];
    if (k < 0 || n + k > kMaxKeyTiles) return kNoKey;
    for (int i = 0; i < k; ++i, ++n) key |= static_cast<TileKey>(code) << (4 + 5 * n);
  }
  return key | static_cast<TileKey>(n);
}

std::array<int, kCodes> countsOfKey(TileKey key) {
  std::array<int, kCodes> counts{};
  const int n = std::min(keyTiles(key), kMaxKeyTiles);
  for (int i = 0; i < n; ++i) ++counts[static_cast<std::size_t>((key >> (4 + 5 * i)) & 31)];
  return counts;
}

std::string keyText(TileKey key) {
  const int n = std::min(keyTiles(key), kMaxKeyTiles);
  if (n == 0) return "-";
  std::string text;
  for (int i = 0; i < n; ++i) text.push_back(kCodeChars[(key >> (4 + 5 * i)) & 31]);
  return text;
}

TileKey keyOfText(std::string_view text) {
  if (text == "-") return 0;
  if (text.empty() || text.size() > kMaxKeyTiles) return kNoKey;
  std::array<int, kCodes> counts{};
  for (char c : text) {
    const int code = codeOfChar(c);
    if (code < 0) return kNoKey;
    ++counts[static_cast<std::size_t>(code)];
  }
  return keyOfCounts(counts);
}

// ---------------------------------------------------------------------------
// Sums.

bool addSum(Sum& a, std::int64_t count, std::int64_t total) {
  std::int64_t c = 0, t = 0;
  if (__builtin_add_overflow(a.count, count, &c) || __builtin_add_overflow(a.total, total, &t)) return false;
  a.count = c;
  a.total = t;
  return true;
}

std::size_t KeyedSums::find(TileKey key) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask;
  while (slots_[i].key != 0 && slots_[i].key != key) i = (i + 1) & mask;
  return i;
}

void KeyedSums::grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
  for (const Slot& s : old) {
    if (s.key != 0) slots_[find(s.key)] = s;
  }
}

bool KeyedSums::add(TileKey key, std::int64_t count, std::int64_t total) {
  if (key == 0) {
    if (!addSum(empty_, count, total)) return false;
    hasEmpty_ = true;
    return true;
  }
  if (slots_.empty() || 2 * (used_ + 1) > slots_.size()) grow();
  Slot& s = slots_[find(key)];
  Sum sum = s.key == key ? s.sum : Sum{};
  if (!addSum(sum, count, total)) return false;
  if (s.key != key) {
    s.key = key;
    ++used_;
  }
  s.sum = sum;
  return true;
}

Sum KeyedSums::get(TileKey key) const {
  if (key == 0) return empty_;
  if (slots_.empty()) return Sum{};
  const Slot& s = slots_[find(key)];
  return s.key == key ? s.sum : Sum{};
}

std::vector<TileKey> KeyedSums::sortedKeys() const {
  std::vector<TileKey> keys;
  keys.reserve(size());
  if (hasEmpty_) keys.push_back(0);
  for (const Slot& s : slots_) {
    if (s.key != 0) keys.push_back(s.key);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

bool KeyedSums::operator==(const KeyedSums& other) const {
  if (size() != other.size()) return false;
  for (TileKey key : sortedKeys()) {
    const Sum a = get(key), b = other.get(key);
    if (a.count != b.count || a.total != b.total) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Counts.

std::vector<Sum>& EvalCounts::winTable(int players) {
  std::vector<Sum>& table = win[static_cast<std::size_t>(std::clamp(players, 2, 4))];
  if (table.empty()) table.assign(kWinCells, Sum{});
  return table;
}

std::vector<Sum>& EvalCounts::squareTable() {
  if (squares.empty()) squares.assign(kSquareCells, Sum{});
  return squares;
}

bool EvalCounts::usePatternTable(int width, int height) {
  if (width < 3 || height < 3 || width > 32 || height > 32) return false;
  if (patterns.empty()) {
    patternWidth = width;
    patternHeight = height;
    patterns.assign(static_cast<std::size_t>(patternCells()) * kPatterns, Sum{});
    return true;
  }
  return width == patternWidth && height == patternHeight;
}

namespace {

bool addTable(std::vector<Sum>& into, const std::vector<Sum>& from) {
  if (from.empty()) return true;
  if (into.empty()) into.assign(from.size(), Sum{});
  if (into.size() != from.size()) return false;
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (!addSum(into[i], from[i].count, from[i].total)) return false;
  }
  return true;
}

bool sameTable(const std::vector<Sum>& a, const std::vector<Sum>& b) {
  auto isZero = [](const std::vector<Sum>& t) {
    return std::all_of(t.begin(), t.end(), [](const Sum& s) { return s.count == 0 && s.total == 0; });
  };
  if (a.empty() || b.empty()) return isZero(a) && isZero(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].count != b[i].count || a[i].total != b[i].total) return false;
  }
  return true;
}

}  // namespace

bool EvalCounts::add(const EvalCounts& other) {
  if (!info.list.empty() && !other.info.list.empty() && info.list != other.info.list) return false;
  if (info.list.empty()) info.list = other.info.list;
  for (std::size_t p = 0; p < games.size(); ++p) {
    if (__builtin_add_overflow(games[p], other.games[p], &games[p])) return false;
  }
  if (!addSum(baseline, other.baseline.count, other.baseline.total)) return false;
  for (TileKey key : other.leaves.sortedKeys()) {
    const Sum s = other.leaves.get(key);
    if (!leaves.add(key, s.count, s.total)) return false;
  }
  for (TileKey key : other.racks.sortedKeys()) {
    const Sum s = other.racks.get(key);
    if (!racks.add(key, s.count, s.total)) return false;
  }
  for (std::size_t p = 0; p < win.size(); ++p) {
    if (!addTable(win[p], other.win[p])) return false;
  }
  if (!addTable(squares, other.squares)) return false;
  if (!other.patterns.empty()) {
    if (!usePatternTable(other.patternWidth, other.patternHeight)) return false;
    if (!addTable(patterns, other.patterns)) return false;
  }
  return true;
}

bool EvalCounts::sameSums(const EvalCounts& other) const {
  if (games != other.games || baseline.count != other.baseline.count || baseline.total != other.baseline.total) return false;
  if (!(leaves == other.leaves) || !(racks == other.racks)) return false;
  for (std::size_t p = 0; p < win.size(); ++p) {
    if (!sameTable(win[p], other.win[p])) return false;
  }
  if (!sameTable(squares, other.squares)) return false;
  if (!patterns.empty() && !other.patterns.empty() &&
      (patternWidth != other.patternWidth || patternHeight != other.patternHeight)) {
    return false;
  }
  return sameTable(patterns, other.patterns);
}

// ---------------------------------------------------------------------------
// Writing.

std::string writeCounts(const EvalCounts& counts) {
  std::string out;
  out.reserve(1 << 16);
  char line[160];
  auto put = [&](const char* format, auto... values) {
    const int n = std::snprintf(line, sizeof line, format, values...);
    if (n > 0) out.append(line, static_cast<std::size_t>(std::min<int>(n, sizeof line - 1)));
  };
  const CountsInfo& info = counts.info;
  out += "# Pexil evaluation counts: raw sums of self-play observations\n";
  out += "format 1\n";
  if (!info.list.empty()) out += "list " + info.list + "\n";
  if (info.seed >= 0) put("seed %lld\n", static_cast<long long>(info.seed));
  if (info.generation >= 0) put("generation %d\n", info.generation);
  if (info.players > 0) put("players %d\n", info.players);
  if (info.shard >= 0) put("shard %d %d\n", info.shard, info.shards);
  if (info.end > 0) {
    put("next %lld\n", static_cast<long long>(info.next));
    put("end %lld\n", static_cast<long long>(info.end));
  }
  if (!info.leaves.empty()) out += "leaves " + info.leaves + "\n";
  for (int p = 2; p <= 4; ++p) {
    if (counts.games[static_cast<std::size_t>(p)] > 0) put("games %d %lld\n", p, static_cast<long long>(counts.games[static_cast<std::size_t>(p)]));
  }
  if (counts.baseline.count > 0) {
    put("baseline %lld %lld\n", static_cast<long long>(counts.baseline.count), static_cast<long long>(counts.baseline.total));
  }
  for (TileKey key : counts.leaves.sortedKeys()) {
    const Sum s = counts.leaves.get(key);
    out += "leave " + keyText(key);
    put(" %lld %lld\n", static_cast<long long>(s.count), static_cast<long long>(s.total));
  }
  for (TileKey key : counts.racks.sortedKeys()) {
    const Sum s = counts.racks.get(key);
    out += "rack " + keyText(key);
    put(" %lld %lld\n", static_cast<long long>(s.count), static_cast<long long>(s.total));
  }
  for (int p = 2; p <= 4; ++p) {
    const std::vector<Sum>& table = counts.win[static_cast<std::size_t>(p)];
    if (table.size() != kWinCells) continue;
    for (int lead = -kMaxLead; lead <= kMaxLead; ++lead) {
      for (int unseen = 0; unseen <= kMaxUnseen; ++unseen) {
        for (int state = 0; state < kBlankStates; ++state) {
          const Sum& s = table[winCell(lead, unseen, state)];
          if (s.count == 0 && s.total == 0) continue;
          put("win %d %d %d %d %lld %lld\n", p, lead, unseen, state, static_cast<long long>(s.count),
              static_cast<long long>(s.total));
        }
      }
    }
  }
  if (counts.squares.size() == kSquareCells) {
    for (int row = 0; row < kSquareSide; ++row) {
      for (int column = 0; column < kSquareSide; ++column) {
        for (int letter = 0; letter < kCodes; ++letter) {
          const Sum& s = counts.squares[squareCell(letter, column, row)];
          if (s.count == 0 && s.total == 0) continue;
          put("square %d %d %d %lld %lld\n", letter, column, row, static_cast<long long>(s.count),
              static_cast<long long>(s.total));
        }
      }
    }
  }
  if (!counts.patterns.empty()) {
    put("patterns %d %d\n", counts.patternWidth, counts.patternHeight);
    const int cells = counts.patternCells();
    for (int cell = 0; cell < cells; ++cell) {
      for (int pattern = 0; pattern < kPatterns; ++pattern) {
        const Sum& s = counts.patterns[static_cast<std::size_t>(cell) * kPatterns + static_cast<std::size_t>(pattern)];
        if (s.count == 0 && s.total == 0) continue;
        put("pattern %d %d %lld %lld\n", cell, pattern, static_cast<long long>(s.count), static_cast<long long>(s.total));
      }
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// Reading.

ReadReport readCounts(std::string_view text, EvalCounts& counts) {
  ReadReport report;
  // The sizes the pattern records of this file refer to: unknown (0), or
  // refused (-1) when they differ from the table's.
  int patternState = 0;
  std::size_t pos = 0;
  constexpr std::size_t kMostTokens = 8;
  std::string_view t[kMostTokens];
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t n = splitLine(line, t, kMostTokens);
    if (n == 0 || t[0].starts_with("#")) continue;
    if (n > kMostTokens) {
      ++report.skipped;
      continue;
    }
    std::int64_t v[kMostTokens] = {};
    // Parses tokens first..n-1 as numbers.
    auto numbers = [&](std::size_t first) {
      for (std::size_t i = first; i < n; ++i) {
        if (!parseNumber(t[i], v[i])) return false;
      }
      return true;
    };
    bool ok = false;
    const std::string_view kind = t[0];
    CountsInfo& info = counts.info;
    if (kind == "format") {
      ok = n == 2 && numbers(1) && v[1] == 1;
      report.sawFormat = report.sawFormat || ok;
    } else if (kind == "list") {
      // The rest of the line, trimmed: a file name may hold spaces.
      std::string_view rest = line.substr(line.find("list") + 4);
      while (!rest.empty() && (isSpace(rest.front()))) rest.remove_prefix(1);
      while (!rest.empty() && (isSpace(rest.back()))) rest.remove_suffix(1);
      ok = !rest.empty() && rest.size() < 4096;
      if (ok) info.list = std::string(rest);
    } else if (kind == "seed") {
      ok = n == 2 && numbers(1) && inRange(v[1], 0, 0xFFFFFFFFll);
      if (ok) info.seed = v[1];
    } else if (kind == "generation") {
      ok = n == 2 && numbers(1) && inRange(v[1], 0, 1000000);
      if (ok) info.generation = static_cast<int>(v[1]);
    } else if (kind == "players") {
      ok = n == 2 && numbers(1) && inRange(v[1], 2, 4);
      if (ok) info.players = static_cast<int>(v[1]);
    } else if (kind == "shard") {
      ok = n == 3 && numbers(1) && inRange(v[2], 1, 1000000) && inRange(v[1], 0, v[2] - 1);
      if (ok) {
        info.shard = static_cast<int>(v[1]);
        info.shards = static_cast<int>(v[2]);
      }
    } else if (kind == "next") {
      ok = n == 2 && numbers(1) && inRange(v[1], 0, kLimit);
      if (ok) info.next = v[1];
    } else if (kind == "end") {
      ok = n == 2 && numbers(1) && inRange(v[1], 0, kLimit);
      if (ok) info.end = v[1];
    } else if (kind == "leaves") {
      ok = n == 2 && t[1].size() <= 64;
      if (ok) info.leaves = std::string(t[1]);
    } else if (kind == "games") {
      ok = n == 3 && numbers(1) && inRange(v[1], 2, 4) && inRange(v[2], 0, kLimit);
      if (ok) ok = !__builtin_add_overflow(counts.games[static_cast<std::size_t>(v[1])], v[2], &counts.games[static_cast<std::size_t>(v[1])]);
    } else if (kind == "baseline") {
      ok = n == 3 && numbers(1) && inRange(v[1], 0, kLimit) && (v[1] > 0 || v[2] == 0);
      if (ok) ok = addSum(counts.baseline, v[1], v[2]);
    } else if (kind == "leave" || kind == "rack") {
      const TileKey key = n == 4 ? keyOfText(t[1]) : kNoKey;
      ok = key != kNoKey && numbers(2) && inRange(v[2], 0, kLimit) && (v[2] > 0 || v[3] == 0) &&
           (kind == "leave" || key != 0);
      if (ok && v[2] > 0) ok = (kind == "leave" ? counts.leaves : counts.racks).add(key, v[2], v[3]);
    } else if (kind == "win") {
      ok = n == 7 && numbers(1) && inRange(v[1], 2, 4) && inRange(v[2], -kMaxLead, kMaxLead) &&
           inRange(v[3], 0, kMaxUnseen) && inRange(v[4], 0, kBlankStates - 1) && inRange(v[5], 0, kLimit) &&
           inRange(v[6], 0, v[5]);
      if (ok) {
        Sum& s = counts.winTable(static_cast<int>(v[1]))[winCell(static_cast<int>(v[2]), static_cast<int>(v[3]), static_cast<int>(v[4]))];
        ok = addSum(s, v[5], v[6]);
      }
    } else if (kind == "square") {
      ok = n == 6 && numbers(1) && inRange(v[1], 0, kCodes - 1) && inRange(v[2], 0, kSquareSide - 1) &&
           inRange(v[3], 0, kSquareSide - 1) && inRange(v[4], 0, kLimit) && (v[4] > 0 || v[5] == 0);
      if (ok) {
        Sum& s = counts.squareTable()[squareCell(static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]))];
        ok = addSum(s, v[4], v[5]);
      }
    } else if (kind == "patterns") {
      ok = n == 3 && numbers(1) && inRange(v[1], 3, 32) && inRange(v[2], 3, 32);
      patternState = ok && counts.usePatternTable(static_cast<int>(v[1]), static_cast<int>(v[2])) ? 1 : -1;
      ok = patternState == 1;
    } else if (kind == "pattern") {
      ok = patternState == 1 && n == 5 && numbers(1) && inRange(v[1], 0, counts.patternCells() - 1) &&
           inRange(v[2], 0, kPatterns - 1) && inRange(v[3], 0, kLimit) && (v[3] > 0 || v[4] == 0);
      if (ok) {
        Sum& s = counts.patterns[static_cast<std::size_t>(v[1]) * kPatterns + static_cast<std::size_t>(v[2])];
        ok = addSum(s, v[3], v[4]);
      }
    }
    if (ok) {
      ++report.records;
    } else {
      ++report.skipped;
    }
  }
  return report;
}

// ---------------------------------------------------------------------------
// Files.

bool readFileText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  text = std::move(buffer).str();
  return true;
}

std::string digestOf(std::string_view text) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ull;
  }
  char out[17];
  std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
  return out;
}

}  // namespace pexil::databuilder
