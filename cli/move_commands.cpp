// Commands on a position typed as a board file: moves, highest.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "board_text_file.hpp"
#include "commands.hpp"
#include "terminal_sink.hpp"
#include "state/abort_flag.hpp"
#include "state/game.hpp"
#include "play/game_flow.hpp"
#include "game_choice.hpp"
#include "game_files.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/rack_reports.hpp"
#include "rules/game_rules.hpp"
#include "rules/notation.hpp"
#include "rules/tile_counts.hpp"
#include "text/highlight_marks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "typed_text.hpp"

namespace pexil::cli {
namespace {

constexpr int kDefaultTop = 20;
constexpr int kPlayers = 2;

// A two-player game of the chosen type and list whose board is the file's,
// every rack back in the bag. The list comes with its leave tables, which
// the equity of the moves and the leave values use. 0, or the command's
// exit code after reporting what was wrong.
int setUpPosition(const ParsedOptions& options, const std::string& boardFile, Game& game) {
  auto chosen = loadChosenLexicon(options, true);
  if (!chosen.lexicon) return chosen.exitCode;
  startGame(game, kPlayers, std::shared_ptr<Lexicon>(std::move(chosen.lexicon)));
  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  return layBoardFile(game, boardFile) ? 0 : 1;
}

// The rack typed on the command line (UTF-8), or none after reporting.
std::optional<std::string> typedRack(const std::string& typed) {
  const auto latin1 = decodeTypedText(typed);
  return latin1 ? parseRackText(*latin1) : std::nullopt;
}

// Every player but the mover draws a rack from what is left.
void dealOpponents(Game& game) {
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == game.toMove) continue;
    drawTiles(game.racks[static_cast<std::size_t>(p)], game.bag, rules().rackSize, &game.random);
  }
}

// The word of a move as it lies on the board once played: tiles upper
// case, blanks lower case, the board's own tiles included and set apart by
// highlight marks as in move lines.
std::string moveWord(const Game& game, const Move& move) {
  if (isNonPlacement(move)) return std::string(move.wordView());
  const std::string_view word = move.wordView();
  std::string text;
  bool onBoard = false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int offset = static_cast<int>(i);
    const int column = move.column + (move.direction == kAcross ? offset : 0);
    const int row = move.row + (move.direction == kAcross ? 0 : offset);
    const Square* square = squareAt(game.board, column, row);
    const bool laid = square && !square->empty();
    if (laid != onBoard) {
      text.push_back(kHighlightMark);
      onBoard = laid;
    }
    text += laid ? displayLetter(square->letter, square->isBlank != 0) : displayLetter(word[i], move.isBlankAt(offset));
  }
  if (onBoard) text.push_back(kHighlightMark);
  return text;
}

std::string leaveText(const Move& move) {
  std::string text;
  for (char c : move.leaveView()) text += c == '?' ? std::string("?") : displayLetter(c, false);
  return text;
}

// Pads to a width of shown characters (highlight marks take no room).
std::string padded(std::string text, std::size_t width) {
  const std::size_t shown = shownLength(text);
  if (shown < width) text.append(width - shown, ' ');
  return text;
}

