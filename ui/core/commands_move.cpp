// The Move, Rack and Edit menus, and the moves made from the view.
#include <algorithm>
#include <random>

#include "commands.hpp"
#include "commands_state.hpp"
#include "files/rack_draw_ratings.hpp"
#include "menu_table.hpp"
#include "movegen/adjustments.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "movegen/rack_reports.hpp"
#include "pane_clipboard.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "search/endgame.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation_report.hpp"
#include "search/known_racks.hpp"
#include "search/static_endgame.hpp"
#include "search/strategy.hpp"
#include "search/tile_inference.hpp"
#include "search/timed_move.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::ui {
namespace {

// Typed tiles in their one-character forms, or none after saying what is
// wrong with them.
std::optional<std::string> TypedTiles(const std::string& typed) {
  const RackText converted = convertRackText(typed);
  if (converted.error != RackTextError::none) {
    PrintMessageF(msg::DlgNotATile, converted.offending.c_str());
    return std::nullopt;
  }
  return converted.tiles;
}

// The tiles typed to keep, as their one-character forms in rack order, or
// none after saying what is wrong: a tile that is none of the game's, or
// more of one than the rack holds.
std::optional<std::string> KeptTiles(const std::string& typed, const Rack& rack) {
  const auto tiles = TypedTiles(typed);
  if (!tiles) return std::nullopt;
  Rack kept{};
  addLetters(kept, *tiles, nullptr);
  for (int code = 0; code < kCodeSlots; ++code) {
    if (kept[code] > rack[code]) {
      PrintMessageF(msg::PlayKeepMissing, typed.c_str(), rackString(rack).c_str());
      return std::nullopt;
    }
  }
  return rackString(kept);
}

MoveLineOptions TableColumns() {
  MoveLineOptions options;
  options.showEquity = true;
  return options;
}

}  // namespace

// ---------------------------------------------------------------- Move

void Commands::runMove(int number) {
  Settings& s = session_.settings();
  if (number >= cmd::firstMood && number < cmd::firstMood + 7) {
    // The items run from +3 (extremely optimistic) down to -3.
    s.mood = 3 - (number - cmd::firstMood);
    settingsChanged();
    return;
  }
  if (number <= -1 && number >= -4) {
    setExperimentalPlayFlag(-number - 2);
    host_.commandsChanged();
    return;
  }
  switch (number) {
    case cmd::makeMove: makeMove(); return;
    case cmd::quickMove: quickMove(); return;
    case cmd::fastLookahead: lookahead(); return;
    case cmd::wordKnowledge: {
      Game& game = *session_.mutableGame();
      const auto words = prompter_.wordKnowledge(game.barredWords);
      if (!words) return;
      std::lock_guard lock(session_.gameMutex());
      SetBarredWords(game, *words);
      return;
    }
    case cmd::analyzeMove: analyzeMoveDialog(); return;
    case cmd::clockMove:
      if (confirmDropRedo()) computerMove(true);
      return;
    case cmd::recall: session_.entry().recall(); return;
    case cmd::pass: {
      if (!confirmDropRedo()) return;
      {
        std::lock_guard lock(session_.gameMutex());
        chargeUserClock(*session_.mutableGame());
        Pass(*session_.mutableGame());
      }
      noteChange();
      return;
    }
    case cmd::exchange: exchangeDialog(); return;
    case cmd::challengeLast: {
      if (!confirmDropRedo()) return;
      {
        std::lock_guard lock(session_.gameMutex());
        Game& game = *session_.mutableGame();
        if (game.challengeType == 4) {
          PrintMessage(msg::PlayChallengesOff);
          return;
        }
        ChallengeLast(game);
      }
      noteChange();
      return;
    }
    case cmd::challengeSettings: {
      ChallengeChoice initial{s.challengeType, s.challengePenalty};
      const auto choice = prompter_.challenge(initial);
      if (!choice) return;
      s.challengeType = std::clamp(choice->type, 0, 4);
      s.challengePenalty = choice->penalty;
      settingsChanged();
      return;
    }
    case cmd::highestScore: {
      auto copy = std::make_shared<Game>(*session_.game());
      startLong(Busy::search, [copy] { SearchHighestScore(*copy); });
      return;
    }
    case cmd::abort: requestAbort(); return;
    default: return;
  }
}

