// The File, Game and Board menus.
#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>

#include "commands.hpp"
#include "commands_state.hpp"
#include "files/game_analysis_report.hpp"
#include "files/game_file_actions.hpp"
#include "files/game_recap.hpp"
#include "files/rack_draw_ratings.hpp"
#include "menu_table.hpp"
#include "play/game_flow.hpp"
#include "play/listings.hpp"
#include "rules/board_text.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "search/simulation_report.hpp"
#include "search/strategy.hpp"
#include "search/timed_move.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"
#include "text/text_pane.hpp"
#include "movegen/move_line.hpp"

namespace pexil::ui {
namespace {

std::vector<std::string> PlayerNames(const Game& game) {
  std::vector<std::string> names;
  for (int p = 0; p < game.playerCount; ++p) names.push_back(playerName(game, p));
  return names;
}

std::vector<int> PlayerScores(const Game& game) {
  return {game.scores.begin(), game.scores.begin() + game.playerCount};
}

// The board as text lines, kept whole whatever the pane's wrapping.
void PrintBoardText(const Game& game) {
  TextPane& pane = textPane();
  const bool noWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  for (const std::string& line : boardTextLines(game.board, &game.previousBoard)) pane.Print(line.empty() ? " " : line);
  pane.SetNoWrap(noWrap);
}

}  // namespace

// ---------------------------------------------------------------- File

void Commands::runFile(int number) {
  switch (number) {
    case cmd::openGame:
    case cmd::openPosition: {
      if (!confirmAbandonUnsaved()) return;
      const auto path = prompter_.openFile(number == cmd::openGame ? FileKind::game : FileKind::position);
      if (path) openFile(*path, number == cmd::openGame);
      return;
    }
    case cmd::saveGame:
    case cmd::saveGameAs:
    case cmd::savePosition:
    case cmd::savePositionAs: {
      const bool record = number == cmd::saveGame || number == cmd::saveGameAs;
      std::string path = record ? state_->files.record : state_->files.position;
      if (path.empty() || number == cmd::saveGameAs || number == cmd::savePositionAs) {
        const auto chosen = prompter_.saveFile(record ? FileKind::game : FileKind::position, record ? "game" : "position");
        if (!chosen) return;
        path = *chosen;
      }
      const Game& game = *session_.game();
      if (record ? saveRecord(game, path, &state_->files) : pexil::savePosition(game, path, &state_->files)) {
        state_->savedAt = state_->changes;
        noteRecent(path);
      }
      return;
    }
    case cmd::saveRecap: saveRecap(); return;
    case cmd::analyzeGame: analyzeGameDialog(); return;
    case cmd::saveRatings: {
      const auto path = prompter_.saveFile(FileKind::ratings, "game");
      if (!path) return;
      auto copy = std::make_shared<Game>(*session_.game());
      const std::string target = *path;
      // Thousands of redraws per move: a worker's job.
      startLong(Busy::analysis, [copy, target] {
        const auto lines = RackDrawReportLines(*copy, RateRackDraws(*copy));
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines) out << line << "\r\n";
        out.flush();
        if (!out) {
          PrintMessageF(msg::FileCannotWrite, target.c_str());
        } else {
          PrintMessageF(msg::CliRatingsWritten, target.c_str());
        }
      });
      return;
    }
    case cmd::saveBoardImage:
    case cmd::saveScreenImage: {
      const bool board = number == cmd::saveBoardImage;
      const auto path = prompter_.saveFile(FileKind::image, board ? "board" : "screen");
      if (!path) return;
      std::string error;
      if (!host_.saveImage(board, *path, error)) textPane().Print("Cannot write " + *path + ": " + error);
      return;
    }
    case cmd::exit: host_.closeWindow(); return;
    default: return;
  }
}

bool Commands::confirmAbandonUnsaved() {
  const Game* game = session_.game();
  if (game == nullptr || state_->changes == state_->savedAt || game->history.empty()) return true;
  if (!prompter_.confirm(Message(msg::SaveGameFirstQuestion))) return true;
  const auto path = prompter_.saveFile(FileKind::game, "game");
  if (!path) return false;
  if (!saveRecord(*game, *path, &state_->files)) return false;
  state_->savedAt = state_->changes;
  noteRecent(*path);
  return true;
}

bool Commands::confirmClose() { return busy() || confirmAbandonUnsaved(); }

