#include "files/rack_draw_ratings.hpp"

#include <algorithm>
#include <optional>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/board.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"
#include "state/abort_flag.hpp"

namespace pexil {
namespace {

// A copy of the game at its start: the same players, options and word
// list, an empty board, a full bag and empty racks.
Game startOfGame(const Game& game) {
  Game replay = game;
  replay.historyEnabled = false;
  replay.history.clear();
  buildBoard(replay.board);
  replay.board.lexicon = replay.lexicon.get();
  replay.previousBoard = replay.board;
  fillWell(replay.bag);
  for (int p = 0; p < replay.playerCount; ++p) {
    replay.racks[static_cast<std::size_t>(p)] = Rack{};
    replay.scores[static_cast<std::size_t>(p)] = 0;
  }
  replay.moveNumber = 0;
  replay.toMove = 0;
  replay.gameOver = false;
  replay.scorelessTurns = 0;
  replay.consecutivePasses = 0;
  replay.lastMove = Move{};
  replay.hasPatternReference = false;
  replay.medianDraws = false;
  prepareBoard(replay);
  return replay;
}

// Takes the tiles of `tiles` from the bag onto the rack; false (taking
// nothing) when the bag lacks some of them.
bool takeFromBag(Well& bag, Rack& rack, const Rack& tiles) {
  for (int code = 0; code < kCodeSlots; ++code) {
    if (bag[code] < tiles[code]) return false;
  }
  for (int slot = 0; slot <= kTotalSlot; ++slot) {
    bag.counts[static_cast<std::size_t>(slot)] -= tiles.counts[static_cast<std::size_t>(slot)];
    rack.counts[static_cast<std::size_t>(slot)] += tiles.counts[static_cast<std::size_t>(slot)];
  }
  return true;
}

// The tiles a placement lays on the empty squares of the board (blanks
// where the move has them); none when the word runs off the board.
std::optional<Rack> tilesLaidBy(const Board& board, const Move& move) {
  Rack tiles;
  const std::string_view word = move.wordView();
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int offset = static_cast<int>(i);
    const Square* s = squareAt(board, move.column + (move.direction == kAcross ? offset : 0),
                               move.row + (move.direction == kAcross ? 0 : offset));
    if (s == nullptr) return std::nullopt;
    if (!s->empty()) continue;
    const int code = move.isBlankAt(offset) ? rules().blankCode : codeOfLetter(word[i]);
    if (code < 0 || code >= kCodeSlots) return std::nullopt;
    ++tiles[code];
    ++tiles[kTotalSlot];
  }
  return tiles;
}

// `part` is contained in `whole`.
bool holds(const Rack& whole, const Rack& part) {
  for (int code = 0; code < kCodeSlots; ++code) {
    if (part[code] < 0 || whole[code] < part[code]) return false;
  }
  return true;
}

Rack less(const Rack& whole, const Rack& part) {
  Rack left = whole;
  for (int slot = 0; slot <= kTotalSlot; ++slot) left.counts[static_cast<std::size_t>(slot)] -= part.counts[static_cast<std::size_t>(slot)];
  return left;
}

// The rack the mover of entry i holds after drawing: the rack of their next
// move, or, after their last one, the rack the game holds now.
std::optional<Rack> rackDrawnAfter(const Game& game, std::size_t i) {
  const auto players = static_cast<std::size_t>(game.playerCount);
  for (std::size_t j = i + players; j < game.history.size(); j += players) {
    const HistoryEntry& next = game.history[j];
    if (next.rackKnown) return next.rackBefore;
    return std::nullopt;
  }
  return game.racks[i % players];
}

// The tiles as the user reads them: multi-letter tiles written out.
std::string tilesText(const Rack& rack) {
  std::string text;
  for (char c : rackString(rack)) text += tileDisplayText(codeOfTile(c));
  return text;
}

}  // namespace

std::vector<RackDrawRating> RateRackDraws(const Game& game, const RackDrawOptions& options) {
  std::vector<RackDrawRating> ratings;
  if (game.playerCount <= 0) return ratings;
  const auto players = static_cast<std::size_t>(game.playerCount);
  Game replay = startOfGame(game);
  for (std::size_t i = 0; i < game.history.size() && !abortRequested(); ++i) {
    const HistoryEntry& entry = game.history[i];
    const Move move = entry.move.move();
    const int mover = static_cast<int>(i % players);
    // A record may go on after our rules ended the game.
    replay.gameOver = false;
    replay.toMove = mover;
    for (std::size_t p = 0; p < players; ++p) returnAll(replay.bag, replay.racks[p]);
    Rack& rack = replay.racks[static_cast<std::size_t>(mover)];

    // The rack before the move; when the history does not know it, the
    // tiles the move lays stand in for it so that the board stays right.
    const std::optional<Rack> laid = isNonPlacement(move) ? std::optional<Rack>(Rack{}) : tilesLaidBy(replay.board, move);
    bool rated = entry.rackKnown && takeFromBag(replay.bag, rack, entry.rackBefore);
    if (!rated && laid) takeFromBag(replay.bag, rack, *laid);
    const Rack before = rack;

    // What the mover kept.
    Rack leave = before;
    if (isExchange(move) && ExchangeAllowed(replay)) {
      leave = Rack{};
      rated = rated && addLetters(leave, move.leaveView(), nullptr) == static_cast<int>(move.leaveView().size()) &&
              holds(before, leave);
    } else if (!isNonPlacement(move)) {
      rated = rated && laid && holds(before, *laid);
      if (rated) leave = less(before, *laid);
    }

    PlayMove(replay, move, false, true);
    for (std::size_t p = 0; p < players && p < entry.scoresAfter.size(); ++p) replay.scores[p] = entry.scoresAfter[p];
    if (!rated || (options.onlyPlayer >= 0 && options.onlyPlayer != mover)) continue;
    const std::optional<Rack> drawnRack = rackDrawnAfter(game, i);
    if (!drawnRack) continue;

    GameRandom random;
    const std::uint32_t key[2] = {options.seed, static_cast<std::uint32_t>(i + 1)};
    random.seed(key, 2);
    const double rating = RateRackDraw(replay, mover, leave, *drawnRack, options.redraws, random);
    if (rating < 0) continue;
    ratings.push_back({static_cast<int>(i + 1), mover, tilesText(leave), tilesText(*drawnRack), rating});
  }
  return ratings;
}

std::vector<std::string> RackDrawReportLines(const Game& game, const std::vector<RackDrawRating>& ratings) {
  std::vector<std::string> lines;
  lines.emplace_back(Message(msg::RateDrawsHeader));
  std::vector<double> sums(static_cast<std::size_t>(std::max(game.playerCount, 0)), 0.0);
  std::vector<int> counts(sums.size(), 0);
  for (const RackDrawRating& r : ratings) {
    lines.push_back(FormatMessage(msg::RateDrawsLine, r.entry, playerName(game, r.player).c_str(), r.leave.c_str(),
                                  r.newRack.c_str(), r.rating));
    if (r.player >= 0 && static_cast<std::size_t>(r.player) < sums.size()) {
      sums[static_cast<std::size_t>(r.player)] += r.rating;
      ++counts[static_cast<std::size_t>(r.player)];
    }
  }
  for (std::size_t p = 0; p < sums.size(); ++p) {
    const double mean = counts[p] > 0 ? sums[p] / counts[p] : 50.0;
    lines.push_back(FormatMessage(msg::RateDrawsAverage, playerName(game, static_cast<int>(p)).c_str(), mean, counts[p]));
  }
  return lines;
}

}  // namespace pexil
