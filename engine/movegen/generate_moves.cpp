// The whole-board driver: annotations, the pass and exchange candidates,
// placements from every square, sorting.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "movegen/adjustments.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/keep_value.hpp"
#include "movegen/recording.hpp"
#include "rules/game_rules.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

Move nonPlacement(const char* label, std::string_view leave, int equity, int strategy) {
  Move move;
  move.word = label;
  move.setLeave(leave);
  move.equity = equity;
  move.strategy = strategy;
  return move;
}

// The rack's letters kept by an exchange label, as text. `found` tells
// whether any of the label's letters was on the rack.
std::string keptTiles(const Rack& rack, const char* label, bool& found) {
  const Rack kept = keptByLabel(rack, label, &found);
  return rackString(kept);
}

// Whether the square is a premium square of the kinds the searches watch.
bool isPremium(const Square& s) { return s.type >= 2 && s.type <= 990; }

void refreshBoardFlags(Game& game, bool emptyBoard) {
  game.standardBonusLayout = hasStandardLayout(game.board);
  game.standardTileValues = hasStandardTileSet();
  game.boardSymmetric = isDiagonallySymmetric(game.board);
  game.boardPatternFlag =
      rules().gameKind == kKindStandard || (game.standardBonusLayout && game.standardTileValues && !anagramRule());

  // Letters that no empty premium anchor admits.
  const Board& board = game.board;
  std::uint32_t admitted = 0;
  if (!emptyBoard) {
    for (const Square& s : board.squares) {
      if (!s.empty() || !isPremium(s)) continue;
      for (int d = 0; d < 2; ++d) {
        if (s.hasCrossNeighbours[d]) admitted |= s.crossSet[d];
      }
    }
  }
  for (int code = 0; code < kCodeSlots; ++code) game.noPremiumAnchor[static_cast<std::size_t>(code)] = emptyBoard || !((admitted >> code) & 1);
}

// Sorts moves by a value, highest first, keeping the order of equal ones:
// the values and positions are sorted as 64-bit keys and the moves, which
// are large, are moved once.
template <class Value>
void sortBestFirst(std::vector<Move>& moves, Value value) {
  const std::size_t n = moves.size();
  if (n < 2) return;
  thread_local std::vector<std::uint64_t> keys;
  thread_local std::vector<Move> sorted;
  keys.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    // Higher values first: the value's order reversed in the high half, the
    // position in the low half.
    const auto high = static_cast<std::uint32_t>(0x7FFFFFFF - static_cast<std::int64_t>(value(moves[i])));
    keys[i] = (static_cast<std::uint64_t>(high) << 32) | i;
  }
  std::sort(keys.begin(), keys.end());
  sorted.resize(n);
  for (std::size_t i = 0; i < n; ++i) sorted[i] = moves[keys[i] & 0xFFFFFFFFu];
  moves.swap(sorted);
}

// When a pass would end the game by scoreless turns, it is worth playing
// (highest equity) only when the mover leads by more than the value of its
// rack plus 20; otherwise it is the last choice. Gives that value, or none
// when a pass would not end the game; every later ranking of the pass
// keeps it.
std::optional<int> scorelessPassValue(const Game& game) {
  const ScorelessLimits limits = scorelessLimits(game);
  const bool lastScoreless = limits.scorelessApplies && game.scorelessTurns + 1 >= limits.scoreless;
  const bool lastPass = game.consecutivePasses + 1 >= limits.passes;
  if (!lastScoreless && !lastPass) return std::nullopt;
  const int mover = game.toMove;
  const int lead = leadOf(game, mover);
  return rackValue(game.racks[static_cast<std::size_t>(mover)]) + 20 < lead ? 99999 : -99999;
}

// Whether best-only generation may skip first squares by their bounds:
// not when every clean play must reach the pool re-evaluation, nor when
// going out (which outranks any equity) is possible under the best-only
// rule, nor when an adjustment has no limit.
std::optional<BoundRule> boundRuleFor(const Game& game, bool listRule) {
  if (game.unseenPoolEvaluation && !game.rankByScore) return std::nullopt;
  BoundRule rule;
  const bool bagEmpty = game.bag.total() == 0;
  if (!listRule) {
    if (bagEmpty) return std::nullopt;
    if (game.highestScoreBest) {
      rule.byScore = true;
      return rule;
    }
  }
  const std::optional<int> limit = placementAdjustmentLimit(game);
  if (!limit) return std::nullopt;
  rule.adjustmentLimit = *limit + (bagEmpty ? 100 : 0);  // the going-out bonus
  return rule;
}

}  // namespace

