#include "play/listings.hpp"

#include <string>

#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "tables/rack_tables.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr std::size_t kConciseEntryWidth = 10;
constexpr int kConciseEntriesPerLine = 3;

void repaint() { textPane().PrintAndRefresh(std::string_view()); }

// Tiles that remain in the well once every rack has been filled.
int tilesLeftAfterRefills(const Game& game) {
  const int rackSize = rules().rackSize;
  int left = game.bag.total();
  for (int p = 0; p < game.playerCount && p < kMaxPlayers; ++p) {
    const int shortfall = rackSize - game.racks[static_cast<std::size_t>(p)].total();
    if (shortfall <= 0) continue;
    left -= shortfall;
    if (left < 0) left = 0;
  }
  return left;
}

LetterCounts unseenBy(const Game& game, int viewer) {
  LetterCounts unseen = game.bag;
  if (openRacks()) return unseen;
  for (int p = 0; p < game.playerCount && p < kMaxPlayers; ++p) {
    if (p == viewer) continue;
    const Rack& rack = game.racks[static_cast<std::size_t>(p)];
    for (int slot = 0; slot <= kTotalSlot; ++slot) unseen[slot] += rack[slot];
  }
  return unseen;
}

void printConcise(const LetterCounts& unseen) {
  TextPane& pane = textPane();
  const int codeCount = rules().codeCount;
  std::string line;
  int entries = 0;
  for (int code = 0; code < codeCount && code < kCodeSlots; ++code) {
    if (unseen[code] <= 0) continue;
    const std::string tile = tileDisplayText(code);
    std::string entry = FormatText("%s:%s%3d ", tile.c_str(), tile.size() == 1 ? " " : "", unseen[code]);
    while (entry.size() < kConciseEntryWidth) entry.push_back(' ');
    line += entry;
    if (++entries == kConciseEntriesPerLine) {
      pane.Print(line);
      line.clear();
      entries = 0;
    }
  }
  if (entries > 0) pane.Print(line);
}

void printFull(const LetterCounts& unseen) {
  TextPane& pane = textPane();
  const int codeCount = rules().codeCount;
  for (int code = 0; code < codeCount && code < kCodeSlots; ++code) {
    if (unseen[code] == 0) continue;
    const std::string tile = tileDisplayText(code);
    std::string line;
    for (int n = 0; n < unseen[code]; ++n) {
      line += tile;
      if (tile.size() > 1) line.push_back(' ');
    }
    pane.Print(line);
  }
}

// The column before each history move line: the rack before the move, or
// the leave, or dashes.
std::string rackColumn(const HistoryEntry& entry, bool hideHistoryRacks) {
  const int rackSize = rules().rackSize;
  auto padded = [rackSize](std::string text, std::size_t tiles) {
    for (int n = static_cast<int>(tiles); n < rackSize; ++n) text.push_back(' ');
    return text;
  };
  if (!hideHistoryRacks) {
    if (entry.rackKnown) {
      const std::string rack = countsToText(entry.rackBefore).value_or(std::string());
      return padded("(" + rack + ") ", rack.size());
    }
    const std::string leave(entry.move.move().leaveView());
    if (!leave.empty()) return padded("[" + leave + "] ", leave.size());
  }
  return std::string(static_cast<std::size_t>(rackSize + 2), '-') + " ";
}

// A change of score that no move line shows: who, why, how many points.
std::string scoreChangeLine(const ScoreChange& change) {
  const char* unit = Message(change.points == 1 || change.points == -1 ? msg::HistoryPoint : msg::HistoryPoints);
  const int player = change.player + 1;
  switch (change.kind) {
    case ScoreChangeKind::challengePenalty:
      return FormatMessage(msg::HistoryChallengeBonus, player, change.points, unit, change.afterEntry);
    case ScoreChangeKind::endRackGain:
      return FormatMessage(msg::HistoryEndRackGain, player, change.points, unit, change.rackOf + 1,
                           countsToText(change.tiles).value_or(std::string()).c_str());
    case ScoreChangeKind::endRackLoss:
      return FormatMessage(msg::HistoryEndRackLoss, player, change.points, unit,
                           countsToText(change.tiles).value_or(std::string()).c_str());
    case ScoreChangeKind::timePenalty: return FormatMessage(msg::HistoryTimePenalty, player, change.points, unit);
  }
  return std::string();
}

}  // namespace

