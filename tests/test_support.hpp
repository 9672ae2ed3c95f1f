// Helpers shared by the tests.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::test {

// Collects the lines the process-wide pane gains while it lives.
class PaneCapture {
 public:
  PaneCapture() : start_(textPane().LineCount()) {}
  std::vector<std::string> lines() const {
    const std::vector<std::string> all = textPane().Lines();
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(start_), all.end());
  }

 private:
  std::size_t start_;
};

// Reads definitions from text and returns the lines printed meanwhile.
inline std::vector<std::string> readDefinitionsText(const std::string& text) {
  PaneCapture capture;
  std::istringstream in(text);
  readGameDefinitions(in);
  return capture.lines();
}

// The 17,000-word fixture list (tests/data/movegen/words.lst), loaded once
// per test program, without leave tables.
inline std::shared_ptr<Lexicon> fixtureWords() {
  static std::shared_ptr<Lexicon> lexicon = [] {
    auto l = std::make_shared<Lexicon>();
    l->loadLeaves = false;
    loadWordListWithTables(*l, PEXIL_TEST_DATA "/movegen/words.lst");
    return l;
  }();
  return lexicon;
}

// A two-player game on the fixture list with CAT laid across the centre
// (tiles from the bag) and both racks empty, the program seeded first.
inline Game gameWithCatAtCentre(std::uint32_t seed) {
  setProgramSeed(seed);
  Game game;
  startGame(game, 2, fixtureWords());
  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  Rack laid;
  EXPECT_EQ(addLetters(laid, "cat", &game.bag), 3);
  for (int k = 0; k < 3; ++k) squareAt(game.board, 6 + k, 7)->letter = "cat"[k];
  return game;
}

// CAT across the centre, the mover holding `rack` (tiles from the bag),
// the opponent a rack drawn from the bag, the game's own generator seeded,
// quiet, the board annotated.
inline Game catPosition(const char* rack, std::uint32_t seed) {
  Game game = gameWithCatAtCentre(seed);
  EXPECT_EQ(addLetters(game.racks[0], rack, &game.bag), static_cast<int>(std::string(rack).size()));
  drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
  game.random.seed(seed);
  game.quiet = true;
  prepareBoard(game);
  return game;
}

// The static best move (or a pass when there is none): a whole game in a
// moment, for tests that need games played rather than good ones.
inline void playStaticBestMove(Game& game) {
  GenerateMoves(game, Generation::bestOnly);
  if (isNonPlacement(game.bestMove)) {
    Pass(game);
  } else {
    PlayMove(game, game.bestMove);
  }
}

// Restores the shared state the tests change: UI language, word-list
// alphabet and the active rules.
class StateGuard {
 public:
  StateGuard() : language_(UILang()) {}
  ~StateGuard() {
    SetUILang(language_);
    rules_.restore();
  }

 private:
  int language_;
  RulesInForce rules_;
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("pexil-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes a file (bytes as given) and returns its path.
  std::string write(const std::string& name, const std::string& content) const {
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    return file.string();
  }
  std::string path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Makes a folder the working folder while it lives.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

}  // namespace pexil::test
