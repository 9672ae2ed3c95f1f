#include "finish.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <tuple>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"

namespace pexil::databuilder {
namespace {

// The bag of the active rules, per code.
std::array<int, kCodes> bagCopies() {
  std::array<int, kCodes> copies{};
  const GameRules& r = rules();
  for (int code = 0; code < r.codeCount && code < kCodes; ++code) copies[static_cast<std::size_t>(code)] = std::max(0, tileCount(code));
  return copies;
}

// A key's tiles as the engine's files write them: upper-case letters in
// code order, '?' for the blank.
std::string lettersOf(TileKey key) {
  const int blank = rules().blankCode;
  std::string text;
  const int n = keyTiles(key);
  for (int i = 0; i < n; ++i) {
    const int code = static_cast<int>((key >> (4 + 5 * i)) & 31);
    text.push_back(code == blank ? '?' : charOfUpper(code));
  }
  return text;
}

// The key with one tile of `code` taken out (the tile is in the key):
// the first 5-bit field holding the code goes, the fields above it move
// down.
TileKey without(TileKey key, int code) {
  const int n = keyTiles(key);
  for (int i = 0; i < n; ++i) {
    const int shift = 4 + 5 * i;
    if (static_cast<int>((key >> shift) & 31) != code) continue;
    const TileKey below = key & ((TileKey(1) << shift) - 1) & ~TileKey(15);
    const TileKey above = shift + 5 < 64 ? (key >> (shift + 5)) << shift : 0;
    return below | above | static_cast<TileKey>(n - 1);
  }
  return kNoKey;
}

// Values by key: open addressing, sized once for the leaves to come.
class ValueTable {
 public:
  explicit ValueTable(std::size_t expected) {
    std::size_t size = 1024;
    while (size < 2 * expected + 2) size *= 2;
    slots_.assign(size, Slot{});
  }
  void set(TileKey key, double value) {
    if (2 * (used_ + 1) > slots_.size()) grow();
    Slot& s = slots_[find(key)];
    if (s.key != key) ++used_;
    s.key = key;
    s.value = value;
  }
  // The value of a key, or 0.
  double get(TileKey key) const {
    const Slot& s = slots_[find(key)];
    return s.key == key ? s.value : 0.0;
  }

 private:
  struct Slot {
    TileKey key = kNoKey;
    double value = 0;
  };
  std::size_t find(TileKey key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 24) & mask;
    while (slots_[i].key != kNoKey && slots_[i].key != key) i = (i + 1) & mask;
    return i;
  }
  void grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.size() * 2, Slot{});
    for (const Slot& s : old) {
      if (s.key != kNoKey) slots_[find(s.key)] = s;
    }
  }
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

// The number of multisets of 1..most tiles the bag allows.
std::size_t multisetCount(const std::array<int, kCodes>& copies, int most) {
  std::vector<std::size_t> ways(static_cast<std::size_t>(most) + 1, 0);
  ways[0] = 1;
  for (int code = 0; code < kCodes; ++code) {
    std::vector<std::size_t> next(ways.size(), 0);
    for (int have = 0; have <= most; ++have) {
      for (int k = 0; k <= copies[static_cast<std::size_t>(code)] && have + k <= most; ++k) {
        next[static_cast<std::size_t>(have + k)] += ways[static_cast<std::size_t>(have)];
      }
    }
    ways.swap(next);
  }
  std::size_t total = 0;
  for (int n = 1; n <= most; ++n) total += ways[static_cast<std::size_t>(n)];
  return total;
}

// Calls visit(key) for every multiset of exactly `size` tiles the bag
// allows, in ascending code order.
void forEachMultiset(const std::array<int, kCodes>& copies, int size, const std::function<void(TileKey)>& visit) {
  std::array<int, kCodes> counts{};
  std::function<void(int, int)> walk = [&](int code, int left) {
    if (left == 0) {
      visit(keyOfCounts(counts));
      return;
    }
    if (code >= kCodes) return;
    const int most = std::min(left, copies[static_cast<std::size_t>(code)]);
    // More copies of a smaller code first: the keys then come out in the
    // order their codes read.
    for (int k = most; k >= 0; --k) {
      counts[static_cast<std::size_t>(code)] = k;
      walk(code + 1, left - k);
    }
    counts[static_cast<std::size_t>(code)] = 0;
  };
  walk(0, size);
}

// The leave model: raw means relative to the fresh-rack baseline, the
// marginal value of one more copy of a tile, and the finished values.
struct LeaveModel {
  int rackSize = 7;
  double baseline = 0;
  std::array<std::array<double, kMaxKeyTiles + 1>, kCodes> marginal{};
  ValueTable value{0};  // finished, in tenths

  double rawMean(const Sum& s) const { return static_cast<double>(s.total) / static_cast<double>(s.count) - baseline; }