Rack keptByLabel(const Rack& rack, const char* label, bool* found) {
  Rack kept;
  const int blank = rules().blankCode;
  kept[blank] = rack[blank];
  kept[kTotalSlot] = rack[blank];
  if (found) *found = false;
  const KeptPositions positions = keptPositionsOf(label);
  for (int i = 0; i < positions.count; ++i) {
    const int code = positions.codes[i];
    if (code < kCodeSlots && code != blank && rack[code] > 0) {
      kept[code] = 1;
      ++kept[kTotalSlot];
      if (found) *found = true;
    }
  }
  return kept;
}

void GenerateMoves(Game& game, bool bestOnly) {
  GenerateMoves(game, bestOnly ? Generation::bestOnly : Generation::fullList);
}

void GenerateMoves(Game& game, Generation what) {
  if (game.playerCount <= 0) {
    PrintMessage(msg::GenNeedGame);
    return;
  }
  // The first of the list is found without the list unless the list is
  // ranked another way first: by score, or against the unseen pool.
  if (what == Generation::firstOfList && (game.rankByScore || game.unseenPoolEvaluation)) {
    GenerateMoves(game, Generation::fullList);
    game.bestMove = activeList(game).front();
    return;
  }
  const bool bestOnly = what != Generation::fullList;
  const bool listRule = what == Generation::firstOfList;
  const GameRules& r = rules();
  Board& board = game.board;
  board.lexicon = game.lexicon.get();

  // 1. Annotations and board flags.
  if (game.restrictedPlayer >= 0) {
    board.phonyLengthLimit = game.phonyPlay ? game.minPhonyLength : 999;
    AnnotateBoard(board, game, true);
  }
  const bool emptyBoard = boardIsEmpty(board);
  refreshBoardFlags(game, emptyBoard);
  if (game.unseenPoolEvaluation) clearKeepValueCache(game);

  // 2. The unseen pool of the mover.
  const int mover = game.toMove;
  const Rack& rack = game.racks[static_cast<std::size_t>(mover)];
  game.unseenPool = unseenTilesOf(game, mover);

  // 3. Reset.
  game.highestEquity = -999999;
  game.bestMove = Move{};
  game.bestMove.word = label::pass;
  game.bestMove.equity = -9999;
  game.bestMove.score = 0;
  game.bestOnlyTrack = Game::BestOnlyTrack{listRule, 0, std::numeric_limits<int>::min()};
  clearMainList(game);
  game.candidates.clear();
  activeList(game).clear();
  const int strategy = game.strategies[static_cast<std::size_t>(mover)];

  // The opening-reply hint: the previous move kept most of its rack.
  game.openingReplyHint = game.moveNumber >= 1 && game.guessTiles && isNonPlacement(game.lastMove) &&
                          static_cast<int>(game.lastMove.leaveView().size()) >= r.rackSize - 3;
  refreshEvaluationContext(game);
  const bool replyBonus = game.openingReplyHint && game.moveNumber == 1 && game.searchMode == SearchMode::none &&
                          !game.altListAActive;

  // 4. The pass. A pass that would end the game by scoreless turns has a
  // win-or-lose value instead.
  const std::optional<int> endingPass = scorelessPassValue(game);
  const std::string rackText = rackString(rack);
  // A player without leave values values every kept set of tiles at 0.
  const bool leavesOff = game.evaluation.noLeaveValues;
  const int passEquity = game.playerCount == 1 ? -99999 : (leavesOff ? 0 : LeaveValue(rackText)) - 100;
  const Move pass = nonPlacement(label::pass, rackText, passEquity, strategy);
  if (listRule) {
    game.bestMove = pass;
    if (endingPass) game.bestMove.equity = *endingPass;
  } else if (bestOnly) {
    game.candidates.push_back(pass);
  } else {
    activeList(game).push_back(pass);
  }

  // 5. Exchanges, when allowed and the bag can refill what goes back.
  if (exchangeAllowed(game)) {
    auto offer = [&](const char* label, const std::string& kept) {
      const int exchanged = rack.total() - static_cast<int>(kept.size());
      if (game.bag.total() < exchanged) return;
      Move move = nonPlacement(label, kept, leavesOff ? 0 : LeaveValue(kept), strategy);
      if (replyBonus) {
        move.equity += 300;
        move.bonus += 300;
      }
      if (!bestOnly) {
        activeList(game).push_back(move);
        return;
      }
      if (!listRule) game.candidates.push_back(move);
      // In list order: the earlier of two equal values stays.
      if (move.equity > game.bestMove.equity) game.bestMove = move;
    };
    bool found = false;
    const std::string blanksOnly = keptTiles(rack, label::exchange, found);
    const std::string retains = keptTiles(rack, label::exchangeRetains, found);
    const bool hasRetains = found;
    if (!bestOnly || listRule) {
      offer(label::exchange, blanksOnly);
      if (game.unseenPoolEvaluation && !game.rankByScore && game.searchMode != SearchMode::simulationReply) {
        const std::string optimal = OptimalKeep(game);
        if (offersOptimalExchange(game, optimal)) offer(label::exchangeOptimal, optimal);
      }
      if (hasRetains) offer(label::exchangeRetains, retains);
      const std::string keepX = keptTiles(rack, label::exchangeX, found);
      if (found) offer(label::exchangeX, keepX);
      const std::string keepS = keptTiles(rack, label::exchangeS, found);
      if (found) offer(label::exchangeS, keepS);
    } else if (hasRetains && (game.considerRetainExchange || (game.openingReplyHint && game.moveNumber == 1))) {
      offer(label::exchangeRetains, retains);
    }
  }

  // 7. The pass that would end the game keeps its value in the list; in
  // best-only generation it goes to whatever non-placement leads.
  if (endingPass && !listRule) {
    if (bestOnly) {
      if (isNonPlacement(game.bestMove)) game.bestMove.equity = *endingPass;
    } else {
      for (Move& move : activeList(game)) {
        if (isPass(move)) move.equity = *endingPass;
      }
    }
  }

  // 8. Placements.
  if (game.lexicon) {
    const bool anagrams = anagramRule();
    const bool scan = rack.total() > 7;
    // An opening on a board symmetric about its diagonal is laid in one
    // direction only: the other gives the same plays mirrored.
    const bool onlyOpening = emptyBoard && game.boardSymmetric;
    const int opening = game.openingDown ? kDown : kAcross;
    const std::optional<BoundRule> bounds = bestOnly ? boundRuleFor(game, listRule) : std::nullopt;
    if (!anagrams && !scan && bounds) {
      GenerateBestByBounds(game, onlyOpening, opening, *bounds);
    } else if (!anagrams && !scan) {
      GenerateFromEverySquare(game, bestOnly, onlyOpening, opening);
    } else {
      for (int column = 0; column < board.width; ++column) {
        for (int row = 0; row < board.height; ++row) {
          for (int pass = 0; pass < (onlyOpening ? 1 : 2); ++pass) {
            const int direction = pass == 0 ? opening : 1 - opening;
            game.bestOnlyTrack.order = squareOrder(board, column, row, pass);
            for (int length = 2; length <= kMaxWordLength; ++length) {
              if (anagrams) {
                AnagramsFromSquare(game, column, row, length, direction, bestOnly);
              } else {
                ScanWordsFromSquare(game, column, row, length, direction, bestOnly);
              }
            }
          }
        }
      }
    }
  }
  if (listRule) return;

  // 9. Sorting, stable: ties keep the order of generation.
  std::vector<Move>& list = activeList(game);
  if (game.rankByScore) {
    sortBestFirst(game.moves, [](const Move& m) { return m.score; });
  } else {
    sortBestFirst(list, [](const Move& m) { return m.equity; });
  }

  // 10. Against the unseen pool.
  if (!game.rankByScore && game.unseenPoolEvaluation && !game.altListAActive && !anagramRule()) {
    std::vector<Move>& evaluated = bestOnly ? game.candidates : game.moves;
    for (Move& move : evaluated) {
      // A pass that ends the game keeps its win-or-lose value.
      if (endingPass && isPass(move)) {
        move.equity = *endingPass;
      } else {
        ReevaluateWithPool(game.unseenPool, move, game);
      }
    }
    sortBestFirst(evaluated, [](const Move& m) { return m.equity; });
    if (bestOnly && !evaluated.empty()) game.bestMove = evaluated.front();
  }

  if (bestOnly) game.candidates.clear();
}

}  // namespace pexil
