// Seeded positions for the generator tests: the shared word list and its
// index, four board variants (standard, 21x21, a board with holes, a
// lettered board), and positions from seeded self-play with a planned rack
// for the mover. Each position is a pure function of its variant and seed.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil::test {

// ---------------------------------------------------------------------------
// The word list, shared by every position.

inline std::shared_ptr<Lexicon> sharedWords() {
  static std::shared_ptr<Lexicon> words = [] {
    auto lexicon = std::make_shared<Lexicon>();
    lexicon->loadLeaves = false;
    loadWordListWithTables(*lexicon, PEXIL_TEST_DATA "/movegen/words.lst");
    return lexicon;
  }();
  return words;
}

// The words of the list by length, and by (length, position, letter), each
// text once.
struct WordIndex {
  std::vector<std::vector<std::string>> byLength;
  // [length][position][code] -> indexes into byLength[length]
  std::vector<std::vector<std::array<std::vector<int>, kCodeSlots>>> byLetter;

  explicit WordIndex(const Lexicon& lexicon) {
    byLength.resize(kMaxWordLength + 1);
    byLetter.resize(kMaxWordLength + 1);
    std::set<std::string> seen;
    for (EntryIndex i = 0; i < lexicon.wordCount(); ++i) {
      const std::string text = latin1Lower(lexicon.textView(i));
      if (text.size() < 2 || text.size() > static_cast<std::size_t>(kMaxWordLength)) continue;
      if (!seen.insert(text).second) continue;
      byLength[text.size()].push_back(text);
    }
    for (std::size_t n = 2; n < byLength.size(); ++n) {
      byLetter[n].resize(n);
      for (std::size_t w = 0; w < byLength[n].size(); ++w) {
        for (std::size_t p = 0; p < n; ++p) {
          const int code = codeOfLetter(byLength[n][w][p]);
          if (code >= 0 && code < kCodeSlots)
            byLetter[n][p][static_cast<std::size_t>(code)].push_back(static_cast<int>(w));
        }
      }
    }
  }
};

inline const WordIndex& sharedIndex() {
  static const WordIndex index(*sharedWords());
  return index;
}

// ---------------------------------------------------------------------------
// Board variants.

enum class Variant { standard, super, holes, lettered };

inline const char* variantName(Variant v) {
  switch (v) {
    case Variant::standard:
      return "standard 15x15";
    case Variant::super:
      return "21x21";
    case Variant::holes:
      return "defined 13x11 with empty squares";
    case Variant::lettered:
      return "defined 11x11 lettered rows";
  }
  return "?";
}

inline std::string tileLines(bool scaled) {
  // letter, count, value; the scaled set is smaller and has three blanks.
  struct T {
    char letter;
    int count;
    int value;
  };
  static const T english[] = {{'a', 9, 1}, {'b', 2, 3}, {'c', 2, 3}, {'d', 4, 2}, {'e', 12, 1}, {'f', 2, 4},
                              {'g', 3, 2}, {'h', 2, 4}, {'i', 9, 1}, {'j', 1, 8}, {'k', 1, 5},  {'l', 4, 1},
                              {'m', 2, 3}, {'n', 6, 1}, {'o', 8, 1}, {'p', 2, 3}, {'q', 1, 10}, {'r', 6, 1},
                              {'s', 4, 1}, {'t', 6, 1}, {'u', 4, 1}, {'v', 2, 4}, {'w', 2, 4},  {'x', 1, 8},
                              {'y', 2, 4}, {'z', 1, 10}};
  std::string text;
  for (const T& t : english) {
    const int count = scaled ? std::max(1, (t.count * 2 + 2) / 3) : t.count;
    const int value = scaled ? t.value + (t.value == 1 ? 1 : 0) : t.value;
    text += "tile " + std::string(1, t.letter) + " " + std::to_string(count) + " " + std::to_string(value) + " -1\n";
  }
  text += scaled ? "tile ? 3 0 -1\n" : "tile ? 2 0 -1\n";
  return text;
}

