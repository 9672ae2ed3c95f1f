#include "game/game.hpp"

#include <algorithm>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"

namespace pexil {

const char* LaidWords::add(std::string_view text) {
  if (own_ == nullptr) {
    arenas_.push_back(std::make_shared<Arena>());
    own_ = arenas_.back().get();
  }
  return own_->emplace(text).first->c_str();
}

void startGame(Game& game, int players, std::shared_ptr<Lexicon> lexicon) {
  game = Game{};
  game.playerCount = std::clamp(players, 1, kMaxPlayers);
  game.lexicon = std::move(lexicon);
  const GameType* type = activeGameType();
  game.phonyPlay = type != nullptr && type->markPhonies;
  game.doubledEndScoring = wordListAlphabet() != kAlphabetSpanish;
  buildBoard(game.board);
  game.board.lexicon = game.lexicon.get();
  game.previousBoard = game.board;
  game.workBoard = game.board;
  fillWell(game.bag);
  for (int p = 0; p < game.playerCount; ++p) {
    game.rackTags[static_cast<std::size_t>(p)] = dealRack(game.racks[static_cast<std::size_t>(p)], game.bag, &game.random);
  }
  game.moveJustPlayed = true;
  prepareBoard(game);
}

void prepareBoard(Game& game) {
  game.board.lexicon = game.lexicon.get();
  game.board.phonyLengthLimit = game.phonyPlay ? game.minPhonyLength : 999;
  AnnotateBoard(game.board, game, false);
}

bool exchangeAllowed(const Game& game) {
  const GameRules& r = rules();
  if (r.gameKind == kKindHundredfold || game.bag.total() < r.minTilesExchange) return false;
  int available = game.bag.total();
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove && game.racks[static_cast<std::size_t>(p)].total() == 0) available -= r.rackSize;
  }
  return available >= r.minTilesExchange;
}

LetterCounts unseenTilesOf(const Game& game, int player) {
  LetterCounts pool = game.bag;
  if (openRacks()) return pool;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == player) continue;
    const Rack& rack = game.racks[static_cast<std::size_t>(p)];
    for (int slot = 0; slot <= kTotalSlot; ++slot) pool.counts[static_cast<std::size_t>(slot)] += rack.counts[static_cast<std::size_t>(slot)];
  }
  return pool;
}

bool isBarredFor(const Game& game, int player, std::string_view word) {
  if (game.restrictedPlayer != player || game.barredWords.empty()) return false;
  const std::string lowered = latin1Lower(word);
  return std::find(game.barredWords.begin(), game.barredWords.end(), lowered) != game.barredWords.end();
}

void commitPlacement(Game& game, const Move& move) {
  if (isNonPlacement(move) || game.playerCount == 0) return;
  Move played = move;
  game.previousBoard = game.board;
  EvaluatePlacement(game, played, true);
  Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  drawTiles(rack, game.bag, rules().rackSize, &game.random);
  game.scores[static_cast<std::size_t>(game.toMove)] += move.score;
  game.lastMove = played;
  game.scorelessTurns = 0;
  game.consecutivePasses = 0;
  ++game.moveNumber;
  game.toMove = (game.toMove + 1) % game.playerCount;
  game.moveJustPlayed = true;
  updateNearOpenBonus(game.board);
  prepareBoard(game);
}

}  // namespace pexil
