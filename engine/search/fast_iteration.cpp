#include "search/fast_iteration.hpp"

#include <algorithm>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/notation.hpp"
#include "search/known_racks.hpp"
#include "search/simulated_move.hpp"
#include "movegen/move_text.hpp"

namespace pexil {
namespace {

std::uint64_t moveKey(const Move& move) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  const auto mix = [&h](std::uint64_t v) {
    h ^= v;
    h *= 0x100000001b3ull;
  };
  for (const char c : move.wordView()) mix(static_cast<unsigned char>(c));
  mix(static_cast<std::uint64_t>(move.column) << 16 | static_cast<std::uint64_t>(move.row) << 8 |
      static_cast<std::uint64_t>(move.direction));
  for (int i = 0; i < kBlankSlots && move.blankPositions[static_cast<std::size_t>(i)] >= 0; ++i) {
    mix(0x100u + static_cast<std::uint64_t>(move.blankPositions[static_cast<std::size_t>(i)]));
  }
  return h;
}

}  // namespace

void RecordSeenMove(std::vector<SeenMove>& seen, std::unordered_map<std::uint64_t, std::size_t>& index,
                    const Move& move, const Rack& rackBefore) {
  const std::uint64_t key = moveKey(move);
  auto found = index.find(key);
  if (found == index.end()) {
    SeenMove entry;
    entry.key = key;
    entry.text = isNonPlacement(move) ? std::string(move.word)
                                      : moveWordText(move) + " " + movePosition(move.direction, move.column, move.row, true);
    found = index.emplace(key, seen.size()).first;
    seen.push_back(std::move(entry));
  }
  SeenMove& entry = seen[found->second];
  ++entry.count;
  entry.scoreTotal += move.score;
  entry.bestScore = std::max(entry.bestScore, move.score);
  entry.lastRack = rackString(rackBefore);
}

void RecordHeat(HeatMap& map, const Move& move, bool bingo) {
  ++map.moves;
  if (isNonPlacement(move) || map.width <= 0) return;
  const int length = static_cast<int>(move.wordView().size());
  for (int i = 0; i < length; ++i) {
    const int column = move.direction == kAcross ? move.column + i : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + i;
    if (column < 0 || row < 0 || column >= map.width || row >= map.height) continue;
    const auto at = static_cast<std::size_t>(row * map.width + column);
    ++map.counts[at];
    map.scores[at] += move.score;
    if (bingo && i == 0) {
      ++map.bingoCounts[at];
      map.bingoScores[at] += move.score;
    }
  }
}

double FastHorizonWin(Game& game, int player, const WinProbTable* table) {
  const int spread = leadOf(game, player);
  if (table == nullptr || !game.winProbAtHorizon) return spread > 0 ? 100.0 : 0.0;
  if (game.gameOver) return spread > 0 ? 100.0 : spread == 0 ? 50.0 : 0.0;
  const int players = game.playerCount;
  if (players == 2) {
    // The table is read for the player who has just moved.
    const int opponent = 1 - player;
    if (game.toMove == player) return 100.0 - HorizonWinChance(game, *table, opponent, leadOf(game, opponent));
    return HorizonWinChance(game, *table, player, spread);
  }
  // Three or four players: the players still to move before the simulating
  // player are credited with a typical turn's score first, and the tiles
  // such a turn would play (4) leave the unseen count.
  int unseen = game.bag.total();
  for (int p = 0; p < players; ++p) {
    if (p != player) unseen += game.racks[static_cast<std::size_t>(p)].total();
  }
  const int justMoved = (game.toMove + players - 1) % players;
  if ((justMoved + 1) % players == player || game.toMove == player) {
    return WinProb(*table, spread, unseen, 0, 0);
  }
  const std::array<int, kMaxPlayers> saved = game.scores;
  int bag = game.bag.total();
  for (int p = game.toMove; p != player; p = (p + 1) % players) {
    game.scores[static_cast<std::size_t>(p)] += bag >= 5 ? 32 : 20;
    bag = std::max(0, bag - 4);
    unseen = std::max(0, unseen - 4);
  }
  const double chance = WinProb(*table, leadOf(game, player), unseen, 0, 0);
  game.scores = saved;
  return chance;
}

FastOutcome RunFastIteration(Game& game, const Move& candidate, const FastIterationSetup& setup, FastIterationState& state) {
  state.snapshot.save(game);
  const int player = game.toMove;
  const int players = game.playerCount;
  const int previous = (player + players - 1) % players;
  const int rackSize = rules().rackSize;
  for (int p = 0; p < players; ++p) {
    if (p != player) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  }
  const bool fromTable = setup.racks != nullptr && setup.racks->active();
  for (int j = 0; j < players - 1; ++j) {
    const int p = (player + 1 + j) % players;
    Rack& rack = game.racks[static_cast<std::size_t>(p)];
    if (fromTable) {
      takeKnownTiles(rack, game.bag, setup.racks->slot(state.rackCursor++).rack);
    } else if (setup.knownRacks != nullptr && !setup.knownRacks->empty() && p == previous) {
      const auto pick = static_cast<std::size_t>(game.random.next()) % setup.knownRacks->size();
      takeKnownTiles(rack, game.bag, (*setup.knownRacks)[pick]);
    }
    drawTiles(rack, game.bag, rackSize, &game.random);
  }

  const int start = game.moveNumber;
  const SearchMode mode = game.searchMode;
  PlayMove(game, candidate, false, true);
  game.searchMode = SearchMode::simulationReply;
  SimulationStats& stats = state.stats;
  while (!game.gameOver && game.moveNumber <= game.targetTurn) {
    const int mover = game.toMove;
    ChooseSimulatedMove(game);
    const Move& move = game.bestMove;
    const int offset = game.moveNumber - start;
    if (offset == 1 || offset == players) {
      const Rack& rack = game.racks[static_cast<std::size_t>(mover)];
      const bool placement = !isNonPlacement(move);
      // A bingo uses a full rack; the heat maps mark any play that empties
      // the rack for more than the bingo bonus.
      const bool wentOut = placement && move.leaveView().empty();
      const bool bingo = wentOut && rack.total() == rackSize;
      if (offset == 1) {
        ++stats.replies;
        stats.replyScoreTotal += move.score;
        stats.opponentBingos += bingo ? 1 : 0;
        stats.opponentExchanges += placement ? 0 : 1;
        RecordSeenMove(stats.seenReplies, state.replyIndex, move, rack);
        if (setup.heatMaps) RecordHeat(stats.replyHeat, move, wentOut && move.score > rules().bingoBonus);
      } else {
        ++stats.nextMoves;
        stats.nextScoreTotal += move.score;
        stats.nextTurnBingos += bingo ? 1 : 0;
        RecordSeenMove(stats.seenNextMoves, state.nextIndex, move, rack);
        if (setup.heatMaps) RecordHeat(stats.nextHeat, move, wentOut && move.score > rules().bingoBonus);
      }
    }
    PlayMove(game, move, false, true);
  }
  game.searchMode = mode;

  FastOutcome outcome;
  outcome.spread = static_cast<float>(leadOf(game, player));
  outcome.win = static_cast<float>(FastHorizonWin(game, player, setup.table));
  outcome.mixed = outcome.win + outcome.spread / 10.0f;
  state.snapshot.restore(game);
  return outcome;
}

}  // namespace pexil
