#include "tables/win_prob.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <fstream>
#include <mutex>
#include <limits>
#include <optional>
#include <streambuf>

#include "io/data_files.hpp"
#include "rules/letter_codes.hpp"

namespace pexil {
namespace {

using Table = WinProbTable;

// Half-widths of the least-squares window over the leads. States with a
// blank on the rack (1 and 3) are rarer in the statistics, so a word
// list's own table smooths them over more leads.
constexpr int kNarrowWindow = 10;
constexpr int kWideWindow = 16;

// The longest token that can be a number we keep: a sign and 18 digits
// always fit in 64 bits. Longer tokens are junk.
constexpr int kMaxTokenLength = 19;

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// A decimal integer with an optional sign, or none.
std::optional<std::int64_t> parseInteger(const char* text, int length) {
  int i = 0;
  bool negative = false;
  if (length > 0 && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == length) return std::nullopt;
  std::int64_t value = 0;
  for (; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const int digit = text[i] - '0';
    // A number beyond 64 bits is no count of any table.
    if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

// Gathers tokens into records of four or five numbers and applies each
// complete, valid one to the table. Tokens are built character by
// character with a bounded buffer, so no line or token length matters.
class RecordReader {
 public:
  explicit RecordReader(Table& table) : table_(table), fields_(table.generic ? 4 : 5) {}

  void put(int c) {
    if (!isSpace(c)) {
      if (length_ < kMaxTokenLength) token_[static_cast<std::size_t>(length_++)] = static_cast<char>(c);
      else tooLong_ = true;
      return;
    }
    endToken();
  }

  // The end of the input: a last token is complete, a partial record is
  // dropped.
  std::size_t finish() {
    endToken();
    return used_;
  }

 private:
  void endToken() {
    if (length_ == 0) return;
    const auto value = tooLong_ ? std::nullopt : parseInteger(token_.data(), length_);
    if (!value) bad_ = true;
    else values_[static_cast<std::size_t>(count_)] = *value;
    length_ = 0;
    tooLong_ = false;
    if (++count_ == fields_) {
      if (!bad_) apply();
      count_ = 0;
      bad_ = false;
    }
  }

  void apply() {
    const std::int64_t lead = values_[0];
    const std::int64_t tiles = values_[1];
    const std::int64_t state = table_.generic ? 0 : values_[2];
    const std::int64_t games = values_[static_cast<std::size_t>(fields_ - 2)];
    const std::int64_t wins = values_[static_cast<std::size_t>(fields_ - 1)];
    if (lead < -Table::kMaxLead || lead > Table::kMaxLead) return;
    if (tiles < 0 || tiles >= Table::kTileSlots) return;
    if (state < 0 || state >= Table::kBlankStates) return;
    if (games <= 0 || wins < 0 || wins > games) return;
    const float percent = static_cast<float>(100.0 * static_cast<double>(wins) / static_cast<double>(games));
    const int leadIndex = static_cast<int>(lead) + Table::kMaxLead;
    if (table_.generic) {
      for (int s = 0; s < Table::kBlankStates; ++s) table_.raw[Table::cell(leadIndex, static_cast<int>(tiles), s)] = percent;
    } else {
      table_.raw[Table::cell(leadIndex, static_cast<int>(tiles), static_cast<int>(state))] = percent;
    }
    ++used_;
  }

  Table& table_;
  const int fields_;
  std::array<char, kMaxTokenLength> token_{};
  int length_ = 0;
  bool tooLong_ = false;
  std::array<std::int64_t, 5> values_{};
  int count_ = 0;
  bool bad_ = false;
  std::size_t used_ = 0;
};

// The cells of one lead form a row of tile-count-and-state columns
// (column = tiles * 5 + state), and rows follow each other in lead order.
// The finishing steps walk the rows in order and keep one running value
// per column, so every pass reads memory front to back.
constexpr int kColumns = Table::kTileSlots * Table::kBlankStates;
constexpr int kFilledColumns = (Table::kMaxTiles + 1) * Table::kBlankStates;
constexpr int kLastLead = Table::kLeads - 1;
static_assert(Table::cell(1, 0, 0) == kColumns && Table::cell(0, 1, 2) == Table::kBlankStates + 2);

float* row(std::vector<float>& cells, int leadIndex) { return cells.data() + static_cast<std::size_t>(leadIndex) * kColumns; }

// Step 0 of finishing: a missing cell takes the mean of the cells present
// at the same lead and tile count in the other blank states. Self-play
// rarely reaches some states late in the game (a blank on the rack with the
// other unseen, say), and a column with few or no records would otherwise
// be filled flat from lead 0 and answer near 50 % for any lead.
void borrowFromOtherStates(Table& table) {
  for (int i = 0; i <= kLastLead; ++i) {
    float* values = row(table.raw, i);
    for (int tiles = 0; tiles <= Table::kMaxTiles; ++tiles) {
      float* column = values + tiles * Table::kBlankStates;
      float sum = 0;
      int present = 0;
      for (int state = 0; state < Table::kBlankStates; ++state) {
        if (column[state] >= 0) {
          sum += column[state];
          ++present;
        }
      }
      if (present == 0 || present == Table::kBlankStates) continue;
      for (int state = 0; state < Table::kBlankStates; ++state) {
        if (column[state] < 0) column[state] = sum / static_cast<float>(present);
      }
    }
  }
}

// Step 1 of finishing: every missing cell of tile counts 0..86 gets a
// value. Lead 0 defaults to 50; below it a missing cell takes the lowest
// value seen so far walking down, above it the highest seen walking up, so
// the filled column never works against the trend of the present values.
void fillGaps(Table& table) {
  constexpr int zero = Table::kMaxLead;
  float* atZero = row(table.raw, zero);
  for (int c = 0; c < kFilledColumns; ++c) {
    if (atZero[c] < 0) atZero[c] = 50.0f;
  }
  std::array<float, kFilledColumns> running;
  running.fill(50.0f);
  for (int i = zero; i >= 0; --i) {
    float* values = row(table.raw, i);
    for (int c = 0; c < kFilledColumns; ++c) {
      if (values[c] < 0) values[c] = running[static_cast<std::size_t>(c)];
      else if (values[c] < running[static_cast<std::size_t>(c)]) running[static_cast<std::size_t>(c)] = values[c];
    }
  }
  running.fill(50.0f);
  for (int i = zero; i <= kLastLead; ++i) {
    float* values = row(table.raw, i);
    for (int c = 0; c < kFilledColumns; ++c) {
      if (values[c] < 0) values[c] = running[static_cast<std::size_t>(c)];
      else if (values[c] > running[static_cast<std::size_t>(c)]) running[static_cast<std::size_t>(c)] = values[c];
    }
  }
}

// Step 2: for each lead index i, the value at i of the least-squares line
// through the raw values at i - w .. i + w (clipped to the table). Each
// column keeps the sums of y and x*y over its window, sliding it one lead
// at a time; over consecutive x the centred sum of squares is n(n^2 - 1)/12.
void smooth(Table& table) {
  std::array<int, Table::kBlankStates> windows{};
  for (int state = 0; state < Table::kBlankStates; ++state)
    windows[static_cast<std::size_t>(state)] = !table.generic && (state == 1 || state == 3) ? kWideWindow : kNarrowWindow;
  std::array<double, kColumns> sumY{};
  std::array<double, kColumns> sumXY{};
  const float* raw = table.raw.data();
  const auto rawAt = [raw](int leadIndex, int c) { return double(raw[leadIndex * kColumns + c]); };
  // The first windows: leads 0 .. w.
  for (int c = 0; c < kColumns; ++c) {
    const int window = windows[static_cast<std::size_t>(c % Table::kBlankStates)];
    for (int j = 0; j <= std::min(kLastLead, window); ++j) {
      sumY[static_cast<std::size_t>(c)] += rawAt(j, c);
      sumXY[static_cast<std::size_t>(c)] += j * rawAt(j, c);
    }
  }
  // What each state's window needs at one lead: the leads entering and
  // leaving it, and the constants of its fit.
  struct Fit {
    int enter, leave;
    double meanX, inverseN, slopeFactor;
  };
  std::array<Fit, Table::kBlankStates> fits{};
  for (int i = 0; i <= kLastLead; ++i) {
    for (int state = 0; state < Table::kBlankStates; ++state) {
      const int window = windows[static_cast<std::size_t>(state)];
      const int first = std::max(0, i - window);
      const int last = std::min(kLastLead, i + window);
      const double n = last - first + 1;
      const double meanX = (first + last) / 2.0;
      // The line's value at i: mean y + slope * (i - mean x), where
      // slope = (sum xy - mean x * sum y) / (n(n^2 - 1)/12).
      fits[static_cast<std::size_t>(state)] = Fit{i + window, i - window - 1, meanX, 1.0 / n, (i - meanX) / (n * (n * n - 1) / 12.0)};
    }
    float* out = row(table.smoothed, i);
    for (int c = 0; c < kColumns; ++c) {
      const Fit& fit = fits[static_cast<std::size_t>(c % Table::kBlankStates)];
      double& y = sumY[static_cast<std::size_t>(c)];
      double& xy = sumXY[static_cast<std::size_t>(c)];
      if (i > 0) {
        if (fit.enter <= kLastLead) {
          y += rawAt(fit.enter, c);
          xy += fit.enter * rawAt(fit.enter, c);
        }
        if (fit.leave >= 0) {
          y -= rawAt(fit.leave, c);
          xy -= fit.leave * rawAt(fit.leave, c);
        }
      }
      out[c] = static_cast<float>(y * fit.inverseN + (xy - fit.meanX * y) * fit.slopeFactor);
    }
  }
}

// Step 3: percentages within 0..100, never lower at a higher lead.
void clampAndMakeMonotone(Table& table) {
  for (int i = 0; i <= kLastLead; ++i) {
    float* values = row(table.smoothed, i);
    const float* previous = i > 0 ? row(table.smoothed, i - 1) : nullptr;
    for (int c = 0; c < kColumns; ++c) {
      values[c] = std::clamp(values[c], 0.0f, 100.0f);
      if (previous && values[c] < previous[c]) values[c] = previous[c];
    }
  }
}

std::string fileNamePart(std::string_view name) {
  const std::size_t slash = name.find_last_of('/');
  return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

std::string genericName(int players) { return std::to_string(players) + "player.pt"; }

// The tables held for 2, 3 and 4 players.
struct HeldTables {
  std::mutex mutex;
  std::array<std::shared_ptr<const WinProbTable>, 3> tables;
};

HeldTables& held() {
  static HeldTables tables;
  return tables;
}

bool validPlayers(int players) { return players >= 2 && players <= 4; }

// The three tables for these files, or none when memory runs out.
std::optional<std::array<std::shared_ptr<const WinProbTable>, 3>> loadThree(const std::array<std::string, 3>& names) {
  std::array<std::shared_ptr<const WinProbTable>, 3> tables;
  for (std::size_t k = 0; k < 3; ++k) {
    tables[k] = loadWinProbTable(names[k]);
    if (!tables[k]) return std::nullopt;
  }
  return tables;
}

}  // namespace

WinProbTable::WinProbTable() : raw(kCells, -1.0f), smoothed(kCells, 0.0f) {}

bool isGenericWinProbName(std::string_view fileName) {
  return latin1Lower(fileNamePart(fileName)).find(".pt") != std::string::npos;
}

std::size_t readWinProbRecords(WinProbTable& table, std::string_view text) {
  if (table.raw.size() != Table::kCells) return 0;
  RecordReader reader(table);
  for (const char c : text) reader.put(static_cast<unsigned char>(c));
  return reader.finish();
}

void finishWinProbTable(WinProbTable& table) {
  if (table.raw.size() != Table::kCells || table.smoothed.size() != Table::kCells) return;
  borrowFromOtherStates(table);
  fillGaps(table);
  smooth(table);
  clampAndMakeMonotone(table);
}

std::shared_ptr<WinProbTable> winProbTableFromText(std::string_view text, bool generic) {
  try {
    auto table = std::make_shared<WinProbTable>();
    table->generic = generic;
    readWinProbRecords(*table, text);
    finishWinProbTable(*table);
    return table;
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::shared_ptr<WinProbTable> loadWinProbTable(const std::string& fileName) {
  try {
    auto table = std::make_shared<WinProbTable>();
    table->generic = isGenericWinProbName(fileName);
    table->fileName = fileName;
    if (const auto path = findDataFile(fileName)) {
      std::ifstream in(*path, std::ios::binary);
      if (in) {
        table->opened = true;
        RecordReader reader(*table);
        try {
          std::streambuf* buffer = in.rdbuf();
          for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) reader.put(c);
        } catch (const std::exception&) {
          // A read error ends the file: what was read so far counts.
        }
        reader.finish();
      }
    }
    finishWinProbTable(*table);
    return table;
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::array<std::string, 3> winProbFileNames(const std::string& identityName, int listId) {
  std::array<std::string, 3> names;
  for (int players = 2; players <= 4; ++players) names[static_cast<std::size_t>(players - 2)] = genericName(players);
  const std::string listName = fileNamePart(identityName);
  // A list name with nothing before its first '.' has no companion files.
  if (listName.empty() || listName.front() == '.') return names;
  std::string base = identityName;
  // Two lists whose statistics were gathered under earlier names use
  // those names when they have no two-player file of their own.
  if (!dataFileExists(companionName(identityName, ".2p"))) {
    if (listId == kListIdCsw12) base = "SOWPODS";
    if (listId == kListIdOspd2) base = "ENABLE";
  }
  constexpr const char* kExtensions[3] = {".2p", ".3p", ".4p"};
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::string own = companionName(base, kExtensions[k]);
    if (dataFileExists(own)) names[k] = own;
  }
  return names;
}

std::string winProbFileName(const std::string& identityName, int listId, int players) {
  if (!validPlayers(players)) return std::string();
  return winProbFileNames(identityName, listId)[static_cast<std::size_t>(players - 2)];
}

void LoadWinProbTables(const std::string& identityName, int listId) {
  try {
    auto tables = loadThree(winProbFileNames(identityName, listId));
    HeldTables& h = held();
    std::lock_guard<std::mutex> lock(h.mutex);
    if (tables) h.tables = std::move(*tables);
    else h.tables = {};
  } catch (const std::exception&) {
    clearWinProbTables();
  }
}

void EnsureGenericWinProbTables() {
  if (sharedWinProbTable(2)) return;
  try {
    auto tables = loadThree({genericName(2), genericName(3), genericName(4)});
    if (!tables) return;
    HeldTables& h = held();
    std::lock_guard<std::mutex> lock(h.mutex);
    // A word list may have brought its own tables meanwhile: they stay.
    if (!h.tables[0]) h.tables = std::move(*tables);
  } catch (const std::exception&) {
    // Out of memory: the game goes on without tables.
  }
}

const WinProbTable* winProbTable(int players) {
  if (!validPlayers(players)) return nullptr;
  HeldTables& h = held();
  std::lock_guard<std::mutex> lock(h.mutex);
  return h.tables[static_cast<std::size_t>(players - 2)].get();
}

std::shared_ptr<const WinProbTable> sharedWinProbTable(int players) {
  if (!validPlayers(players)) return nullptr;
  HeldTables& h = held();
  std::lock_guard<std::mutex> lock(h.mutex);
  return h.tables[static_cast<std::size_t>(players - 2)];
}

void setWinProbTable(int players, std::shared_ptr<const WinProbTable> table) {
  if (!validPlayers(players)) return;
  // Lookups index the arrays without checks: a table of another shape is
  // never put in place.
  if (table && (table->raw.size() != Table::kCells || table->smoothed.size() != Table::kCells)) return;
  HeldTables& h = held();
  std::lock_guard<std::mutex> lock(h.mutex);
  h.tables[static_cast<std::size_t>(players - 2)] = std::move(table);
}

void clearWinProbTables() {
  HeldTables& h = held();
  std::lock_guard<std::mutex> lock(h.mutex);
  h.tables = {};
}

}  // namespace pexil