void Commands::openFile(const std::string& path, bool record) {
  // Read into a game of its own on a worker; the game shown stays until
  // the new one is ready, and stays for good when the file cannot be read.
  auto loaded = std::make_shared<Game>();
  if (const Game* current = session_.game()) *loaded = *current;
  auto names = std::make_shared<GameFileNames>(state_->files);
  auto opened = std::make_shared<bool>(false);
  const int kind = rules().gameKind, type = rules().gameTypeIndex, alphabet = wordListAlphabet();
  startLong(
      Busy::loading,
      [this, loaded, names, opened, path, record] {
        // Reading a file sets up its game type's rules, which painting
        // reads: the game stays locked meanwhile, so painting waits.
        std::lock_guard lock(session_.gameMutex());
        *opened = record ? openRecord(*loaded, path, -1, names.get()) : openPosition(*loaded, path, names.get());
      },
      [this, loaded, names, opened, kind, type, alphabet, path] {
        if (!*opened) {
          state_->recent.remove(path);
          // The rules and alphabet of the game still shown.
          if (session_.game() != nullptr) {
            activateGameType(kind, type);
            setWordListAlphabet(alphabet);
          }
          return;
        }
        state_->files = *names;
        state_->computerSeat = -1;
        adopt(loaded);
        state_->changes = state_->savedAt = 0;
        noteRecent(path);
      });
}

void Commands::saveRecap() {
  const auto path = prompter_.saveFile(FileKind::recap, "game");
  if (!path) return;
  // The board picture first, beside the page and named in it.
  RecapOptions options;
  options.highlightLexicon = session_.settings().highlightLexicon;
  const std::string image = RecapImagePath(*path);
  std::string error;
  if (host_.saveImage(true, image, error)) {
    options.imageFile = FileNameOf(image);
  } else {
    PrintMessage(msg::RecapNoImage);
  }
  if (WriteGameRecap(*session_.game(), *path, options)) {
    PrintMessageF(msg::RecapSavedAs, path->c_str());
  } else {
    PrintMessageF(msg::FileCannotWrite, path->c_str());
  }
}

void Commands::analyzeGameDialog() {
  if (busy()) return;
  const auto record = prompter_.openFile(FileKind::game);
  if (!record) return;
  Settings& s = session_.settings();
  AnalyzeGameChoice initial;
  initial.topMoves = std::max(1, s.topMoves);
  initial.minSim = std::max(0, s.minSim);
  initial.ply = std::clamp(s.simPly, 1, 99);
  initial.tileGuesses = s.outputTileGuesses;
  initial.heatmaps = s.outputHeatmap;
  initial.path = AnalysisReportPath(*record);
  const auto choice = prompter_.analyzeGame(initial);
  if (!choice) return;
  s.topMoves = std::max(1, choice->topMoves);
  s.minSim = std::max(0, choice->minSim);
  s.simPly = std::clamp(choice->ply, 1, 99);
  s.outputTileGuesses = choice->tileGuesses;
  s.outputHeatmap = choice->heatmaps;
  settingsChanged();
  auto report = std::make_shared<std::ofstream>(choice->path, std::ios::binary | std::ios::trunc);
  if (!*report) {
    prompter_.message(Message(msg::OutputFileError));
    return;
  }
  GameAnalysisOptions options;
  options.topMoves = s.topMoves;
  options.minSimulations = s.minSim;
  options.ply = s.simPly;
  options.threads = std::clamp(s.threads > 0 ? s.threads : MaxThreads(), 1, MaxThreads());
  options.tileGuesses = s.outputTileGuesses;
  options.heatmaps = s.outputHeatmap;
  const std::string target = choice->path;
  const std::string source = *record;
  PrintMessageF(msg::AnalysisStarting, source.c_str());
  // The report file takes the pane's output until the worker is done; the
  // progress shows in the pane itself.
  textPane().Redirect(report.get());
  // The record's game type may not be the window's: its rules are in
  // force for the analysis, with the window's game set aside.
  const bool started = startOwnGames(Busy::analysis, [report, options, source, target] {
    const auto start = std::chrono::steady_clock::now();
    const GameAnalysisSummary summary = AnalyzeGameRecord(source, options, [start](int number, int total) {
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      textPane().PrintProgressToPane(AnalysisProgressLine(number, total, seconds));
    });
    textPane().EndRedirect();
    report->close();
    if (!*report) {
      PrintMessageF(msg::FileCannotWrite, target.c_str());
    } else if (summary.opened) {
      PrintMessageF(msg::AnalysisWritten, target.c_str());
    }
  });
  if (!started) textPane().EndRedirect();
}