void Commands::makeMove() {
  Game* game = session_.mutableGame();
  if (game == nullptr || busy()) return;
  if (game->gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  BoardEntry& entry = session_.entry();
  if (entry.laid().empty()) {
    if (confirmDropRedo()) computerMove(false);
    return;
  }
  std::string why;
  const auto move = entry.laidMove(*game, &why);
  if (!move) {
    if (!why.empty()) textPane().Print(why);
    return;
  }
  playHumanMove(*move);
}

void Commands::playLine(const std::string& line) {
  Game* game = session_.mutableGame();
  if (game == nullptr || busy() || game->gameOver) return;
  const auto move = ReadMove(*game, line);
  if (move) playHumanMove(*move);
}

void Commands::playHumanMove(const Move& move) {
  if (!confirmDropRedo()) return;
  {
    std::lock_guard lock(session_.gameMutex());
    Game& game = *session_.mutableGame();
    chargeUserClock(game);
    PlayMove(game, move);
    // The '|' marks go round the tiles that lay on the board before the
    // move, not round the move's own tiles.
    MoveLineOptions options;
    options.before = &game.previousBoard;
    PrintMoveLine(game, (game.toMove + game.playerCount - 1) % game.playerCount, game.lastMove, std::string(), false,
                  options);
  }
  session_.entry().recall();
  noteChange();
}

void Commands::computerMove(bool byClock) {
  const Game* game = session_.game();
  if (game == nullptr || game->gameOver) return;
  auto copy = std::make_shared<Game>(*game);
  const int ply = state_->computerSeat == game->toMove ? state_->computerPly : 0;
  const bool clock = byClock || (state_->computerSeat == game->toMove && ply == 0);
  const std::size_t before = game->history.size();
  startLong(
      Busy::computerMove,
      [copy, clock, ply] {
        if (clock) {
          PlayTimedMove(*copy);
        } else if (ply > 0) {
          PlayFixedDepthMove(*copy, ply);
        } else {
          PlayStrategyTurn(*copy);
        }
      },
      [this, copy, before] {
        if (copy->history.size() != before) adopt(copy);
      });
}

void Commands::quickMove() {
  auto copy = std::make_shared<Game>(*session_.game());
  const bool endgame = session_.settings().quickMoveEndgame;
  startLong(Busy::search, [copy, endgame] {
    Game& game = *copy;
    if (endgame && IsEndgame(game)) {
      EndgameSearch(game);
    } else {
      GenerateMoves(game, false);
    }
    if (game.moves.empty()) return;
    textPane().Print(MoveLineHeader(game, game.toMove, 0, TableColumns()));
    moveListing().clear();
    for (const Move& m : game.moves) PrintMoveLine(game, game.toMove, m, std::string(), true, TableColumns());
    moveListing().showNextPage();
  });
}

void Commands::lookahead() {
  Settings& s = session_.settings();
  LookaheadChoice initial;
  initial.ply = std::clamp(s.simPly, 1, 99);
  initial.threads = std::clamp(s.threads > 0 ? s.threads : MaxThreads(), 1, MaxThreads());
  initial.simType = s.simType;
  initial.timeCombo = s.timeCombo;
  initial.guessTiles = s.guessTiles;
  const auto choice = prompter_.lookahead(initial);
  if (!choice) return;
  s.simPly = std::clamp(choice->ply, 1, 99);
  s.threads = std::clamp(choice->threads, 1, MaxThreads());
  s.simType = choice->simType;
  s.timeCombo = choice->timeCombo;
  s.guessTiles = choice->guessTiles;
  settingsChanged();
  auto copy = std::make_shared<Game>(*session_.game());
  copy->maximizeWinProb = s.simType == 1;
  copy->timeBudget = SimulationSeconds(s.timeCombo) * 100;
  copy->guessRackDistribution = s.guessTiles;
  copy->trackHeatmaps = s.heatmaps;
  const int ply = s.simPly, threads = s.threads;
  startLong(
      Busy::simulation, [copy, ply, threads] { FastLookahead(*copy, ply, threads); },
      [this, copy] {
        adopt(copy);
        showSimulationResults();
      });
}

void Commands::analyzeMoveDialog() {
  Settings& s = session_.settings();
  Game& game = *session_.mutableGame();
  if (game.moves.empty()) {
    std::lock_guard lock(session_.gameMutex());
    game.quiet = true;
    GenerateMoves(game, false);
    game.quiet = false;
  }
  std::vector<std::string> lines;
  const std::size_t shown = std::min<std::size_t>(game.moves.size(), 100);
  for (std::size_t i = 0; i < shown; ++i) lines.push_back(MoveLine(game, game.toMove, game.moves[i], std::string()));
  AnalyzeMoveChoice initial;
  initial.ply = std::clamp(s.simPly, 1, 99);
  initial.threads = std::clamp(s.threads > 0 ? s.threads : MaxThreads(), 1, MaxThreads());
  initial.guessTiles = s.guessTiles;
  const auto choice = prompter_.analyzeMove(lines, initial);
  if (!choice) return;
  Move move;
  if (choice->candidate >= 0 && choice->candidate < static_cast<int>(shown)) {
    move = game.moves[static_cast<std::size_t>(choice->candidate)];
  } else {
    // A custom exchange: the tiles typed are kept.
    const auto keep = KeptTiles(choice->keep, game.racks[static_cast<std::size_t>(game.toMove)]);
    if (!keep) return;
    move.word = label::exchangedTiles;
    move.setLeave(*keep);
  }
  s.simPly = std::clamp(choice->ply, 1, 99);
  s.threads = std::clamp(choice->threads, 1, MaxThreads());
  s.guessTiles = choice->guessTiles;
  settingsChanged();
  auto copy = std::make_shared<Game>(game);
  copy->guessRackDistribution = s.guessTiles;
  copy->trackHeatmaps = true;
  const int ply = s.simPly, threads = s.threads;
  PrintMessage(msg::AnalysisRunning);
  startLong(
      Busy::analysis,
      [copy, move, ply, threads] {
        copy->quiet = true;
        AnalyzeMove(*copy, move, ply, threads);
        copy->quiet = false;
        if (!copy->moves.empty()) {
          PrintMoveLine(*copy, copy->toMove, copy->moves.front(), std::string());
          PrintSimulationStats(*copy, copy->moves.front());
        }
      },
      [this, copy] { adopt(copy); });
}

void Commands::exchangeDialog() {
  Game& game = *session_.mutableGame();
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  if (!ExchangeAllowed(game)) {
    PrintMessageF(msg::DlgExchangeImpossible, game.bag[kTotalSlot]);
    return;
  }
  const auto typed = prompter_.exchange(rackString(rack));
  if (!typed) return;
  const auto keep = KeptTiles(*typed, rack);
  if (!keep) return;
  if (!confirmDropRedo()) return;
  {
    std::lock_guard lock(session_.gameMutex());
    chargeUserClock(game);
    Exchange(game, *keep);
  }
  session_.entry().recall();
  noteChange();
}

// ---------------------------------------------------------------- Rack and Edit

void Commands::runRack(int number) {
  switch (number) {
    case cmd::setRack: setRackDialog(); return;
    case cmd::fillFromWell:
    case cmd::newRack: {
      {
        std::lock_guard lock(session_.gameMutex());
        Game& game = *session_.mutableGame();
        Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
        if (number == cmd::newRack) returnAll(game.bag, rack);
        if (game.medianDraws) {
          MedianRackDraw(game, game.toMove);
        } else {
          drawTiles(rack, game.bag, rules().rackSize, &game.random);
        }
      }
      session_.entry().recall();
      noteChange();
      return;
    }
    case cmd::knownTiles: {
      Game& game = *session_.mutableGame();
      const auto typed = prompter_.knownTiles(game.typedKnownTiles);
      if (!typed) return;
      const auto tiles = TypedTiles(*typed);
      if (!tiles) return;
      std::lock_guard lock(session_.gameMutex());
      if (!SetTypedKnownTiles(game, *tiles)) {
        PrintMessageF(msg::KnownTilesBad, typed->c_str(), rules().rackSize);
        return;
      }
      const int opponent = (game.toMove + 1) % std::max(1, game.playerCount);
      if (tiles->empty()) {
        PrintMessage(msg::PlayKnownTilesForgotten);
      } else {
        PrintMessageF(msg::PlayKnownTilesSet, tilesDisplayText(typedKnownRack(game)).c_str(),
                      playerName(game, opponent).c_str());
      }
      return;
    }
    case cmd::shuffleRack: session_.entry().shuffle(std::random_device{}()); return;
    case cmd::rateDraw: {
      auto copy = std::make_shared<Game>(*session_.game());
      startLong(Busy::analysis, [copy] {
        for (const std::string& line : RackDrawReportLines(*copy, RateRackDraws(*copy))) textPane().Print(line);
      });
      return;
    }
    case cmd::leaveGuess: {
      auto copy = std::make_shared<Game>(*session_.game());
      startLong(Busy::analysis, [copy] { RunTileLeaveGuess(*copy); }, [this, copy] {
        std::lock_guard lock(session_.gameMutex());
        Game& game = *session_.mutableGame();
        game.knownRacks = copy->knownRacks;
        game.useKnownTiles = !game.knownRacks.empty();
      });
      return;
    }
    case cmd::leaveValues: {
      auto copy = std::make_shared<Game>(*session_.game());
      startLong(Busy::analysis, [copy] { EstimateLeaveValues(*copy); });
      return;
    }
    // ---- Edit ----
    case cmd::undo:
    case cmd::redo: {
      bool changed = false;
      {
        std::lock_guard lock(session_.gameMutex());
        Game& game = *session_.mutableGame();
        changed = number == cmd::undo ? undoStack().undo(game) : undoStack().redo(game);
      }
      if (changed) {
        PrintMessage(number == cmd::undo ? msg::PlayUndoLast : msg::PlayRedoDone);
        // Taking back never lets the computer reply at once.
        state_->computerMovesAutomatically = false;
        noteChange();
        state_->computerMovesAutomatically = true;
      }
      return;
    }
    case cmd::copyPane:
    case cmd::copyVisible:
    case cmd::copySimulation: {
      const TextPane& pane = textPane();
      std::string text;
      if (number == cmd::copyPane) {
        text = PaneText(pane);
      } else if (number == cmd::copyVisible) {
        text = VisiblePaneText(pane, host_.firstVisibleLine(), host_.visibleLineCount());
      } else {
        text = SimulationPaneText(pane);
      }
      host_.setClipboard(text);
      const auto lines = std::count(text.begin(), text.end(), '\n');
      PrintMessageF(msg::ClipboardCopied, static_cast<int>(lines));
      return;
    }
    default: return;
  }
}

void Commands::setRackDialog() {
  Game& game = *session_.mutableGame();
  int player = game.toMove;
  std::string typed;
  if (session_.settings().freeform || game.playerCount > 2) {
    std::vector<std::string> names;
    for (int p = 0; p < game.playerCount; ++p) names.push_back(playerName(game, p));
    const auto choice = prompter_.generalRack(names, game.toMove);
    if (!choice) return;
    player = std::clamp(choice->player, 0, game.playerCount - 1);
    typed = choice->value;
  } else {
    const auto choice = prompter_.editRack(rackString(game.racks[static_cast<std::size_t>(player)]));
    if (!choice) return;
    typed = *choice;
  }
  const auto tiles = TypedTiles(typed);
  if (!tiles) return;
  if (static_cast<int>(tiles->size()) > rules().rackSize) {
    PrintMessageF(msg::DlgRackTooLong, rules().rackSize);
    return;
  }
  {
    std::lock_guard lock(session_.gameMutex());
    if (!GiveRack(game, player, *tiles)) return;
  }
  session_.entry().recall();
  noteChange();
}

bool Commands::continueListing() {
  if (moveListing().hasMore()) {
    moveListing().showNextPage();
    host_.repaint();
    return true;
  }
  if (state_->words.hasMore()) {
    state_->words.showPage(session_.settings().highlightLexicon);
    host_.repaint();
    return true;
  }
  return false;
}

}  // namespace pexil::ui