std::string rightAligned(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// The moves as a table: rank, word, position, score, leave.
void printMoveTable(const Game& game, const std::vector<const Move*>& moves) {
  std::vector<std::string> words, positions;
  std::size_t wordWidth = std::max<std::size_t>(16, MessageLength(msg::CliMovesColumnWord));
  std::size_t positionWidth = std::max<std::size_t>(4, MessageLength(msg::CliMovesColumnPosition));
  for (const Move* move : moves) {
    words.push_back(moveWord(game, *move));
    positions.push_back(isNonPlacement(*move) ? std::string()
                                              : movePosition(move->direction, move->column, move->row, true));
    wordWidth = std::max(wordWidth, shownLength(words.back()));
    positionWidth = std::max(positionWidth, positions.back().size());
  }
  const std::size_t rankWidth = std::max<std::size_t>(3, std::to_string(moves.size()).size());
  const std::size_t scoreWidth = std::max<std::size_t>(5, MessageLength(msg::CliMovesColumnScore));
  const std::size_t equityWidth = std::max<std::size_t>(7, MessageLength(msg::CliMovesColumnEquity));
  TextPane& pane = textPane();
  auto line = [&](const std::string& rank, const std::string& word, const std::string& position,
                  const std::string& score, const std::string& equity, const std::string& leave) {
    std::string text = rightAligned(rank, rankWidth) + "  " + padded(word, wordWidth) + "  " +
                       padded(position, positionWidth) + "  " + rightAligned(score, scoreWidth) + "  " +
                       rightAligned(equity, equityWidth) + "  " + leave;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    pane.Print(text);
  };
  line("", Message(msg::CliMovesColumnWord), Message(msg::CliMovesColumnPosition),
       Message(msg::CliMovesColumnScore), Message(msg::CliMovesColumnEquity), Message(msg::CliMovesColumnLeave));
  for (std::size_t i = 0; i < moves.size(); ++i) {
    // Equity is held in tenths of a point.
    const int equity = moves[i]->equity;
    line(std::to_string(i + 1), words[i], positions[i], std::to_string(moves[i]->score),
         FormatText("%s%d.%d", equity < 0 ? "-" : "", std::abs(equity) / 10, std::abs(equity) % 10), leaveText(*moves[i]));
  }
}

}  // namespace

int setUpMoverPosition(const ParsedOptions& options, Game& game) {
  const auto boardFile = options.value("--board");
  const auto rackOption = options.value("--rack");
  if (options.value("--open")) {
    bool opened = false;
    int failure = 1;
    if (!openFromOptions(game, options, opened, &failure)) return failure;
    if (game.gameOver || game.playerCount <= 0) {
      PrintMessage(msg::PlayGameOver);
      return 1;
    }
    if (rackOption) {
      const auto tiles = typedRack(*rackOption);
      if (!tiles || !GiveRack(game, game.toMove, *tiles)) return 1;
    } else if (game.racks[static_cast<std::size_t>(game.toMove)].total() == 0) {
      PrintMessageF(msg::CliNoRackToMove, playerName(game, game.toMove).c_str());
      return 1;
    }
  } else {
    if (const int failed = setUpPosition(options, *boardFile, game)) return failed;
    // The rack is read in the list's alphabet, so only now.
    const auto tiles = typedRack(*rackOption);
    if (!tiles || !GiveRack(game, game.toMove, *tiles)) return 1;
    dealOpponents(game);
  }
  prepareBoard(game);
  return 0;
}

std::string moveWordOnBoard(const Game& game, const Move& move) { return moveWord(game, move); }

