#include "endgame_positions.hpp"

#include "play/game_flow.hpp"
#include "rules/random.hpp"
#include "search/strategy.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {

std::vector<EndgamePosition> EndgameBenchPositions(const std::shared_ptr<Lexicon>& lexicon, int count, int bagTiles,
                                                   std::uint32_t firstSeed) {
  std::vector<EndgamePosition> positions;
  TextPane& pane = textPane();
  const bool wasQuiet = pane.Quiet();
  pane.SetQuiet(true);
  // Enough seeds that one-tile bags (which many games skip past) are found.
  const std::uint32_t lastSeed = firstSeed + 50u * static_cast<std::uint32_t>(count) + 100u;
  for (std::uint32_t seed = firstSeed; static_cast<int>(positions.size()) < count && seed < lastSeed; ++seed) {
    setProgramSeed(seed);
    EndgamePosition position;
    position.seed = seed;
    Game& game = position.game;
    NewGame(game, 2, lexicon);
    game.historyEnabled = false;  // no undo snapshots
    game.strategies[0] = game.strategies[1] = 2;
    while (!game.gameOver && game.bag.total() > bagTiles) PlayStrategyTurn(game);
    if (game.gameOver || game.bag.total() != bagTiles) continue;
    clearMainList(game);
    game.candidates.clear();
    game.history.clear();
    game.scoreChanges.clear();
    positions.push_back(std::move(position));
  }
  pane.SetQuiet(wasQuiet);
  return positions;
}

}  // namespace pexil::cli