void Commands::noteRecent(const std::string& path) {
  state_->recent.add(path);
  state_->recent.save(session_.store());
  session_.saveSettings();
}

const std::vector<std::string>& Commands::recentFiles() const { return state_->recent.paths(); }

void Commands::openRecent(std::size_t index) {
  if (busy() || index >= state_->recent.paths().size()) return;
  const std::string path = state_->recent.paths()[index];
  if (!confirmAbandonUnsaved()) return;
  openFile(path, looksLikeRecord(path));
}

void Commands::adopt(const std::shared_ptr<Game>& game) {
  {
    std::lock_guard lock(session_.gameMutex());
    session_.replaceGame(std::make_unique<Game>(std::move(*game)));
  }
  ++state_->changes;
}

// ---------------------------------------------------------------- Game

void Commands::runGame(int number) {
  Settings& s = session_.settings();
  switch (number) {
    case cmd::startGame: startGameDialog(); return;
    case cmd::newGame: {
      if (!confirmAbandonUnsaved()) return;
      std::lock_guard lock(session_.gameMutex());
      Game& game = *session_.mutableGame();
      ResetGame(game);
      undoStack().clear();
      session_.applyEngineSettings();
      PrintMessage(msg::GameReady);
      noteChange();
      state_->savedAt = state_->changes;
      return;
    }
    case cmd::playPexil: playPexilDialog(); return;
    case cmd::autoplay: autoplay(); return;
    case cmd::setClock: {
      ClockChoice initial;
      initial.time = ClockText(s.defaultTime);
      const auto choice = prompter_.clock(initial);
      if (!choice) return;
      const auto time = ParseClockTime(choice->time);
      if (!time) {
        PrintMessage(msg::PlayInvalidTime);
        return;
      }
      s.defaultTime = *time;
      {
        std::lock_guard lock(session_.gameMutex());
        Game& game = *session_.mutableGame();
        for (int p = 0; p < game.playerCount; ++p) {
          if (choice->allPlayers || p == game.toMove) game.clocks[static_cast<std::size_t>(p)] = *time;
        }
      }
      settingsChanged();
      return;
    }
    case cmd::bagContents: {
      const Game& game = *session_.game();
      ShowWell(game, game.toMove, s.conciseWell);
      return;
    }
    case cmd::setScores: setScores(); return;
    case cmd::playerNames: setNames(); return;
    case cmd::gameHistory: ShowHistory(*session_.game(), session_.game()->hideLeaves); return;
    case cmd::gameStatistics: ShowStatistics(*session_.game()); return;
    case cmd::jumpStart:
    case cmd::jumpEnd: {
      std::lock_guard lock(session_.gameMutex());
      Game& game = *session_.mutableGame();
      int steps = 0;
      while (number == cmd::jumpStart ? undoStack().undo(game) : undoStack().redo(game)) ++steps;
      if (steps > 0) noteChange();
      return;
    }
    case cmd::annotate: {
      Game& game = *session_.mutableGame();
      if (game.history.empty()) return;
      std::string current;
      for (const std::string& note : game.history.back().notes) current += (current.empty() ? "" : "\n") + note;
      const auto text = prompter_.annotate(current);
      if (!text) return;
      std::vector<std::string> notes;
      std::size_t start = 0;
      while (start <= text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) notes.push_back(line);
        start = end + 1;
      }
      std::lock_guard lock(session_.gameMutex());
      game.history.back().notes = std::move(notes);
      noteChange();
      return;
    }
    case cmd::forfeit: {
      if (!prompter_.confirm(Message(msg::PlayAbandonQuestion))) return;
      if (busy()) {
        requestAbort();
        joinWorker();
      }
      std::lock_guard lock(session_.gameMutex());
      Game& game = *session_.mutableGame();
      PrintMessageF(msg::ForfeitDone, playerName(game, game.toMove).c_str());
      game.gameOver = true;
      noteChange();
      return;
    }
    // ---- Board ----
    case cmd::printBoard: PrintBoardText(*session_.game()); return;
    case cmd::simulationResults: showSimulationResults(); return;
    default: return;
  }
}

void Commands::noteChange() {
  ++state_->changes;
  afterChange();
}