  double marginalOf(int code, int copies) const {
    return marginal[static_cast<std::size_t>(code)][static_cast<std::size_t>(std::clamp(copies, 1, kMaxKeyTiles))];
  }

  // The prior of a multiset from its sub-multisets one tile smaller: the
  // codes come in ascending order, so each run of one code is one term.
  double prior(TileKey key) const {
    const int n = keyTiles(key);
    double sum = 0;
    int terms = 0;
    for (int i = 0; i < n;) {
      const int code = static_cast<int>((key >> (4 + 5 * i)) & 31);
      int k = 1;
      while (i + k < n && static_cast<int>((key >> (4 + 5 * (i + k))) & 31) == code) ++k;
      const TileKey smaller = without(key, code);
      sum += (smaller == 0 ? 0.0 : value.get(smaller)) + marginalOf(code, k);
      ++terms;
      i += k;
    }
    return terms > 0 ? sum / terms : 0.0;
  }
};

LeaveModel buildLeaveModel(const EvalCounts& counts, const FinishOptions& options, std::size_t* written, std::string* text) {
  LeaveModel model;
  model.rackSize = rules().rackSize;
  const int rackSize = model.rackSize;
  if (counts.baseline.count > 0) {
    model.baseline = static_cast<double>(counts.baseline.total) / static_cast<double>(counts.baseline.count);
  } else if (const Sum e = counts.leaves.get(0); e.count > 0) {
    model.baseline = static_cast<double>(e.total) / static_cast<double>(e.count);
  }

  // Marginals: over every observed leave with k copies of a tile, the
  // difference between its raw mean and that of the leave without one
  // copy, weighted by the inverse of the difference's variance.
  std::array<std::array<double, kMaxKeyTiles + 1>, kCodes> weighted{}, weights{};
  const std::vector<TileKey> observed = counts.leaves.sortedKeys();
  for (TileKey key : observed) {
    const int n = keyTiles(key);
    if (n < 1 || n >= rackSize) continue;
    const Sum s = counts.leaves.get(key);
    if (s.count <= 0) continue;
    const std::array<int, kCodes> c = countsOfKey(key);
    for (int code = 0; code < kCodes; ++code) {
      const int k = c[static_cast<std::size_t>(code)];
      if (k == 0) continue;
      const TileKey smaller = without(key, code);
      double below = 0, weight = static_cast<double>(s.count);
      if (smaller != 0) {
        const Sum t = counts.leaves.get(smaller);
        if (t.count <= 0) continue;
        below = model.rawMean(t);
        weight = 1.0 / (1.0 / static_cast<double>(s.count) + 1.0 / static_cast<double>(t.count));
      }
      weighted[static_cast<std::size_t>(code)][static_cast<std::size_t>(k)] += weight * (model.rawMean(s) - below);
      weights[static_cast<std::size_t>(code)][static_cast<std::size_t>(k)] += weight;
    }
  }
  for (int code = 0; code < kCodes; ++code) {
    for (int k = 1; k <= kMaxKeyTiles; ++k) {
      const double w = weights[static_cast<std::size_t>(code)][static_cast<std::size_t>(k)];
      model.marginal[static_cast<std::size_t>(code)][static_cast<std::size_t>(k)] =
          w > 0 ? weighted[static_cast<std::size_t>(code)][static_cast<std::size_t>(k)] / w
          : k > 1 ? model.marginal[static_cast<std::size_t>(code)][static_cast<std::size_t>(k - 1)]
                  : 0.0;
    }
  }

  // Every leave of 1 .. rack size - 1 tiles, smallest first, so that each
  // prior finds the finished values of the leaves one tile smaller.
  const std::array<int, kCodes> copies = bagCopies();
  model.value = ValueTable(multisetCount(copies, std::min(rackSize - 1, kMaxKeyTiles)));
  if (text) text->reserve(12 * multisetCount(copies, std::min(rackSize - 1, kMaxKeyTiles)));
  const double k = std::max(0, options.leavePriorWeight);
  std::size_t count = 0;
  char line[64];
  for (int size = 1; size < rackSize && size <= kMaxKeyTiles; ++size) {
    forEachMultiset(copies, size, [&](TileKey key) {
      const Sum s = counts.leaves.get(key);
      const double prior = model.prior(key);
      const double n = static_cast<double>(std::max<std::int64_t>(s.count, 0));
      const double v = n + k > 0 ? (n > 0 ? (n * model.rawMean(s) + k * prior) / (n + k) : prior) : 0.0;
      model.value.set(key, v);
      ++count;
      if (text) {
        const long rounded = std::lround(v);
        const std::string letters = lettersOf(key);
        const int len = std::snprintf(line, sizeof line, " %ld\n", rounded);
        text->append(letters);
        text->append(line, static_cast<std::size_t>(std::max(0, len)));
      }
    });
  }
  if (written) *written = count;
  return model;
}

