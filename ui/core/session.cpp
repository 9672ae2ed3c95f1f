#include "session.hpp"

#include "board_image.hpp"

#include <algorithm>
#include <cstdlib>

#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "movegen/move_line.hpp"
#include "search/endgame_state.hpp"
#include "search/fast_lookahead.hpp"
#include "search/timed_move.hpp"
#include "search/simulation_report.hpp"
#include "tables/rack_tables.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"
#include "text/text_pane.hpp"

namespace pexil::ui {

Session::Session() : store_(std::make_unique<SettingsStore>()) {}

// The options the engine keeps for the whole process rather than per game:
// the greedier endgame search, and the benchmark rates the timed move's
// clock management reads.
void Session::applyProcessOptions() {
  endgameOptions().greedier = settings_.greedierEndgame;
  setStoredBenchmarkRates(StoredRates(*store_));
}

void Session::loadSettings() {
  LoadSettings(settings_, *store_);
  applyProcessOptions();
  // Lines stay whole while the wide text pane is forced.
  textPane().SetNoWrap(settings_.wideText);
}

void Session::start() {
  loadSettings();
  SetUILang(settings_.uiLang);
  // The view's random number: its absolute value decides which part of the
  // texture each tile shows.
  randomNumber_ = std::abs(randomNonNegative());
  PrintMessage(msg::Welcome);
  PrintMessage(msg::Ownership);
  PrintMessageF(msg::Version, kProgramVersion, programBuildDate());
  // A store that could not be read leaves the defaults in place; the user
  // is told, since a later save would write those defaults over the file.
  if (!store_->error().empty()) PrintMessageF(msg::SettingsCannotRead, store_->error().c_str());
  readGameDefinitions();
  PrintMessage(msg::SelectGameType);
}

bool Session::saveSettings() {
  textPane().SetNoWrap(settings_.wideText);
  if (SaveSettings(settings_, *store_)) return true;
  PrintMessage(msg::SettingsNotSaved);
  textPane().Print(store_->error());
  return false;
}

bool Session::startGame(int index, int players) {
  if (index >= 0 && index < gameTypeCount()) {
    const auto [least, most] = PlayerRange(index);
    if (players < least || players > most) {
      PrintMessageF(msg::StartGamePlayers, gameType(index).name.value_or("?").c_str(), least, most);
      return false;
    }
  }
  if (!prepareGame(index)) return false;
  return finishGame(index, players, LoadWordList(index));
}

bool Session::prepareGame(int index) {
  if (index < 0 || index >= gameTypeCount()) return false;
  gameChanged();
  game_.reset();
  if (!activateGameType(kKindDefined, index)) return false;
  setWordListAlphabet(gameType(index).alphabet);
  return true;
}

std::shared_ptr<Lexicon> Session::LoadWordList(int index) {
  const GameType& type = gameType(index);
  auto lexicon = std::make_shared<Lexicon>();
  const std::string validating = type.markPhonies && type.phonyCheckList ? *type.phonyCheckList : std::string();
  if (!loadWordListWithTables(*lexicon, type.defaultWordList, validating) || lexicon->wordCount() == 0) {
    textPane().Print("Cannot read the word list " + type.defaultWordList + ".");
    return nullptr;
  }
  // The leave values the computer player ranks its moves by.
  LoadRackTables(*lexicon);
  return lexicon;
}

bool Session::finishGame(int index, int players, std::shared_ptr<Lexicon> lexicon) {
  if (!lexicon) return false;
  gameChanged();
  auto game = std::make_unique<Game>();
  NewGame(*game, players, std::move(lexicon));
  ApplyEngineSettings(settings_, *game);
  game_ = std::move(game);
  settings_.defaultGameType = index;
  saveSettings();
  PrintMessage(msg::GameReady);
  loadSettings();
  return true;
}

void Session::replaceGame(std::unique_ptr<Game> game) {
  gameChanged();
  game_ = std::move(game);
  if (game_) ApplyEngineSettings(settings_, *game_);
}

std::unique_ptr<Game> Session::takeGame() {
  gameChanged();
  return std::move(game_);
}

void Session::applyEngineSettings() {
  endgameOptions().greedier = settings_.greedierEndgame;
  if (game_) ApplyEngineSettings(settings_, *game_);
}

Session::Rect Session::boardRect(const draw::DrawContext& context, int width, int height) const {
  if (!game_) return {};
  // The board itself: the label bands stay out of the picture.
  const draw::ImageRect r = draw::BoardImageRect(context, *game_, viewOptions(), width, height);
  return {r.x, r.y, r.width, r.height};
}

void Session::playBestMoves(int count) {
  if (!game_) return;
  gameChanged();
  for (int k = 0; k < count && !game_->gameOver; ++k) {
    game_->quiet = true;
    GenerateMoves(*game_, true);
    game_->quiet = false;
    const Move best = game_->bestMove;
    if (isNonPlacement(best) || best.word == nullptr) break;
    PlayMove(*game_, best);
  }
}

std::optional<draw::BoardPreview> Session::preview(const std::string& text, draw::HeatView heat) {
  if (!game_ || game_->gameOver) return std::nullopt;
  if (text != previewText_) {
    previewText_ = text;
    previewed_.reset();
    if (const auto move = ReadMove(*game_, text)) previewed_ = LayMove(*game_, *move);
  }
  if (!previewed_) return std::nullopt;
  draw::BoardPreview preview;
  preview.board = &previewed_->board;
  preview.laid = previewed_->laid;
  preview.used = previewed_->used;
  preview.highlightUsed = settings_.highlightTiles;
  preview.stats = heat != draw::HeatView::none ? HeatStatsOf(*game_, previewed_->move) : nullptr;
  preview.heat = preview.stats != nullptr ? heat : draw::HeatView::none;
  return preview;
}

bool Session::analyzeMove(const Move& move, int ply, int threads) {
  if (!game_ || game_->gameOver) return false;
  gameChanged();
  Game& game = *game_;
  // The report is printed below without the timing lines, so that the same
  // position always shows the same pane.
  const bool quiet = game.quiet, track = game.trackHeatmaps;
  game.quiet = true;
  game.trackHeatmaps = true;
  AnalyzeMove(game, move, ply, threads);
  game.quiet = quiet;
  game.trackHeatmaps = track;
  if (game.moves.empty()) return false;
  for (const std::string& line : SimulationStatsLines(game, game.moves.front())) textPane().Print(line);
  return HeatStatsOf(game, move) != nullptr;
}

std::size_t Session::printMoveLine(const Move& move) {
  if (game_) PrintMoveLine(*game_, game_->toMove, move, std::string());
  return textPane().LineCount() > 0 ? textPane().LineCount() - 1 : 0;
}

draw::ViewOptions Session::viewOptions() const { return ViewOptionsOf(settings_, randomNumber_); }

draw::ViewOptions ViewOptionsOf(const Settings& settings, int randomNumber) {
  draw::ViewOptions o;
  o.tileValue = settings.tileValue;
  o.rowColumnLabels = settings.rowColumnLabels;
  o.wideText = settings.wideText;
  o.bonusLabels = settings.bonusLabels;
  o.blankColour = settings.blankColour;
  o.tileStyle = settings.tileTexture;
  o.customText = settings.customTileText;
  o.customBackground = settings.customTileBackground;
  o.randomNumber = randomNumber;
  return o;
}

std::pair<int, int> PlayerRange(int index) {
  if (index < 0 || index >= gameTypeCount()) return {2, 2};
  const GameType& type = gameType(index);
  return {std::max(1, type.minPlayers), std::min(kMaxPlayers, std::max(type.minPlayers, type.maxPlayers))};
}

std::vector<std::string> GameTypeNames() {
  std::vector<std::string> names;
  for (int k = 0; k < gameTypeCount(); ++k) names.push_back(gameType(k).name.value_or("?"));
  return names;
}

}  // namespace pexil::ui