void Commands::startGameDialog() {
  const std::vector<std::string> names = GameTypeNames();
  if (names.empty()) {
    PrintMessage(msg::NoGameDefinitions);
    return;
  }
  GameChoice initial;
  initial.gameType = std::clamp(session_.settings().defaultGameType, 0, static_cast<int>(names.size()) - 1);
  initial.players = state_->players;
  const auto choice = prompter_.selectGame(names, initial);
  if (!choice || !confirmAbandonUnsaved()) return;
  const auto [least, most] = PlayerRange(choice->gameType);
  if (choice->players < least || choice->players > most) {
    PrintMessageF(msg::StartGamePlayers, names[static_cast<std::size_t>(choice->gameType)].c_str(), least, most);
    return;
  }
  state_->players = choice->players;
  state_->computerSeat = -1;
  setUpGame(choice->gameType, choice->players, {});
}

void Commands::setUpGame(int index, int players, std::function<void()> then) {
  if (busy()) return;
  {
    std::lock_guard lock(session_.gameMutex());
    if (!session_.prepareGame(index)) return;
  }
  undoStack().clear();
  // The word list is read on a worker while the window stays live; the
  // game is dealt back on the interface thread.
  auto lexicon = std::make_shared<std::shared_ptr<Lexicon>>();
  startLong(
      Busy::loading, [index, lexicon] { *lexicon = Session::LoadWordList(index); },
      [this, index, players, lexicon, then = std::move(then)] {
        {
          std::lock_guard lock(session_.gameMutex());
          if (!session_.finishGame(index, players, *lexicon)) return;
        }
        state_->files = {};
        state_->changes = state_->savedAt = 0;
        if (then) then();
      });
}

void Commands::setScores() {
  Game& game = *session_.mutableGame();
  const auto names = PlayerNames(game);
  const auto scores = PlayerScores(game);
  auto readScore = [](const std::string& text) { return ParseBounded(text, -99999, 99999); };
  if (game.playerCount == 2) {
    const auto typed = prompter_.twoScores(names, scores);
    if (!typed || typed->size() != 2) return;
    const auto first = readScore((*typed)[0]), second = readScore((*typed)[1]);
    if (!first || !second) {
      PrintMessageF(msg::DlgNumberRange, -99999, 99999);
      return;
    }
    std::lock_guard lock(session_.gameMutex());
    game.scores[0] = *first;
    game.scores[1] = *second;
  } else {
    const auto typed = prompter_.playerScore(names, scores);
    if (!typed || typed->player < 0 || typed->player >= game.playerCount) return;
    const auto score = readScore(typed->value);
    if (!score) {
      PrintMessageF(msg::DlgNumberRange, -99999, 99999);
      return;
    }
    std::lock_guard lock(session_.gameMutex());
    game.scores[static_cast<std::size_t>(typed->player)] = *score;
  }
  noteChange();
}

void Commands::setNames() {
  Game& game = *session_.mutableGame();
  const auto names = PlayerNames(game);
  std::lock_guard lock(session_.gameMutex());
  if (game.playerCount == 2) {
    const auto typed = prompter_.twoNames(names);
    if (!typed || typed->size() != 2) return;
    for (int p = 0; p < 2; ++p) {
      if (!(*typed)[static_cast<std::size_t>(p)].empty()) SetPlayerName(game, p, (*typed)[static_cast<std::size_t>(p)]);
    }
  } else {
    const auto typed = prompter_.playerName(names);
    if (!typed || typed->player < 0 || typed->player >= game.playerCount || typed->value.empty()) return;
    SetPlayerName(game, typed->player, typed->value);
  }
  ++state_->changes;
}