int runMoves(const Arguments& args) {
  const char* usage = "moves --board FILE --rack TILES, or moves --open POSITION/RECORD [--move N] [--rack TILES]";
  const auto options = parseOptions(
      args, {"--board", "--rack", "--type", "--kind", "--list", "--top", "--rank", "--open", "--move"}, {"--best"});
  if (!options) return 2;
  const auto boardFile = options->value("--board");
  const auto rackOption = options->value("--rack");
  const bool fromFile = options->value("--open").has_value();
  if (fromFile == boardFile.has_value() || (boardFile && !rackOption) || !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  int top = kDefaultTop;
  if (const auto text = options->value("--top")) {
    const auto n = parseNumber(*text, 1, 1000000);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--top " + *text).c_str());
      return 2;
    }
    top = static_cast<int>(*n);
  }

  // Ranking: by score, by equity with the leave tables (the default), or by
  // equity against the unseen tiles.
  const std::string rank = options->value("--rank").value_or("equity");
  if (rank != "score" && rank != "equity" && rank != "pool") {
    PrintMessageF(msg::CliBadOption, ("--rank " + rank).c_str());
    return 2;
  }

  // Tables and messages naming files are easier to read unwrapped.
  NoWrapPane noWrap;
  Game game;
  if (const int failed = setUpMoverPosition(*options, game)) return failed;
  game.rankByScore = rank == "score";
  game.unseenPoolEvaluation = rank == "pool";

  const std::string rack = rackString(game.racks[static_cast<std::size_t>(game.toMove)]);
  const bool bestOnly = options->has("--best");
  GenerateMoves(game, bestOnly);

  std::vector<const Move*> shown;
  if (bestOnly) {
    PrintMessageF(msg::CliMovesBest, rack.c_str());
    shown.push_back(&game.bestMove);
  } else {
    const std::vector<Move>& list = game.moves;
    PrintMessageF(msg::CliMovesGenerated, rack.c_str(), static_cast<int>(list.size()));
    for (std::size_t i = 0; i < list.size() && static_cast<int>(i) < top; ++i) shown.push_back(&list[i]);
  }
  printMoveTable(game, shown);
  if (!bestOnly && game.moves.size() > shown.size()) {
    PrintMessageF(msg::CliMovesMore, static_cast<int>(game.moves.size() - shown.size()));
  }
  return 0;
}

int runHighest(const Arguments& args) {
  const auto options = parseOptions(args, {"--board", "--type", "--kind", "--list", "--seconds"});
  if (!options) return 2;
  const auto boardFile = options->value("--board");
  if (!boardFile || !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, "highest --board FILE");
    return 2;
  }
  double seconds = 0;
  if (const auto text = options->value("--seconds")) {
    char* end = nullptr;
    seconds = std::strtod(text->c_str(), &end);
    if (text->empty() || *end != '\0' || !(seconds > 0) || seconds > 1e7) {
      PrintMessageF(msg::CliBadOption, ("--seconds " + *text).c_str());
      return 2;
    }
  }

  Game game;
  {
    NoWrapPane noWrap;
    if (const int failed = setUpPosition(*options, *boardFile, game)) return failed;
  }
  drawTiles(game.racks[static_cast<std::size_t>(game.toMove)], game.bag, rules().rackSize, &game.random);
  dealOpponents(game);
  prepareBoard(game);

  if (seconds > 0) {
    PrintMessageF(msg::CliHighestStopsAfter, FormatText("%g", seconds).c_str());
  } else {
    PrintMessage(msg::CliHighestStopKey);
  }

  // Ctrl-C or the timer raises the abort flag that the search polls.
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread timer;
  clearAbort();
  setInterruptStopsSearch(true);
  if (seconds > 0) {
    timer = std::thread([&] {
      std::unique_lock<std::mutex> lock(mutex);
      const auto limit = std::chrono::duration<double>(seconds);
      if (!finished.wait_for(lock, limit, [&] { return done; })) requestAbort();
    });
  }
  SearchHighestScore(game);
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  finished.notify_all();
  if (timer.joinable()) timer.join();
  setInterruptStopsSearch(false);
  clearAbort();
  return 0;
}

}  // namespace pexil::cli

namespace pexil::cli {

int runLeaves(const Arguments& args) {
  const auto options = parseOptions(args, {"--board", "--rack", "--type", "--kind", "--list"});
  if (!options) return 2;
  const auto boardFile = options->value("--board");
  const auto rackOption = options->value("--rack");
  if (!boardFile || !rackOption || !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, "leaves --board FILE --rack TILES");
    return 2;
  }
  NoWrapPane noWrap;
  Game game;
  if (const int failed = setUpPosition(*options, *boardFile, game)) return failed;
  const auto tiles = typedRack(*rackOption);
  if (!tiles || !GiveRack(game, game.toMove, *tiles)) return 1;
  dealOpponents(game);
  EstimateLeaveValues(game);
  return 0;
}

}  // namespace pexil::cli
