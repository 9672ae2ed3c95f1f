#include "tools/benchmark_positions.hpp"

#include <array>

#include "files/position_file.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "tools/benchmark_suite.hpp"
#include "tools/tool_game.hpp"

namespace pexil {

BenchmarkPositionNeed benchmarkPositionNeed(int position) {
  // Mid game (tests 10 to 18): 30 to 60 tiles in the bag, kept away from
  // the edges; late game (19 to 24): 29 or fewer, with enough left that no
  // candidate empties the bag (that would be the pre-endgame, not a
  // simulation).
  if (position <= 9) return {36, 54, (position - 1) / 3};
  const int late = position - 10;  // 0..5: two each of 0, 1, 2 blanks on the board
  return {12, 24, late / 2};
}

bool FitsBenchmarkPosition(const Game& game, int position) {
  if (position < 1 || position > kBenchmarkPositions || game.gameOver) return false;
  const BenchmarkPositionNeed need = benchmarkPositionNeed(position);
  const int bag = game.bag.total();
  if (bag < need.fewestInBag || bag > need.mostInBag) return false;
  int blanks = 0;
  for (const Square& square : game.board.squares) blanks += !square.empty() && square.isBlank ? 1 : 0;
  if (blanks != need.blanksOnBoard) return false;
  // The test's rack must come out of the bag and the mover's rack.
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  if (rack.total() != rules().rackSize) return false;
  const BenchmarkTest& test = benchmarkTests()[static_cast<std::size_t>(position + 8)];
  std::array<int, 33> wanted{};
  for (const char* c = test.rack; *c != '\0'; ++c) {
    const int code = *c == '?' ? rules().blankCode : codeOfUpper(*c);
    if (code < 0 || code >= kTotalSlot) return false;
    ++wanted[static_cast<std::size_t>(code)];
  }
  for (int code = 0; code < kTotalSlot; ++code) {
    if (wanted[static_cast<std::size_t>(code)] > game.bag[code] + rack[code]) return false;
  }
  return true;
}

bool WriteBenchmarkPositions(const std::string& folder, std::uint32_t seed) {
  const ActiveRulesScope rulesBack;
  Game game;
  setProgramSeed(seed);
  if (!StartToolGame(game, kBenchmarkGameType)) {
    PrintMessage(msg::BenchNoGameType);
    return false;
  }
  std::array<bool, kBenchmarkPositions> written{};
  int left = kBenchmarkPositions;
  for (int round = 0; round < 400 && left > 0; ++round) {
    ResetGame(game);
    // Every position still missing is looked for after every move; a game
    // gives at most one position per turn.
    while (!game.gameOver && left > 0) {
      for (int p = 1; p <= kBenchmarkPositions; ++p) {
        if (written[static_cast<std::size_t>(p - 1)] || !FitsBenchmarkPosition(game, p)) continue;
        const std::string path = (folder.empty() ? std::string() : folder + "/") + "bench" + std::to_string(p) + ".pexil";
        if (!WritePosition(game, path)) {
          PrintMessageF(msg::FileCannotWrite, path.c_str());
          return false;
        }
        written[static_cast<std::size_t>(p - 1)] = true;
        --left;
        textPane().Print(FormatText("%s: %d tiles in the bag.", path.c_str(), game.bag.total()));
        break;
      }
      GenerateMoves(game, Generation::bestOnly);
      if (isNonPlacement(game.bestMove)) break;
      PlayMove(game, game.bestMove);
    }
  }
  return left == 0;
}

}  // namespace pexil
