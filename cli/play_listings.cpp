// What a "play" session shows on request: the best move, the move list
// (with equity and leave columns), and the tiles not yet seen.
#include "commands.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "options.hpp"
#include "play/listings.hpp"
#include "play_session.hpp"
#include "play_text.hpp"
#include "search/endgame.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation.hpp"
#include "search/simulation_report.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

// The user's own moves, generated on a copy (the game itself does not
// change); their leaves are shown.
Game generatedCopy(const Game& game) {
  Game copy = game;
  copy.hideLeaves = false;
  copy.unseenPoolEvaluation = false;
  GenerateMoves(copy, false);
  return copy;
}

// Move lines read as a table here: equity, then leave, under titles.
MoveLineOptions tableColumns() {
  MoveLineOptions options;
  options.showEquity = true;
  return options;
}

// A command's one optional number (its second word) into `value`, which
// keeps its default without one; false, after saying so, for anything else.
bool optionalNumber(const std::vector<std::string>& words, long long least, long long most, long long& value) {
  if (words.size() < 2) return true;
  const auto n = parseNumber(words[1], least, most);
  if (!n || words.size() > 2) {
    PrintMessageF(msg::CliBadOption, (words[0] + " " + words[1]).c_str());
    return false;
  }
  value = *n;
  return true;
}

}  // namespace

void PlaySession::handleHint() {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  const Game copy = generatedCopy(game_);
  const Move& best = copy.moves.empty() ? copy.bestMove : copy.moves.front();
  PrintMessage(msg::PlayBestMove);
  textPane().Print(MoveLineHeader(copy, user_, 0, tableColumns()));
  PrintMoveLine(copy, user_, best, std::string(), false, tableColumns());
}

void PlaySession::handleMoves(const std::vector<std::string>& words) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  long long most = -1;
  if (!optionalNumber(words, 1, 1000000, most)) return;
  const Game copy = generatedCopy(game_);
  PrintMessageF(msg::CliMovesGenerated, rackText(copy.racks[static_cast<std::size_t>(user_)]).c_str(),
                static_cast<int>(copy.moves.size()));
  if (copy.moves.empty()) return;
  textPane().Print(MoveLineHeader(copy, user_, 0, tableColumns()));
  moveListing().clear();
  for (std::size_t i = 0; i < copy.moves.size() && (most < 0 || static_cast<long long>(i) < most); ++i) {
    PrintMoveLine(copy, user_, copy.moves[i], std::string(), true, tableColumns());
  }
  moveListing().showNextPage();
}

void PlaySession::handleSimulate(const std::vector<std::string>& words) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  long long ply = 2;
  if (!optionalNumber(words, 0, 20, ply)) return;
  auto copy = std::make_unique<Game>(game_);
  copy->toMove = user_;
  copy->hideLeaves = false;
  PrintMessageF(msg::PlaySimulationOf, static_cast<int>(ply), rackText(copy->racks[static_cast<std::size_t>(user_)]).c_str());
  setInterruptStopsSearch(true);
  FastLookahead(*copy, static_cast<int>(ply), copy->threads);
  setInterruptStopsSearch(false);
  clearAbort();
  simulated_ = std::move(copy);
  printResultsTable(-1);
}

// The simulated list as the results view shows it, page by page; with
// `selected` >= 0 the statistics of that move after it.
void PlaySession::printResultsTable(int selected) {
  const Game& copy = *simulated_;
  if (copy.moves.empty()) return;
  textPane().Print(SimulationResultsHeading(copy));
  textPane().Print(MoveLineHeader(copy, user_, 0, tableColumns()));
  moveListing().clear();
  for (const Move& move : copy.moves) PrintMoveLine(copy, user_, move, std::string(), true, tableColumns());
  if (selected >= 0 && selected < static_cast<int>(copy.moves.size())) {
    const Move& move = copy.moves[static_cast<std::size_t>(selected)];
    PrintMoveLine(copy, user_, move, FormatText("Move %d: ", selected + 1), false, tableColumns());
    PrintSimulationStats(copy, move);
  }
  moveListing().showNextPage();
}

// "results [N]": the last simulation again, with the statistics of its
// move N.
void PlaySession::handleResults(const std::vector<std::string>& words) {
  if (!simulated_ || simulated_->moves.empty()) {
    textPane().Print("No simulation results yet: type sim first.\n");
    return;
  }
  long long selected = 1;
  if (!optionalNumber(words, 1, static_cast<long long>(simulated_->moves.size()), selected)) return;
  const Game& copy = *simulated_;
  const Move& move = copy.moves[static_cast<std::size_t>(selected - 1)];
  textPane().Print(SimulationResultsHeading(copy));
  textPane().Print(MoveLineHeader(copy, user_, 0, tableColumns()));
  const std::size_t shown = std::min<std::size_t>(copy.moves.size(), 10);
  for (std::size_t i = 0; i < shown; ++i) PrintMoveLine(copy, user_, copy.moves[i], std::string(), false, tableColumns());
  textPane().Print("");
  PrintMoveLine(copy, user_, move, FormatText("Move %d: ", static_cast<int>(selected)), false, tableColumns());
  PrintSimulationStats(copy, move);
}

// "endgame [N]": with the bag empty every tile is known, so the user may
// have the endgame searched for the own rack (on a copy); N lines (20).
void PlaySession::handleEndgame(const std::vector<std::string>& words) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  long long top = 20;
  if (!optionalNumber(words, 1, 100000, top)) return;
  Game copy = game_;
  copy.toMove = user_;
  copy.hideLeaves = false;
  if (copy.bag.total() != 0 || copy.playerCount != 2) {
    textPane().Print("Not an endgame: the bag must be empty.\n");
    return;
  }
  setInterruptStopsSearch(true);
  EndgameSearch(copy);
  setInterruptStopsSearch(false);
  clearAbort();
  printEndgameList(copy, static_cast<int>(top));
}

// "well" lists the unseen tiles one line per letter; "well --concise" in
// the compact form, three counts to a line.
void PlaySession::handleWell(const std::vector<std::string>& words) {
  bool concise = false;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string word = asciiLower(words[i]);
    if (word != "--concise" && word != "concise") {
      PrintMessageF(msg::CliBadOption, words[i].c_str());
      return;
    }
    concise = true;
  }
  ShowWell(game_, user_, concise);
}

}  // namespace pexil::cli
