#include "movegen/evaluation.hpp"

#include "movegen/adjustments.hpp"
#include "rules/game_rules.hpp"
#include "rules/scoring.hpp"
#include "tables/rack_tables.hpp"

namespace pexil {

namespace {

// Writes the rack's letters, NUL-terminated, into out (capacity bytes).
void writeRackText(const Rack& rack, char* out, std::size_t capacity) {
  std::size_t n = 0;
  const int blank = rules().blankCode;
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int k = 0; k < rack[code] && n + 1 < capacity; ++k) out[n++] = code == blank ? '?' : charOfUpper(code);
  }
  out[n] = '\0';
}

}  // namespace

std::string rackString(const Rack& rack) {
  char text[kCodeSlots * 4 + 1];
  writeRackText(rack, text, sizeof text);
  return text;
}

int LeaveValue(std::string_view letters) { return leaveValueOrZero(letters); }

// ReevaluateWithPool lives with the keep values (movegen/keep_value.cpp).

namespace {

// The squares of a move's word, one per letter; null past the board edge.
Square* wordSquare(Board& board, const Move& move, int index) {
  return move.direction == kAcross ? squareAt(board, move.column + index, move.row)
                                   : squareAt(board, move.column, move.row + index);
}

// Tries every way of putting the move's blanks on new tiles of the letters
// they stand for, keeping the highest-scoring one (the first in word order
// on ties), and marks the chosen squares as blanks.
// Word indexes of a move's new tiles.
struct IndexList {
  int items[kMaxWordLength];
  int count = 0;
  void push(int i) {
    if (count < kMaxWordLength) items[count++] = i;
  }
  const int* begin() const { return items; }
  const int* end() const { return items + count; }
  std::size_t size() const { return static_cast<std::size_t>(count); }
  bool empty() const { return count == 0; }
  int operator[](std::size_t i) const { return items[i]; }
};

void chooseBlanks(Game& game, Move& move, const IndexList& placed, const IndexList& blanks) {
  Board& board = game.board;
  const int length = static_cast<int>(move.wordView().size());
  auto letterAt = [&](int index) { return latin1Lower(move.word[index]); };
  auto markBlanks = [&](int first, int second) {
    for (int index : placed) wordSquare(board, move, index)->isBlank = index == first || index == second;
  };
  auto score = [&] { return playScore(board, move.direction, move.column, move.row, length); };
  auto candidates = [&](char letter) {
    IndexList positions;
    for (int index : placed) {
      if (letterAt(index) == letter) positions.push(index);
    }
    return positions;
  };

  int best0 = blanks.empty() ? -1 : blanks[0];
  int best1 = blanks.size() > 1 ? blanks[1] : -1;
  if (blanks.size() == 1) {
    const auto positions = candidates(letterAt(blanks[0]));
    if (positions.size() > 1) {
      int bestScore = 0;
      bool first = true;
      for (int p : positions) {
        markBlanks(p, -1);
        const int s = score();
        if (first || s > bestScore) {
          bestScore = s;
          best0 = p;
          first = false;
        }
      }
    }
  } else if (blanks.size() == 2) {
    const auto positions0 = candidates(letterAt(blanks[0]));
    const auto positions1 = candidates(letterAt(blanks[1]));
    if (positions0.size() > 1 || positions1.size() > 1) {
      int bestScore = 0;
      bool first = true;
      for (int p : positions0) {
        for (int q : positions1) {
          if (p == q) continue;
          markBlanks(p, q);
          const int s = score();
          if (first || s > bestScore) {
            bestScore = s;
            best0 = p;
            best1 = q;
            first = false;
          }
        }
      }
    }
  }
  if (blanks.size() <= 2) {
    markBlanks(best0, best1);
    move.blankPositions.fill(-1);
    int slot = 0;
    for (int index : placed) {
      if ((index == best0 || index == best1) && slot < kBlankSlots) move.blankPositions[static_cast<std::size_t>(slot++)] = index;
    }
  } else {
    // More than two blanks: the positions found while laying stand.
    move.blankPositions.fill(-1);
    for (std::size_t i = 0; i < blanks.size() && i < kBlankSlots; ++i) move.blankPositions[i] = blanks[i];
  }
}

}  // namespace

Evaluation EvaluatePlacement(Game& game, Move& move, bool commit) {
  Evaluation result;
  // Outside generation the position's evaluation data is worked out here,
  // from the board as it is before the move.
  if (!game.generating) refreshEvaluationContext(game);
  Board& board = game.board;
  const GameRules& r = rules();
  const int blank = r.blankCode;
  Rack rack = game.racks[static_cast<std::size_t>(game.toMove)];
  const int length = static_cast<int>(move.wordView().size());
  IndexList placed, blanks;  // word indexes of new tiles, and of those that are blanks

  for (int i = 0; i < length; ++i) {
    Square* s = wordSquare(board, move, i);
    if (s == nullptr || !s->empty()) continue;
    const char letter = move.word[i];
    const int code = codeOfLetter(letter);
    bool isBlank;
    if (game.generating) {
      isBlank = move.isBlankAt(i);
    } else {
      isBlank = code < 0 || code >= kCodeSlots || rack[code] <= 0;
      if (isBlank && rack[blank] <= 0) isBlank = false;  // neither is held: the caller checked the rack
    }
    const int taken = isBlank ? blank : code;
    if (taken >= 0 && taken < kCodeSlots) {
      --rack[taken];
      --rack[kTotalSlot];
    }
    s->letter = latin1Lower(letter);
    s->placedMark = kNewTileMark;
    s->isBlank = isBlank;
    const int column = move.direction == kAcross ? move.column + i : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + i;
    board.columnHasNew[static_cast<std::size_t>(column)] = 1;
    board.rowHasNew[static_cast<std::size_t>(row)] = 1;
    placed.push(i);
    if (isBlank) blanks.push(i);
  }
  result.tilesUsed = static_cast<int>(placed.size());
  writeRackText(rack, move.leave.data(), move.leave.size());
  const bool leavesOff = game.toMove >= 0 && game.toMove < kMaxPlayers && game.leaveValuesOff[static_cast<std::size_t>(game.toMove)];
  if (!anagramRule() && !leavesOff) result.adjustment = LeaveValue(move.leaveView());

  if (!game.generating) chooseBlanks(game, move, placed, blanks);

  // The board adjustments. They never read the squares the move covers
  // (or treat them as the move's), so the laid tiles can stay.
  PlacementShape shape;
  shape.word = move.word;
  shape.length = length;
  shape.column = move.column;
  shape.row = move.row;
  shape.direction = move.direction;
  for (int index : placed) {
    shape.placed |= 1u << index;
    if (wordSquare(board, move, index)->isBlank) shape.blanks |= 1u << index;
  }
  const int score = playScore(board, move.direction, move.column, move.row, length) + bingoBonusFor(result.tilesUsed);
  result.score = score;
  const int adjustments = placementAdjustments(game, shape, rack, score);
  result.adjustment += adjustments;
  move.bonus += adjustments;

  if (commit) {
    for (int index : placed) wordSquare(board, move, index)->placedMark = game.moveNumber;
    clearNewFlags(board);
    game.racks[static_cast<std::size_t>(game.toMove)] = rack;
  }
  return result;
}

}  // namespace pexil
