#include "tables/board_patterns.hpp"

#include <memory>
#include <mutex>

#include "io/data_files.hpp"

namespace pexil {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads whitespace-separated integers; a token that is no number (or too
// long to be one) reads as none.
class Numbers {
 public:
  explicit Numbers(std::string_view text) : text_(text) {}
  bool next(std::optional<long long>& value) {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return false;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isSpace(text_[pos_])) ++pos_;
    std::string_view token = text_.substr(start, pos_ - start);
    bool negative = false;
    if (token[0] == '-' || token[0] == '+') {
      negative = token[0] == '-';
      token.remove_prefix(1);
    }
    value.reset();
    if (token.empty() || token.size() > 15) return true;
    long long n = 0;
    for (char c : token) {
      if (c < '0' || c > '9') return true;
      n = n * 10 + (c - '0');
    }
    value = negative ? -n : n;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

struct LoadedTable {
  std::mutex mutex;
  bool tried = false;
  std::unique_ptr<BoardPatterns> table;
};

LoadedTable& loadedTable() {
  static LoadedTable state;
  return state;
}

}  // namespace

std::optional<BoardPatterns> BoardPatterns::parse(std::string_view text) {
  Numbers numbers(text);
  std::optional<long long> width, height;
  if (!numbers.next(width) || !numbers.next(height) || !width || !height) return std::nullopt;
  if (*width < 3 || *width > 32 || *height < 3 || *height > 32) return std::nullopt;
  BoardPatterns table;
  table.width_ = static_cast<int>(*width);
  table.height_ = static_cast<int>(*height);
  const std::size_t cells = static_cast<std::size_t>((table.width_ - 2) * (table.height_ - 2));
  table.counts_.assign(cells * kPatterns, 0);
  table.totals_.assign(cells * kPatterns, 0);
  for (;;) {
    std::optional<long long> field[4];
    bool complete = true;
    for (auto& f : field) {
      if (!numbers.next(f)) {
        complete = false;
        break;
      }
    }
    if (!complete) break;
    if (!field[0] || !field[1] || !field[2] || !field[3]) continue;
    const long long cell = *field[0], pattern = *field[1], count = *field[2], total = *field[3];
    // Bounded so that the sums over every cell cannot overflow.
    if (cell < 0 || cell >= static_cast<long long>(cells) || pattern < 0 || pattern >= kPatterns || count < 0 ||
        count > (1LL << 40) || total < -(1LL << 40) || total > (1LL << 40)) {
      continue;
    }
    const std::size_t i = table.index(static_cast<int>(cell), static_cast<int>(pattern));
    table.counts_[i] = count;
    table.totals_[i] = total;
  }
  return table;
}

const BoardPatterns* BoardPatterns::loaded() {
  LoadedTable& state = loadedTable();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.tried) {
    state.tried = true;
    const auto path = findDataFile("boardsim.scr");
    const auto text = path ? readWholeFile(*path) : std::nullopt;
    if (text) {
      if (auto table = parse(*text)) state.table = std::make_unique<BoardPatterns>(std::move(*table));
    }
  }
  return state.table.get();
}

void BoardPatterns::reset() {
  LoadedTable& state = loadedTable();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.tried = false;
  state.table.reset();
}

int BoardPatterns::patternAt(const Board& board, int column, int row) {
  int pattern = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const Square* s = squareAt(board, column + dx, row + dy);
      if (s && !s->empty()) pattern |= 1 << (3 * (dy + 1) + (dx + 1));
    }
  }
  return pattern;
}

int BoardPatterns::value(const Board& board) const {
  if (!fits(board)) return 0;
  long long a = 0, b = 0;
  for (int row = 1; row < height_ - 1; ++row) {
    for (int column = 1; column < width_ - 1; ++column) {
      const int cell = cellOf(column, row);
      const int pattern = patternAt(board, column, row);
      a += count(cell, pattern);
      b += total(cell, pattern);
    }
  }
  return a == 0 ? 0 : static_cast<int>(10 * b / a);
}

}  // namespace pexil