// Win records with pooled counts: a cell is written when the games within
// a window of leads around it reach the minimum.
template <class Get, class Emit>
void pooledCells(const FinishOptions& options, Get&& get, Emit&& emit) {
  for (int lead = -kMaxLead; lead <= kMaxLead; ++lead) {
    Sum pooled = get(lead);
    for (int w = 1; pooled.count < options.winMinGames && w <= options.winWindow; ++w) {
      if (lead - w >= -kMaxLead) {
        const Sum s = get(lead - w);
        addSum(pooled, s.count, s.total);
      }
      if (lead + w <= kMaxLead) {
        const Sum s = get(lead + w);
        addSum(pooled, s.count, s.total);
      }
    }
    if (pooled.count >= options.winMinGames && pooled.count > 0) emit(lead, pooled);
  }
}

std::string winText(const std::vector<Sum>& table, const FinishOptions& options, bool generic) {
  std::string out;
  if (table.size() != kWinCells) return out;
  char line[96];
  // Records ordered by lead, then unseen tiles, then blank state.
  struct Record {
    int lead, unseen, state;
    Sum sum;
  };
  std::vector<Record> records;
  for (int unseen = 0; unseen <= kMaxUnseen; ++unseen) {
    if (generic) {
      pooledCells(
          options,
          [&](int lead) {
            Sum s;
            for (int state = 0; state < kBlankStates; ++state) {
              const Sum& c = table[winCell(lead, unseen, state)];
              addSum(s, c.count, c.total);
            }
            return s;
          },
          [&](int lead, const Sum& s) { records.push_back(Record{lead, unseen, -1, s}); });
    } else {
      for (int state = 0; state < kBlankStates; ++state) {
        pooledCells(
            options, [&](int lead) { return table[winCell(lead, unseen, state)]; },
            [&](int lead, const Sum& s) { records.push_back(Record{lead, unseen, state, s}); });
      }
    }
  }
  std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
    return std::tie(a.lead, a.unseen, a.state) < std::tie(b.lead, b.unseen, b.state);
  });
  for (const Record& r : records) {
    const int n = generic ? std::snprintf(line, sizeof line, "%d %d %lld %lld\n", r.lead, r.unseen,
                                          static_cast<long long>(r.sum.count), static_cast<long long>(r.sum.total))
                          : std::snprintf(line, sizeof line, "%d %d %d %lld %lld\n", r.lead, r.unseen, r.state,
                                          static_cast<long long>(r.sum.count), static_cast<long long>(r.sum.total));
    out.append(line, static_cast<std::size_t>(std::max(0, n)));
  }
  return out;
}

std::string racksText(const EvalCounts& counts, const LeaveModel& model, const FinishOptions& options, std::size_t& written) {
  std::string out;
  written = 0;
  const int rackSize = model.rackSize;
  const std::vector<TileKey> keys = counts.racks.sortedKeys();
  std::int64_t observations = 0, points = 0;
  for (TileKey key : keys) {
    if (keyTiles(key) != rackSize) continue;
    const Sum s = counts.racks.get(key);
    observations += s.count;
    points += s.total;
  }
  if (observations <= 0) return out;
  const double mean = static_cast<double>(points) / static_cast<double>(observations);

  // Each rack's raw value (tenths above the mean) and its prior from the
  // six-tile leaves inside it, scaled by a least-squares factor.
  struct Rack {
    TileKey key;
    double n, raw, prior;
  };
  std::vector<Rack> racks;
  double sxy = 0, sxx = 0;
  for (TileKey key : keys) {
    if (keyTiles(key) != rackSize) continue;
    const Sum s = counts.racks.get(key);
    if (s.count <= 0) continue;
    const double n = static_cast<double>(s.count);
    const double raw = 10.0 * (static_cast<double>(s.total) / n - mean);
    const double prior = model.prior(key);
    sxy += n * raw * prior;
    sxx += n * prior * prior;
    racks.push_back(Rack{key, n, raw, prior});
  }
  const double scale = sxx > 0 ? std::clamp(sxy / sxx, 0.0, 4.0) : 0.0;
  const double k = std::max(0, options.rackPriorWeight);
  std::vector<double> smoothed(racks.size());
  double centre = 0, total = 0;
  for (std::size_t i = 0; i < racks.size(); ++i) {
    const Rack& r = racks[i];
    smoothed[i] = (r.n * r.raw + k * scale * r.prior) / (r.n + k);
    centre += r.n * smoothed[i];
    total += r.n;
  }
  centre = total > 0 ? centre / total : 0;
  char line[64];
  for (std::size_t i = 0; i < racks.size(); ++i) {
    const Rack& r = racks[i];
    if (r.n < options.rackMinCount) continue;
    // The total that gives the smoothed value once the reader takes the
    // mean per turn and subtracts the mean of all turns.
    const long long points10 = std::llround(r.n * (mean + (smoothed[i] - centre) / 10.0));
    const int len = std::snprintf(line, sizeof line, " %lld %lld\n", static_cast<long long>(r.n), points10);
    out += lettersOf(r.key);
    out.append(line, static_cast<std::size_t>(std::max(0, len)));
    ++written;
  }
  return out;
}

