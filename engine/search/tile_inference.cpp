#include "search/tile_inference.hpp"

#include "rules/game_rules.hpp"
#include "search/guess_summary.hpp"
#include "search/known_racks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

// The longest played-tile text a move can have.
constexpr int kMostPlayedTiles = 32;

void say(const Game& game, const std::string& text) {
  if (!game.quiet) textPane().Print(text);
}

}  // namespace

int keptTiles(const OpponentMove& last) { return rules().rackSize - last.played.total(); }

GuessChoice chooseGuess(const Game& game, const OpponentMove& last) {
  if (game.playerCount < 2 || openRacks() || anagramRule()) return GuessChoice::notPossible;
  if (game.moveNumber == 0) return GuessChoice::firstTurn;
  if (!last.known) return GuessChoice::none;
  if (last.pass || last.exchange) return GuessChoice::pass;
  // Other turns without tiles (a challenge's outcome) say nothing.
  const int played = last.played.total();
  if (played == 0 || played >= kMostPlayedTiles) return GuessChoice::none;
  const int kept = keptTiles(last);
  if (kept >= 1 && kept <= 3) return GuessChoice::leaves;
  if (kept <= 0) return GuessChoice::bingo;
  // Four to six kept tiles would need the records of kept racks, which this
  // program does not keep.
  return GuessChoice::none;
}

bool guessAppliesToLookahead(const Game& game) {
  const OpponentMove last = opponentLastMove(game);
  const GuessChoice choice = chooseGuess(game, last);
  return choice == GuessChoice::leaves || (choice == GuessChoice::pass && last.exchange);
}

int GuessOpponentRack(Game& game, int threads, GuessBudget budget) {
  ClearKnownRacks(game);
  const OpponentMove last = opponentLastMove(game);
  switch (chooseGuess(game, last)) {
    case GuessChoice::leaves:
      say(game, FormatText("Constructing rack distribution guess (known played '%s')\n", tilesDisplayText(last.played).c_str()));
      ConstructLeaveGuess(game, last, keptTiles(last), threads, budget);
      break;
    case GuessChoice::pass:
      say(game, "Constructing rack distribution guess (known opponent pass)\n");
      ConstructPassGuess(game, last, threads, budget);
      break;
    case GuessChoice::bingo:
      say(game, "Can't guess leave distribution -- last move was a bingo!\n");
      break;
    case GuessChoice::firstTurn:
      say(game, "Can't guess leave distribution -- first turn of game!\n");
      break;
    case GuessChoice::notPossible:
    case GuessChoice::none:
      say(game, "No tile guess.\n");
      break;
  }
  MergeTypedKnownTiles(game);
  PrintGuessSummary(game);
  return KnownRackCount(game);
}

void RunTileLeaveGuess(Game& game) { GuessOpponentRack(game, game.threads); }

}  // namespace pexil