void ShowWell(const Game& game, int viewer, bool concise) {
  TextPane& pane = textPane();
  const GameRules& r = rules();
  const LetterCounts unseen = unseenBy(game, viewer);
  const int left = tilesLeftAfterRefills(game);
  const std::string stars(50, '*');

  pane.Print(stars);
  pane.Print(left == 1 ? std::string(Message(msg::WellOneTileLeft)) : FormatMessage(msg::WellTilesLeft, left));

  bool negative = false;
  for (int code = 0; code < r.codeCount && code < kCodeSlots; ++code) negative = negative || unseen[code] < 0;
  if (negative) {
    pane.Print(std::string(Message(msg::WellNoteLine1)) + " " + Message(msg::WellNoteLine2) + " " +
               Message(msg::WellNoteLine3));
  }

  if (unseen.total() < 1) {
    pane.Print(Message(msg::WellAllSeen));
  } else {
    pane.Print(Message(openRacks() ? msg::WellRemainingHeading : msg::WellUnseenHeading));
    if (concise) {
      printConcise(unseen);
    } else {
      printFull(unseen);
    }
    int vowels = 0;
    for (int code = 0; code < r.letterCount && code < kCodeSlots; ++code) {
      if (isVowel(charOfUpper(code))) vowels += unseen[code];
    }
    const int blanks = unseen[r.blankCode];
    pane.Print(FormatMessage(msg::WellVowels, vowels, unseen.total() - vowels - blanks, blanks));
  }
  pane.Print(stars);
  repaint();
}

void ShowHistory(const Game& game, bool hideHistoryRacks) {
  if (game.history.empty() || game.playerCount <= 0) return;
  TextPane& pane = textPane();
  pane.SetColour(colour::cyan);
  pane.Print(std::string(40, '*'));
  pane.Print(Message(msg::HistoryHeading));

  MoveLineOptions options;
  options.boardKnown = false;  // the board before each move is not kept
  int player = 0;
  for (const HistoryEntry& entry : game.history) {
    const std::string line = MoveLine(game, player, entry.move.move(), rackColumn(entry, hideHistoryRacks), options);
    const bool wasNoWrap = pane.NoWrap();
    pane.SetNoWrap(true);
    pane.Print(line);
    pane.SetNoWrap(wasNoWrap);
    player = (player + 1) % game.playerCount;
  }
  // The points no move line shows, so that the listing accounts for every
  // point scored during the game.
  for (const ScoreChange& change : game.scoreChanges) pane.Print(scoreChangeLine(change));

  pane.SetColour(colour::green);
  for (int p = 0; p < game.playerCount && p < kMaxPlayers; ++p) {
    const int score = game.scores[static_cast<std::size_t>(p)];
    pane.Print(FormatMessage(msg::HistoryPlayerScore, p + 1, playerName(game, p).c_str(), score,
                             Message(score == 1 ? msg::HistoryPoint : msg::HistoryPoints)));
  }
  repaint();
}

void ShowStatistics(const Game& game) {
  TextPane& pane = textPane();
  const GameRules& r = rules();
  const int players = game.playerCount;
  const std::string dashes(50, '-');
  pane.SetColour(colour::white);

  for (int i = 0; i < players && i < kMaxPlayers; ++i) {
    pane.Print(dashes);
    pane.Print(FormatMessage(msg::StatsHeading, playerName(game, i).c_str()));
    pane.Print(dashes);

    int bingos = 0;
    int knownRacks = 0;
    long rackValueSum = 0;
    for (std::size_t e = static_cast<std::size_t>(i); e < game.history.size(); e += static_cast<std::size_t>(players)) {
      const HistoryEntry& entry = game.history[e];
      const Move& move = entry.move.move();
      if (move.leaveView().empty() && move.score >= r.bingoBonus) ++bingos;
      if (entry.rackKnown && entry.rackBefore.total() >= r.rackSize) {
        // A rack the full-rack table does not know does not count.
        if (const auto value = FullRackValue(entry.rackBefore)) {
          rackValueSum += *value;
          ++knownRacks;
        }
      }
    }
    pane.Print(FormatMessage(msg::StatsBingos, bingos));

    int turnover = 0;
    int value = 0;
    for (const Square& square : game.board.squares) {
      if (square.empty() || square.placedMark < 0 || square.placedMark % players != i) continue;
      ++turnover;
      value += square.isBlank ? r.bingoBonus / 2 : letterValue(square.letter, false);
    }
    if (game.gameOver) value += rackValue(game.racks[static_cast<std::size_t>(i)]);
    pane.Print(FormatMessage(msg::StatsTurnover, turnover));
    pane.Print(FormatMessage(msg::StatsValue, value));
    pane.Print(Message(msg::StatsBlankNote));

    // The turnover test only matters for a finished game in which the
    // player laid nothing: the value is then the rack left, and there is
    // no score per tile to show.
    const double score = game.scores[static_cast<std::size_t>(i)];
    if (value > 0 && turnover > 0) {
      pane.Print(FormatMessage(msg::StatsEfficiency, score / value));
      pane.Print(FormatMessage(msg::StatsScorePerTile, score / turnover));
    }
    if (knownRacks > 0) {
      pane.Print(FormatMessage(msg::StatsAverageRack, static_cast<double>(rackValueSum) / (10.0 * knownRacks)));
    }
  }

  pane.Print(std::string(50, '*'));
  pane.SetColour(colour::green);
  repaint();
}

}  // namespace pexil
