#include "movegen/lean_generator.hpp"

#include <algorithm>
#include <string>

#include "rules/game_rules.hpp"

namespace pexil {
namespace {
constexpr std::uint8_t kFar = 255;
}  // namespace

LeanGenerator::LeanGenerator() {
  const GameRules& r = rules();
  rackSize_ = r.rackSize;
  bingoBonus_ = r.bingoBonus;
}

void LeanGenerator::generate(const LeanBoard& board, const LeanRack& rack, int player, std::vector<LeanMove>& out) {
  board_ = &board;
  lexicon_ = &board.lexicon();
  out_ = &out;
  player_ = player;
  checkBarred_ = barredGame_ != nullptr && barredGame_->restrictedPlayer == player && !barredGame_->barredWords.empty();
  rackMask_ = 0;
  for (int code = 0; code < 32; ++code) {
    counts_[static_cast<std::size_t>(code)] = rack.counts[static_cast<std::size_t>(code)];
    if (rack.counts[static_cast<std::size_t>(code)] > 0) rackMask_ |= 1u << code;
  }
  rackMask_ &= board.letterMask();
  blanks_ = rack.blanks;
  rackBlanks_ = rack.blanks;
  rackTiles_ = rack.total;
  if (rackTiles_ <= 0) return;
  for (int direction = 0; direction < 2; ++direction) {
    const int lines = direction == kAcross ? board.height() : board.width();
    for (int line = 0; line < lines; ++line) walkLine(direction, line);
  }
}

bool LeanGenerator::replay(const LeanBoard& board, const LeanRack& rack, int player, LeanMove& move,
                           const std::int8_t* letters) const {
  if (move.tiles == 0 || move.tiles > rack.total || move.length < 2) return false;
  if (barredGame_ != nullptr && barredGame_->restrictedPlayer == player && !barredGame_->barredWords.empty()) return false;
  std::array<int, 32> need{};
  for (int i = 0; i < move.tiles; ++i) {
    const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
    if ((code & kLeanBlank) != 0 || ++need[code] > rack.counts[code]) return false;
  }
  const int width = board.width(), height = board.height();
  const int d = move.direction;
  const auto dd = static_cast<std::size_t>(d);
  const int step = board.step(d);
  const int column = move.start % width, row = move.start / width;
  const int position = d == kAcross ? column : row;
  const int lineLength = d == kAcross ? width : height;
  if (position + move.length > lineLength) return false;
  // The word may not run on into tiles at either end.
  if (position > 0 && !board.square(move.start - step).empty()) return false;
  if (position + move.length < lineLength && !board.square(move.start + step * move.length).empty()) return false;
  int mainSum = 0, wordFactor = 1, crossTotal = 0;
  bool touches = false;
  int next = 0;
  for (int k = 0; k < move.length; ++k) {
    const LeanSquare& s = board.square(move.start + step * k);
    const int letter = letters[k];
    if (next < move.tiles && move.offset[static_cast<std::size_t>(next)] == k) {
      if (!s.usable || !s.empty() || move.code[static_cast<std::size_t>(next)] != letter) return false;
      if (((s.cross[dd] & board.letterMask()) >> letter & 1) == 0) return false;
      const int placed = board.letterValue(letter) * s.letterMultiplier;
      mainSum += placed;
      wordFactor *= s.wordMultiplier;
      if (s.hasCross[dd]) {
        touches = true;
        crossTotal += (s.crossSum[dd] + placed) * s.wordMultiplier;
      }
      ++next;
    } else {
      if (s.empty() || s.tile != letter) return false;
      touches = true;
      mainSum += board.tileValue(s.tile, s.blank != 0);
    }
  }
  if (next != move.tiles || !touches) return false;
  // A single tile forming words both ways is listed with the across plays.
  if (move.tiles == 1 && d == kDown && board.square(move.start + step * move.offset[0]).hasCross[kDown]) return false;
  move.score = mainSum * wordFactor + crossTotal + (move.tiles == rackSize_ ? bingoBonus_ : 0);
  return true;
}

void LeanGenerator::walkLine(int direction, int line) {
  const LeanBoard& board = *board_;
  direction_ = direction;
  step_ = board.step(direction);
  lineStart_ = direction == kAcross ? line * board.width() : line;
  lineLength_ = std::min(direction == kAcross ? board.width() : board.height(), 64);
  // Which squares a word can touch the board by, and how many empty
  // squares lie before the next of them.
  std::uint8_t next = kFar;
  bool any = false;
  for (int k = lineLength_ - 1; k >= 0; --k) {
    const LeanSquare& s = board.square(lineStart_ + k * step_);
    const bool touching = s.usable && (!s.empty() || (s.hasCross[static_cast<std::size_t>(direction)] && s.cross[static_cast<std::size_t>(direction)] != 0));
    touching_[static_cast<std::size_t>(k)] = touching;
    any = any || touching;
    next = !s.usable ? kFar : touching ? 0 : next == kFar ? kFar : static_cast<std::uint8_t>(std::min(next + 1, 254));
    reach_[static_cast<std::size_t>(k)] = next;
  }
  if (!any) return;
  for (int k = 0; k < lineLength_; ++k) {
    if (reach_[static_cast<std::size_t>(k)] > rackTiles_) continue;
    if (k > 0 && !board.square(lineStart_ + (k - 1) * step_).empty()) continue;
    fromSquare(k);
  }
}

void LeanGenerator::fromSquare(int position) {
  const LeanBoard& board = *board_;
  start_ = position;
  legal_ = 0;
  maxLegal_ = 0;
  bool touches = false;
  int empties = 0;
  const int maxLength = std::min(lineLength_ - position, kMaxWordLength);
  for (int k = 0; k < maxLength; ++k) {
    const LeanSquare& s = board.square(lineStart_ + (position + k) * step_);
    if (!s.usable) break;
    touches = touches || touching_[static_cast<std::size_t>(position + k)];
    if (s.empty() && ++empties > rackTiles_) break;
    const int n = k + 1;
    if (n >= 2 && touches && (position + n >= lineLength_ || board.square(lineStart_ + (position + n) * step_).empty())) {
      legal_ |= std::uint64_t{1} << n;
      maxLegal_ = n;
    }
  }
  if (legal_ == 0) return;
  extend(0, Lexicon::trieRoot, 0, 0, 1, 0);
}

void LeanGenerator::extend(int k, NodeIndex node, int tiles, int mainSum, int wordFactor, int crossTotal) {
  const Lexicon& lexicon = *lexicon_;
  if (tiles != 0 && ((legal_ >> k) & 1)) {
    const EntryIndex word = lexicon.nodeWord(node);
    if (word != kNoEntry && lexicon.entry(word).wordClass != kClassPhony) {
      const int score = mainSum * wordFactor + crossTotal + (tiles == rackSize_ ? bingoBonus_ : 0);
      record(k, word, tiles, score);
    }
  }
  if (k >= maxLegal_) return;
  const std::uint32_t children = lexicon.childMask(node);
  if (children == 0) return;
  const LeanBoard& board = *board_;
  const LeanSquare& s = board.square(lineStart_ + (start_ + k) * step_);
  if (!s.empty()) {
    const NodeIndex child = lexicon.child(node, s.tile);
    if (child != kNoNode) extend(k + 1, child, tiles, mainSum + board.tileValue(s.tile, s.blank != 0), wordFactor, crossTotal);
    return;
  }
  const auto d = static_cast<std::size_t>(direction_);
  const std::uint32_t allowed = s.cross[d] & children;
  if (allowed == 0) return;
  const bool hasCross = s.hasCross[d] != 0;
  const int crossSum = s.crossSum[d];
  const auto slot = static_cast<std::size_t>(tiles);
  offsets_[slot] = static_cast<std::uint8_t>(k);
  for (std::uint32_t letters = allowed & rackMask_; letters; letters &= letters - 1) {
    const int letter = __builtin_ctz(letters);
    const int placed = board.letterValue(letter) * s.letterMultiplier;
    const int cross = hasCross ? (crossSum + placed) * s.wordMultiplier : 0;
    codes_[slot] = static_cast<std::uint8_t>(letter);
    int& count = counts_[static_cast<std::size_t>(letter)];
    if (--count == 0) rackMask_ &= ~(1u << letter);
    extend(k + 1, lexicon.child(node, letter), tiles + 1, mainSum + placed, wordFactor * s.wordMultiplier, crossTotal + cross);
    if (count++ == 0) rackMask_ |= 1u << letter;
  }
  if (blanks_ > 0) {
    const int placed = board.blankValue() * s.letterMultiplier;
    const int cross = hasCross ? (crossSum + placed) * s.wordMultiplier : 0;
    --blanks_;
    for (std::uint32_t letters = allowed; letters; letters &= letters - 1) {
      const int letter = __builtin_ctz(letters);
      codes_[slot] = static_cast<std::uint8_t>(letter | kLeanBlank);
      extend(k + 1, lexicon.child(node, letter), tiles + 1, mainSum + placed, wordFactor * s.wordMultiplier, crossTotal + cross);
    }
    ++blanks_;
  }
}

void LeanGenerator::record(int length, EntryIndex word, int tiles, int score) {
  const LeanBoard& board = *board_;
  const int startIndex = lineStart_ + start_ * step_;
  // A single tile forming words both ways is listed with the across plays.
  if (tiles == 1 && direction_ == kDown && board.square(startIndex + offsets_[0] * step_).hasCross[kDown]) return;
  if (blanks_ < rackBlanks_ && !asPlayed(length, tiles)) return;
  LeanMove& move = out_->emplace_back();
  move.start = static_cast<std::uint16_t>(startIndex);
  move.direction = static_cast<std::uint8_t>(direction_);
  move.length = static_cast<std::uint8_t>(length);
  move.tiles = static_cast<std::uint8_t>(tiles);
  move.score = score;
  move.estimate = score;
  move.entry = word;
  std::copy_n(offsets_.begin(), tiles, move.offset.begin());
  std::copy_n(codes_.begin(), tiles, move.code.begin());
  if (checkBarred_ && barred(move)) out_->pop_back();
}

int LeanGenerator::scoreWithBlanks(int length, int tiles, std::uint32_t blankOffsets) const {
  const LeanBoard& board = *board_;
  int mainSum = 0, wordFactor = 1, crossTotal = 0;
  int next = 0;
  for (int k = 0; k < length; ++k) {
    const LeanSquare& s = board.square(lineStart_ + (start_ + k) * step_);
    if (!s.empty()) {
      mainSum += board.tileValue(s.tile, s.blank != 0);
      continue;
    }
    const int code = codes_[static_cast<std::size_t>(next++)] & ~kLeanBlank;
    const int placed = board.tileValue(code, ((blankOffsets >> k) & 1) != 0) * s.letterMultiplier;
    mainSum += placed;
    wordFactor *= s.wordMultiplier;
    if (s.hasCross[static_cast<std::size_t>(direction_)]) crossTotal += (s.crossSum[static_cast<std::size_t>(direction_)] + placed) * s.wordMultiplier;
  }
  (void)tiles;
  return mainSum * wordFactor + crossTotal;
}

bool LeanGenerator::asPlayed(int length, int tiles) const {
  // The rack's own tiles first, in word order; blanks for what they lack.
  std::array<int, 32> available{};
  for (int code = 0; code < 32; ++code) available[static_cast<std::size_t>(code)] = counts_[static_cast<std::size_t>(code)];
  for (int i = 0; i < tiles; ++i) {
    const std::uint8_t code = codes_[static_cast<std::size_t>(i)];
    if ((code & kLeanBlank) == 0) ++available[code];  // back to the rack as it was
  }
  std::uint32_t mine = 0;
  int blanks[kLeanMaxTiles];
  int blankCount = 0;
  for (int i = 0; i < tiles; ++i) {
    const std::uint8_t code = codes_[static_cast<std::size_t>(i)];
    const int letter = code & ~kLeanBlank;
    if ((code & kLeanBlank) != 0) mine |= 1u << offsets_[static_cast<std::size_t>(i)];
    if (available[static_cast<std::size_t>(letter)] > 0) {
      --available[static_cast<std::size_t>(letter)];
    } else {
      blanks[blankCount++] = i;
    }
  }
  std::uint32_t chosen = 0;
  for (int b = 0; b < blankCount; ++b) chosen |= 1u << offsets_[static_cast<std::size_t>(blanks[b])];
  // Which of the squares of a blank's letter it takes: the best score, the
  // earliest on ties (one or two blanks; more stay where they fell).
  const auto letterOf = [this](int i) { return codes_[static_cast<std::size_t>(i)] & ~kLeanBlank; };
  if (blankCount == 1) {
    int bestScore = 0;
    bool first = true;
    for (int i = 0; i < tiles; ++i) {
      if (letterOf(i) != letterOf(blanks[0])) continue;
      const std::uint32_t mask = 1u << offsets_[static_cast<std::size_t>(i)];
      const int score = scoreWithBlanks(length, tiles, mask);
      if (first || score > bestScore) {
        bestScore = score;
        chosen = mask;
        first = false;
      }
    }
  } else if (blankCount == 2) {
    int bestScore = 0;
    bool first = true;
    for (int i = 0; i < tiles; ++i) {
      if (letterOf(i) != letterOf(blanks[0])) continue;
      for (int j = 0; j < tiles; ++j) {
        if (j == i || letterOf(j) != letterOf(blanks[1])) continue;
        const std::uint32_t mask = (1u << offsets_[static_cast<std::size_t>(i)]) | (1u << offsets_[static_cast<std::size_t>(j)]);
        const int score = scoreWithBlanks(length, tiles, mask);
        if (first || score > bestScore) {
          bestScore = score;
          chosen = mask;
          first = false;
        }
      }
    }
  }
  return mine == chosen;
}

bool LeanGenerator::barred(const LeanMove& move) const {
  const LeanBoard& board = *board_;
  const int step = board.step(move.direction);
  // The main word, then the cross-word of each new tile that has one.
  if (isBarredFor(*barredGame_, player_, lexicon_->textView(move.entry))) return true;
  const int crossStep = board.step(1 - move.direction);
  const int width = board.width();
  for (int i = 0; i < move.tiles; ++i) {
    const int at = move.start + step * move.offset[static_cast<std::size_t>(i)];
    if (!board.square(at).hasCross[move.direction]) continue;
    const int code = move.code[static_cast<std::size_t>(i)] & ~kLeanBlank;
    const int column = at % width, row = at / width;
    const int dc = move.direction == kAcross ? 0 : 1, dr = 1 - dc;
    int first = 0;
    while (column - dc * (first + 1) >= 0 && row - dr * (first + 1) >= 0 &&
           !board.square(at - crossStep * (first + 1)).empty()) {
      ++first;
    }
    std::string text;
    for (int k = -first;; ++k) {
      const int c = column + dc * k, r = row + dr * k;
      if (c >= board.width() || r >= board.height()) break;
      if (k == 0) {
        text.push_back(charOfLower(code));
        continue;
      }
      const LeanSquare& s = board.square(at + crossStep * k);
      if (s.empty()) break;
      text.push_back(charOfLower(s.tile));
    }
    if (isBarredFor(*barredGame_, player_, text)) return true;
  }
  return false;
}

}  // namespace pexil
