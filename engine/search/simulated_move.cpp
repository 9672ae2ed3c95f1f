#include "search/simulated_move.hpp"

#include <vector>

#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "search/static_endgame.hpp"

namespace pexil {

bool ChooseByStaticEndgame(Game& game) {
  if (game.gameOver || !IsEndgame(game)) return false;
  // The static endgame generates whole lists into the active list: the
  // candidates wait aside meanwhile. Its search is of the ordinary kind,
  // not the best-only shortcuts of simulated replies.
  const SearchMode mode = game.searchMode;
  game.searchMode = SearchMode::none;
  std::vector<Move>& list = activeList(game);
  std::vector<Move> candidates;
  candidates.swap(list);
  const int best = StaticEndgame(game, true);
  list.swap(candidates);
  game.searchMode = mode;
  return best != kNotSearched;
}

}  // namespace pexil