std::string squaresText(const EvalCounts& counts) {
  std::string out;
  if (counts.squares.size() != kSquareCells) return out;
  char line[96];
  for (int row = 0; row < kSquareSide; ++row) {
    for (int column = 0; column < kSquareSide; ++column) {
      for (int letter = 0; letter < kCodes; ++letter) {
        const Sum& s = counts.squares[squareCell(letter, column, row)];
        if (s.count <= 0) continue;
        const int n = std::snprintf(line, sizeof line, "%d %d %d %lld %lld\n", letter, column, row,
                                    static_cast<long long>(s.count), static_cast<long long>(s.total));
        out.append(line, static_cast<std::size_t>(std::max(0, n)));
      }
    }
  }
  return out;
}

std::string patternsText(const EvalCounts& counts) {
  std::string out;
  if (counts.patterns.empty()) return out;
  char line[96];
  int n = std::snprintf(line, sizeof line, "%d %d\n", counts.patternWidth, counts.patternHeight);
  out.append(line, static_cast<std::size_t>(std::max(0, n)));
  const int cells = counts.patternCells();
  for (int cell = 0; cell < cells; ++cell) {
    for (int pattern = 0; pattern < kPatterns; ++pattern) {
      const Sum& s = counts.patterns[static_cast<std::size_t>(cell) * kPatterns + static_cast<std::size_t>(pattern)];
      if (s.count <= 0) continue;
      n = std::snprintf(line, sizeof line, "%d %d %lld %lld\n", cell, pattern, static_cast<long long>(s.count),
                        static_cast<long long>(s.total));
      out.append(line, static_cast<std::size_t>(std::max(0, n)));
    }
  }
  return out;
}

}  // namespace

std::string finishLeaves(const EvalCounts& counts, const FinishOptions& options, std::size_t* written) {
  std::string text;
  buildLeaveModel(counts, options, written, &text);
  return text;
}

FinishedTables finishTables(const EvalCounts& counts, const FinishOptions& options) {
  FinishedTables tables;
  const LeaveModel model = buildLeaveModel(counts, options, &tables.leavesWritten, &tables.leaves);
  tables.baselineMean = model.baseline;
  for (TileKey key : counts.leaves.sortedKeys()) tables.leavesObserved += keyTiles(key) >= 1 && keyTiles(key) < model.rackSize ? 1 : 0;
  if (tables.leavesObserved == 0) {
    // Nothing was learned: no leave file rather than one of zeros.
    tables.leaves.clear();
    tables.leavesWritten = 0;
  }
  tables.racks = racksText(counts, model, options, tables.racksWritten);
  for (int p = 2; p <= 4; ++p) {
    if (counts.games[static_cast<std::size_t>(p)] <= 0) continue;
    tables.win[static_cast<std::size_t>(p)] = winText(counts.win[static_cast<std::size_t>(p)], options, false);
    tables.genericWin[static_cast<std::size_t>(p)] = winText(counts.win[static_cast<std::size_t>(p)], options, true);
  }
  tables.squares = squaresText(counts);
  tables.patterns = patternsText(counts);
  return tables;
}

std::string listBaseName(const std::string& listName) {
  const std::string file = std::filesystem::path(listName).filename().string();
  return file.substr(0, file.find('.'));
}

bool writeTables(const FinishedTables& tables, const std::string& folder, const std::string& listName, bool generic,
                 std::vector<std::string>& written, std::string& error) {
  const std::string base = listBaseName(listName);
  std::vector<std::pair<std::string, const std::string*>> files = {
      {base + ".rack.partial", &tables.leaves}, {base + ".rack", &tables.racks},
      {base + ".2p", &tables.win[2]},           {base + ".3p", &tables.win[3]},
      {base + ".4p", &tables.win[4]},           {base + ".bb", &tables.squares},
  };
  if (generic) {
    files.push_back({"2player.pt", &tables.genericWin[2]});
    files.push_back({"3player.pt", &tables.genericWin[3]});
    files.push_back({"4player.pt", &tables.genericWin[4]});
    files.push_back({"boardsim.scr", &tables.patterns});
  }
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  for (const auto& [name, text] : files) {
    if (text->empty()) continue;
    const std::string path = (std::filesystem::path(folder) / name).string();
    if (!writeFileAtomically(path, *text)) {
      error = path;
      return false;
    }
    written.push_back(path);
  }
  return true;
}

}  // namespace pexil::databuilder
