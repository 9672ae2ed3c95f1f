// Feeds arbitrary bytes to the game.definitions reader, then uses every game
// type it accepted: activation, board, well, a deal and the board text.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/scoring.hpp"
#include "rules/tile_counts.hpp"
#include "text/text_pane.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool setUp = [] {
    pexil::textPane().SetQuiet(true);  // the pane keeps every line; don't grow it for ever
    pexil::setProgramSeed(1);
    return true;
  }();
  (void)setUp;

  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  pexil::readGameDefinitions(in);
  for (int i = 0; i < pexil::gameTypeCount(); ++i) {
    if (!pexil::activateGameType(pexil::kKindDefined, i)) __builtin_trap();
    pexil::Board board;
    pexil::buildBoard(board);
    (void)pexil::boardTextLines(board);
    pexil::Well well;
    pexil::fillWell(well);
    pexil::Rack rack;
    pexil::GameRandom random;
    pexil::dealRack(rack, well, &random);
    if (!pexil::allNonNegative(well) || !pexil::allNonNegative(rack)) __builtin_trap();
    // Score a two-letter play across the start square.
    const int blanks[1] = {-1};
    const int column = pexil::rules().startColumn, row = pexil::rules().startRow;
    pexil::layTentative(board, "ab", column, row, pexil::kAcross, blanks);
    (void)pexil::playScore(board, pexil::kAcross, column, row, 2);
    pexil::liftTentative(board, "ab", column, row, pexil::kAcross);
    (void)pexil::isStandardGame();
    (void)pexil::boardIsSymmetric();
  }
  pexil::activateGameType(pexil::kKindStandard);
  return 0;
}