// Two game types: an uneven board with squares outside the playing area and
// unusual bonus types, and a board symmetric about its diagonal with
// lettered rows.
inline std::string definitionsText() {
  std::string text =
      "Game \"Holes\"\n"
      "numplayers 1 4\n"
      "boardsize 13 11\n"
      "startsquare 6 5\n"
      "bonus none . B4D4DC\n"
      "bonus empty x 000000\n"
      "bonus 2ls : 00B6FC\n"
      "bonus 3ls $ 0000FF\n"
      "bonus 7ls ! 00FF00\n"
      "bonus 2ws * FC98D4\n"
      "bonus 3ws # FF0000\n"
      "bonus 5ws % 880088\n"
      "board\n"
      "#..:..x..:..#\n"
      ".*...x.x...*.\n"
      "..x...%...$..\n"
      ":...*.....*.:\n"
      "..$..:.:..x..\n"
      "xx....*....xx\n"
      "..x..:.:..!..\n"
      ":.*.......*.:\n"
      "..$...x...x..\n"
      ".*.........*.\n"
      "#..:..#..:..#\n"
      "racksize 7\n"
      "bingobonus 40\n"
      "mintilesexchange 7\n" +
      tileLines(false) + "GameEnd\n";
  text +=
      "Game \"Lettered\"\n"
      "numplayers 1 4\n"
      "letteredrows\n"
      "boardsize 11 11\n"
      "startsquare 5 5\n"
      "bonus none . B4D4DC\n"
      "bonus 2ls : 00B6FC\n"
      "bonus 3ls $ 0000FF\n"
      "bonus 2ws * FC98D4\n"
      "bonus 3ws # FF0000\n"
      "board\n";
  for (int r = 0; r < 11; ++r) {
    for (int c = 0; c < 11; ++c) {
      const bool corner = (r == 0 || r == 10) && (c == 0 || c == 10);
      const int m = (r * c + r + c) % 7;
      text.push_back(corner ? '#' : r == c ? '*' : m == 0 ? ':' : m == 3 ? '$' : '.');
    }
    text.push_back('\n');
  }
  text += "racksize 7\nbingobonus 35\nmintilesexchange 5\n" + tileLines(true) + "GameEnd\n";
  return text;
}

inline void activate(Variant v) {
  switch (v) {
    case Variant::standard:
      ASSERT_TRUE(activateGameType(kKindStandard));
      break;
    case Variant::super:
      ASSERT_TRUE(activateGameType(kKindSuper));
      break;
    case Variant::holes:
      ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Holes")));
      break;
    case Variant::lettered:
      ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Lettered")));
      break;
  }
}

// ---------------------------------------------------------------------------
// Positions.

struct RackPlan {
  int size = 7;           // tiles wanted
  int blanks = 0;         // blanks wanted among them
  bool emptyBag = false;  // the bag is emptied once the racks are dealt
  bool barred = false;    // short words barred for the mover
  bool offStart = false;  // a word is laid away from the start square first
};

struct Position {
  Game game;
  std::string rack;
  int turns = 0;
};

inline bool startSquareEmpty(const Board& board) {
  const Square* start = squareAt(board, rules().startColumn, rules().startRow);
  return start != nullptr && start->empty();
}

