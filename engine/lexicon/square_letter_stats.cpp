#include "lexicon/square_letter_stats.hpp"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pexil {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The next whitespace-separated token read as a decimal integer, saturated;
// false at the end of the text. A token that is no number reads as none.
bool nextNumber(std::string_view text, std::size_t& pos, std::optional<long long>& value) {
  while (pos < text.size() && isSpace(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  const std::size_t start = pos;
  while (pos < text.size() && !isSpace(text[pos])) ++pos;
  std::string_view token = text.substr(start, pos - start);
  bool negative = false;
  if (!token.empty() && (token[0] == '-' || token[0] == '+')) {
    negative = token[0] == '-';
    token.remove_prefix(1);
  }
  if (token.empty() || token.size() > 18) {
    value.reset();
    return true;
  }
  long long n = 0;
  for (char c : token) {
    if (c < '0' || c > '9') {
      value.reset();
      return true;
    }
    n = n * 10 + (c - '0');
  }
  value = negative ? -n : n;
  return true;
}

}  // namespace

SquareLetterStats SquareLetterStats::parse(std::string_view text) {
  SquareLetterStats stats;
  std::size_t pos = 0;
  for (;;) {
    std::optional<long long> field[5];
    bool complete = true;
    for (auto& f : field) {
      if (!nextNumber(text, pos, f)) {
        complete = false;
        break;
      }
    }
    if (!complete) break;
    bool valid = true;
    for (const auto& f : field) valid = valid && f.has_value();
    if (!valid) continue;
    const long long letter = *field[0], column = *field[1], row = *field[2], count = *field[3], total = *field[4];
    // Counts and totals are bounded so that the sums cannot overflow.
    if (letter < 0 || letter > 31 || column < 0 || column >= kSide || row < 0 || row >= kSide || count < 0 ||
        count > (1LL << 40) || total < -(1LL << 40) || total > (1LL << 40)) {
      continue;
    }
    const auto square = static_cast<std::size_t>(column + row * kSide);
    if (!stats.hasTable_[square]) {
      stats.hasTable_[square] = true;
      ++stats.squaresWithTable_;
    }
    stats.pairs_[square][static_cast<std::size_t>(letter)] = Pair{count, total};
  }

  long long n = 0, s = 0;
  for (const auto& square : stats.pairs_) {
    for (const Pair& p : square) {
      n += p.count;
      s += p.total;
    }
  }
  const long long mean10 = n > 0 ? 10 * s / n : 0;
  for (auto& square : stats.pairs_) {
    for (Pair& p : square) {
      if (p.count >= 10) {
        p.total = 10 * p.total / p.count - mean10;
      } else {
        p.total = 0;
      }
    }
  }
  for (std::size_t square = 0; square < stats.pairs_.size(); ++square) {
    if (!stats.hasTable_[square]) continue;
    for (const Pair& p : stats.pairs_[square]) {
      stats.lowest_ = std::min(stats.lowest_, static_cast<int>(std::clamp<long long>(p.total, INT_MIN, INT_MAX)));
    }
  }
  return stats;
}

std::optional<int> SquareLetterStats::value(int column, int row, int letter) const {
  if (column < 0 || column >= kSide || row < 0 || row >= kSide || letter < 0 || letter > 31) return std::nullopt;
  const auto square = static_cast<std::size_t>(column + row * kSide);
  if (!hasTable_[square]) return std::nullopt;
  const long long v = pairs_[square][static_cast<std::size_t>(letter)].total;
  return static_cast<int>(v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v);
}

}  // namespace pexil
