#include "movegen/lean_board.hpp"

#include "rules/game_rules.hpp"

namespace pexil {

bool LeanBoard::load(const Game& game) {
  if (!game.lexicon || boardIsEmpty(game.board)) return false;
  const GameRules& r = rules();
  const Board& board = game.board;
  lexicon_ = game.lexicon.get();
  width_ = board.width;
  height_ = board.height;
  letterCount_ = r.letterCount;
  letterMask_ = r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u;
  for (int code = 0; code < 32; ++code) value_[static_cast<std::size_t>(code)] = code < kCodeSlots ? r.letterValue[static_cast<std::size_t>(code)] : 0;
  const GameType* type = activeGameType();
  blankValue_ = type ? type->tileValue[static_cast<std::size_t>(r.blankCode)] : 0;
  squares_.assign(board.squares.size(), LeanSquare{});
  for (std::size_t i = 0; i < board.squares.size(); ++i) {
    const Square& s = board.squares[i];
    LeanSquare& lean = squares_[i];
    lean.usable = s.usable;
    lean.tile = s.empty() ? kLeanEmpty : static_cast<std::int8_t>(codeOfLetter(s.letter));
    lean.blank = s.empty() ? 0 : s.isBlank;
    // The multipliers as the generator reads them: letter multipliers from
    // -9 to 19, word multipliers as tens.
    const int t = s.type;
    if (t != 0 && t != 1 && t != square::empty) {
      if (t >= -9 && t <= 19) {
        lean.letterMultiplier = static_cast<std::int16_t>(t);
      } else {
        lean.wordMultiplier = static_cast<std::int16_t>(t / 10);
      }
    }
  }
  for (int index = 0; index < width_ * height_; ++index) {
    for (int d = 0; d < 2; ++d) annotate(index, d);
  }
  return true;
}

void LeanBoard::annotate(int index, int d) {
  LeanSquare& s = squares_[static_cast<std::size_t>(index)];
  const auto dd = static_cast<std::size_t>(d);
  s.hasCross[dd] = 0;
  s.crossSum[dd] = 0;
  s.cross[dd] = s.usable ? letterMask_ : 0;
  if (!s.usable || !s.empty()) return;
  // Playing in direction d, the cross-word runs in the other direction.
  const int column = index % width_, row = index / width_;
  const int dc = d == kAcross ? 0 : 1, dr = 1 - dc;
  const int step = dc + dr * width_;
  int before = 0, after = 0;
  while (column - dc * (before + 1) >= 0 && row - dr * (before + 1) >= 0 &&
         !squares_[static_cast<std::size_t>(index - step * (before + 1))].empty()) {
    ++before;
  }
  while (column + dc * (after + 1) < width_ && row + dr * (after + 1) < height_ &&
         !squares_[static_cast<std::size_t>(index + step * (after + 1))].empty()) {
    ++after;
  }
  if (before == 0 && after == 0) return;
  s.hasCross[dd] = 1;
  const Lexicon& lexicon = *lexicon_;
  int sum = 0;
  NodeIndex prefix = Lexicon::trieRoot;
  for (int k = before; k >= 1; --k) {
    const LeanSquare& t = squares_[static_cast<std::size_t>(index - step * k)];
    sum += tileValue(t.tile, t.blank != 0);
    if (prefix != kNoNode) prefix = lexicon.child(prefix, t.tile);
  }
  for (int k = 1; k <= after; ++k) {
    const LeanSquare& t = squares_[static_cast<std::size_t>(index + step * k)];
    sum += tileValue(t.tile, t.blank != 0);
  }
  s.crossSum[dd] = sum;
  std::uint32_t fits = 0;
  if (prefix != kNoNode) {
    for (std::uint32_t letters = lexicon.childMask(prefix) & letterMask_; letters; letters &= letters - 1) {
      const int letter = __builtin_ctz(letters);
      NodeIndex node = lexicon.child(prefix, letter);
      for (int k = 1; k <= after && node != kNoNode; ++k) {
        node = lexicon.child(node, squares_[static_cast<std::size_t>(index + step * k)].tile);
      }
      if (node == kNoNode) continue;
      const EntryIndex entry = lexicon.nodeWord(node);
      if (entry == kNoEntry || lexicon.entry(entry).wordClass == kClassPhony) continue;
      fits |= 1u << letter;
    }
  }
  s.cross[dd] = fits;
}

void LeanBoard::saveSquare(LeanUndo& undo, int index) {
  if (undo.count >= LeanUndo::kMaxSaved) return;  // cannot happen: each tile saves at most two squares
  undo.index[static_cast<std::size_t>(undo.count)] = static_cast<std::uint16_t>(index);
  undo.saved[static_cast<std::size_t>(undo.count)] = squares_[static_cast<std::size_t>(index)];
  ++undo.count;
}

void LeanBoard::updateRunEnds(LeanUndo& undo, int index, int along) {
  const int column = index % width_, row = index / width_;
  const int dc = along == kAcross ? 1 : 0, dr = 1 - dc;
  const int step = dc + dr * width_;
  // Squares at the ends of a run along `along` see a new cross-word when
  // playing in the other direction.
  const int d = 1 - along;
  for (int sign = -1; sign <= 1; sign += 2) {
    for (int k = 1;; ++k) {
      const int c = column + sign * dc * k, r = row + sign * dr * k;
      if (c < 0 || r < 0 || c >= width_ || r >= height_) break;
      const int at = index + sign * step * k;
      if (squares_[static_cast<std::size_t>(at)].empty()) {
        saveSquare(undo, at);
        markStale(at, d);
        break;
      }
    }
  }
}

void LeanBoard::place(const LeanMove& move, LeanUndo& undo) {
  undo.count = 0;
  undo.start = move.start;
  undo.direction = move.direction;
  undo.tiles = move.tiles;
  undo.offset = move.offset;
  const int step = this->step(move.direction);
  for (int i = 0; i < move.tiles; ++i) {
    LeanSquare& s = squares_[static_cast<std::size_t>(move.start + step * move.offset[static_cast<std::size_t>(i)])];
    const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
    s.tile = static_cast<std::int8_t>(code & ~kLeanBlank);
    s.blank = (code & kLeanBlank) != 0;
  }
  // Along the word: its two ends. Across it: the ends of each new tile's
  // run of tiles.
  updateRunEnds(undo, move.start, move.direction);
  for (int i = 0; i < move.tiles; ++i) {
    updateRunEnds(undo, move.start + step * move.offset[static_cast<std::size_t>(i)], 1 - move.direction);
  }
}

void LeanBoard::markStale(int index, int direction) {
  LeanSquare& s = squares_[static_cast<std::size_t>(index)];
  if (s.stale == 0) stale_.push_back(static_cast<std::uint16_t>(index));
  s.stale |= static_cast<std::uint8_t>(1 << direction);
}

void LeanBoard::refresh() {
  // A square under a tile stays out of date (and listed): its annotation
  // is read again only once the tile is taken back.
  std::size_t kept = 0;
  for (const std::uint16_t index : stale_) {
    LeanSquare& s = squares_[index];
    if (s.stale == 0) continue;
    if (!s.empty()) {
      stale_[kept++] = index;
      continue;
    }
    for (int d = 0; d < 2; ++d) {
      if ((s.stale >> d) & 1) annotate(index, d);
    }
    s.stale = 0;
  }
  stale_.resize(kept);
}

void LeanBoard::takeBack(const LeanUndo& undo) {
  for (int i = undo.count - 1; i >= 0; --i) {
    const std::uint16_t index = undo.index[static_cast<std::size_t>(i)];
    LeanSquare& s = squares_[index];
    // A square that was out of date when saved is so again; it may have
    // left the list at a refresh since.
    const LeanSquare& saved = undo.saved[static_cast<std::size_t>(i)];
    if (saved.stale != 0 && s.stale == 0) stale_.push_back(index);
    s = saved;
  }
  const int step = this->step(undo.direction);
  for (int i = 0; i < undo.tiles; ++i) {
    LeanSquare& s = squares_[static_cast<std::size_t>(undo.start + step * undo.offset[static_cast<std::size_t>(i)])];
    s.tile = kLeanEmpty;
    s.blank = 0;
  }
}

}  // namespace pexil