// Lays a word of the list straight onto the board (tiles from the bag), at
// a place that leaves the start square empty: a position typed in or read
// from a file need not have covered it.
inline void layWordOffStart(Game& game, std::mt19937& pick) {
  Board& board = game.board;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const auto& list = sharedIndex().byLength[2 + pick() % 6];
    const std::string& word = list[pick() % list.size()];
    const int n = static_cast<int>(word.size());
    const int d = static_cast<int>(pick() % 2);
    const int dc = d == kAcross ? 1 : 0, dr = 1 - dc;
    const int column = static_cast<int>(pick() % static_cast<unsigned>(board.width - dc * (n - 1)));
    const int row = static_cast<int>(pick() % static_cast<unsigned>(board.height - dr * (n - 1)));
    bool fits = true;
    for (int k = 0; k < n && fits; ++k) {
      const int c = column + dc * k, r = row + dr * k;
      fits = squareAt(board, c, r)->usable && !(c == rules().startColumn && r == rules().startRow);
    }
    Rack taken;
    if (!fits || addLetters(taken, word, &game.bag) != n || !allNonNegative(game.bag)) {
      returnAll(game.bag, taken);
      continue;
    }
    for (int k = 0; k < n; ++k) {
      Square& s = *squareAt(board, column + dc * k, row + dr * k);
      s.letter = word[static_cast<std::size_t>(k)];
      s.placedMark = 0;
    }
    prepareBoard(game);
    return;
  }
  ADD_FAILURE() << "no place found for a word off the start square";
}

// Self-play by highest score for up to `maxTurns` turns, then the mover's
// rack replaced as planned (tiles taken from the bag).
inline void buildPosition(Position& pos, std::uint32_t seed, int maxTurns, const RackPlan& plan) {
  setProgramSeed(seed);
  std::mt19937 pick(seed);
  Game& game = pos.game;
  startGame(game, 2, sharedWords());
  if (plan.offStart) layWordOffStart(game, pick);
  const int turns = static_cast<int>(pick() % static_cast<unsigned>(maxTurns + 1));
  game.highestScoreBest = true;
  for (pos.turns = 0; pos.turns < turns; ++pos.turns) {
    GenerateMoves(game, true);
    if (isNonPlacement(game.bestMove)) break;
    commitPlacement(game, game.bestMove);
  }
  game.highestScoreBest = false;

  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  const int blank = rules().blankCode;
  std::string text;
  const int blanks = std::min({plan.blanks, plan.size, game.bag[blank]});
  text.append(static_cast<std::size_t>(blanks), '?');
  Well left = game.bag;
  left[blank] -= blanks;
  left[kTotalSlot] -= blanks;
  while (static_cast<int>(text.size()) < plan.size) {
    const int letters = left.total() - left[blank];
    if (letters <= 0) break;
    int a = static_cast<int>(pick() % static_cast<unsigned>(letters));
    for (int code = 0; code < rules().codeCount; ++code) {
      if (code == blank) continue;
      if (a < left[code]) {
        text.push_back(charOfLower(code));
        --left[code];
        --left[kTotalSlot];
        break;
      }
      a -= left[code];
    }
  }
  Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  ASSERT_EQ(addLetters(rack, text, &game.bag), static_cast<int>(text.size()));
  ASSERT_TRUE(allNonNegative(game.bag));
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) drawTiles(game.racks[static_cast<std::size_t>(p)], game.bag, rules().rackSize, &game.random);
  }
  if (plan.emptyBag) game.bag = Well{};
  if (plan.barred) {
    // Short words, so that many cross words are among them.
    game.restrictedPlayer = game.toMove;
    for (int k = 0; k < 40; ++k) {
      const auto& list = sharedIndex().byLength[2 + pick() % 3];
      game.barredWords.push_back(list[pick() % list.size()]);
    }
  }
  prepareBoard(game);
  pos.rack = rackString(rack);
}

inline std::string positionText(const Position& pos, Variant v, std::uint32_t seed) {
  std::ostringstream out;
  out << variantName(v) << ", seed " << seed << ", " << pos.turns << " turns, rack " << pos.rack << ", bag "
      << pos.game.bag.total() << ", mover " << pos.game.toMove << " score " << pos.game.scores[0] << ":"
      << pos.game.scores[1] << "\n";
  for (const std::string& line : boardTextLines(pos.game.board)) out << line << "\n";
  return out.str();
}

}  // namespace pexil::test
