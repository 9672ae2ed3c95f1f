#include "ui_test_support.hpp"

#include <sstream>

#include "test_support.hpp"

#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"

namespace pexil::test {

draw::DrawContext& drawContext() {
  static draw::DrawContext context(PEXIL_RUN_DIR);
  return context;
}

void lay(Game& game, const char* word, int column, int row, bool down, int blankAt) {
  for (int k = 0; word[k] != 0; ++k) {
    Square* sq = squareAt(game.board, column + (down ? 0 : k), row + (down ? k : 0));
    if (sq == nullptr || !sq->empty()) continue;
    sq->letter = word[k];
    sq->isBlank = k == blankAt ? 1 : 0;
    sq->placedMark = 1;
  }
}

namespace {
bool definitionsRead = false;
}  // namespace

DefinitionsScope::DefinitionsScope(const std::string& text) {
  std::istringstream in(text);
  readGameDefinitions(in);
  definitionsRead = true;  // seededPosition takes its types from these
}

DefinitionsScope::~DefinitionsScope() {
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  definitionsRead = true;
}

Game seededPosition(int type, unsigned seed, bool withWords, int players) {
  if (!definitionsRead) readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  definitionsRead = true;
  activateGameType(kKindDefined, type);
  setWordListAlphabet(gameType(type).alphabet);
  auto words = fixtureWords();
  setWordListAlphabet(gameType(type).alphabet);
  setProgramSeed(seed);
  Game game;
  startGame(game, players, words);
  if (!withWords) return game;
  const int cx = game.board.width / 2, cy = game.board.height / 2;
  lay(game, "quartz", cx - 2, cy, false);
  lay(game, "jovial", cx + 1, cy - 4, true, 2);
  lay(game, "boxed", cx - 2, cy - 1, true);
  lay(game, "wild", cx - 5, cy + 3, false);
  game.scores[0] = 57;
  game.scores[1] = 1;
  return game;
}

}  // namespace pexil::test