void Commands::playPexilDialog() {
  Settings& s = session_.settings();
  PlayPexilChoice initial;
  initial.name = s.playerName;
  initial.playType = s.defaultPlayType;
  initial.amount = s.defaultPlayType == 0 ? ClockText(s.defaultTime) : std::to_string(std::max(1, s.simPly));
  const auto choice = prompter_.playPexil(initial);
  if (!choice) return;
  int ply = 0, time = 0;
  if (choice->playType == 0) {
    const auto t = ParseClockTime(choice->amount);
    if (!t) {
      PrintMessage(msg::PlayInvalidTime);
      return;
    }
    time = *t;
    s.defaultTime = time;
  } else {
    const auto p = ParseBounded(choice->amount, 1, 40);
    if (!p) {
      PrintMessage(msg::PlayBadPly);
      return;
    }
    ply = *p;
  }
  if (!confirmAbandonUnsaved()) return;
  int seat = 1;
  switch (choice->firstTurn) {
    case 1: seat = 0; break;
    case 2: seat = 1 - state_->lastComputerSeat; break;
    case 3: seat = static_cast<int>(std::random_device{}() & 1U); break;
    default: seat = 1; break;
  }
  s.playerName = choice->name;
  s.defaultPlayType = choice->playType;
  s.lastGamePlayer = seat;
  session_.saveSettings();
  const int type = session_.game() != nullptr ? session_.game()->gameTypeIndex : s.defaultGameType;
  const std::string human = choice->name.empty() ? std::string(Message(msg::PlayDefaultName)) : choice->name;
  const bool sameTime = choice->sameTime;
  setUpGame(std::max(0, type), 2, [this, seat, ply, time, human, sameTime] {
    Game& game = *session_.mutableGame();
    {
      std::lock_guard lock(session_.gameMutex());
      SetPlayerName(game, seat, Message(msg::PlayComputerName));
      SetPlayerName(game, 1 - seat, human);
      if (ply == 0) {
        game.clocks[static_cast<std::size_t>(seat)] = time;
        if (sameTime) game.clocks[static_cast<std::size_t>(1 - seat)] = time;
      }
    }
    state_->computerSeat = seat;
    state_->lastComputerSeat = seat;
    state_->computerPly = ply;
    // When the computer has the first seat it moves at once.
    afterChange();
  });
}

void Commands::autoplay() {
  auto copy = std::make_shared<Game>(*session_.game());
  // Move by move on a copy; each position is shown as it is reached.
  startLong(Busy::autoplay, [this, copy] {
    PrintMessage(msg::AutoplayStarting);
    while (!copy->gameOver && !abortRequested()) {
      PlayStrategyTurn(*copy);
      auto shown = std::make_shared<Game>(*copy);
      post([this, shown] {
        std::lock_guard lock(session_.gameMutex());
        session_.replaceGame(std::make_unique<Game>(std::move(*shown)));
      });
    }
    if (copy->gameOver) PrintMessage(msg::AutoplayFinished);
  }, [this, copy] { adopt(copy); });
}

// The last simulation's table (the game's move list as the lookahead left
// it), the statistics of its first move, and the heat-map hint when the
// simulation tracked them. The lines are also the simulation pane's.
void Commands::showSimulationResults() {
  TextPane& pane = textPane();
  // While a simulation runs: its standings as they were last drawn.
  if (busy(Busy::simulation) || busy(Busy::analysis) || busy(Busy::computerMove)) {
    for (const std::string& line : pane.SimulationLines()) pane.Print(line);
    return;
  }
  const Game& game = *session_.game();
  const bool simulated = std::any_of(game.moves.begin(), game.moves.end(), [](const Move& m) { return m.simCount > 0; });
  if (!simulated) {
    PrintMessage(msg::SimNoResults);
    return;
  }
  // The pane: the statistics of the first move, then the table, a page at
  // a time, so that the table's head is what the view shows last. The
  // simulation lines (which Ctrl+P copies) hold all of it.
  const Move& top = game.moves.front();
  std::vector<std::string> head;
  head.push_back(MoveLine(game, game.toMove, top, "Move 1: "));
  for (const std::string& line : SimulationStatsLines(game, top)) head.push_back(line);
  if (HeatStatsOf(game, top) != nullptr) head.push_back(Message(msg::HeatmapHint));
  std::vector<std::string> table;
  table.push_back(SimulationResultsHeading(game));
  table.push_back(MoveLineHeader(game, game.toMove, 0));
  std::vector<std::string> rows;
  for (const Move& m : game.moves) rows.push_back(MoveLine(game, game.toMove, m, std::string()));
  std::vector<std::string> all = table;
  all.insert(all.end(), rows.begin(), rows.end());
  all.insert(all.end(), head.begin() + 1, head.end());
  pane.SetSimulationLines(all);
  for (const std::string& line : head) pane.Print(line);
  for (const std::string& line : table) pane.Print(line);
  moveListing().clear();
  for (std::string& row : rows) moveListing().add(std::move(row));
  moveListing().showNextPage();
}

}  // namespace pexil::ui
