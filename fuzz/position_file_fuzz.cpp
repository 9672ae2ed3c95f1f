// Reads arbitrary bytes as a position file. Whatever is accepted must be a
// sound position: the tiles add up to the set, the racks fit, the player to
// move exists, the position writes and reads back the same, and moves can
// be generated on it. Whatever is refused must leave the game as it was.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/position_file.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "state/game.hpp"
#include "text/text_pane.hpp"

namespace {

// Two small game types: a Spanish one (digit tiles, Ñ) and one with
// squares outside the playing area.
const char kDefinitions[] =
    "Game \"Small Spanish\"\nnumplayers 1 4\nespa\xF1ol\ndefaultwordlist \"WORDS.LST\"\n"
    "boardsize 7 7\nstartsquare 3 3\nbonus none . B4D4DC\nbonus 2ws * FC98D4\n"
    "board\n.......\n.*...*.\n.......\n...*...\n.......\n.*...*.\n.......\n"
    "racksize 7\nbingobonus 50\nmintilesexchange 7\n"
    "tile a 6 1 -1\ntile e 6 1 -1\ntile o 5 1 -1\ntile s 4 1 -1\ntile r 3 1 -1\ntile 1 1 5 -1\n"
    "tile 2 1 8 -1\ntile 3 1 8 -1\ntile \xF1 1 8 -1\ntile ? 2 0 -1\nGameEnd\n"
    "Game \"Holes\"\nnumplayers 1 4\ndefaultwordlist \"WORDS.LST\"\nboardsize 5 5\nstartsquare 2 2\n"
    "bonus none . 000000\nbonus empty - 000000\nboard\n-...-\n.....\n.....\n.....\n-...-\n"
    "racksize 5\nbingobonus 50\nmintilesexchange 5\n"
    "tile a 9 1 -1\ntile b 2 3 -1\ntile c 2 3 -1\ntile d 4 2 -1\ntile e 12 1 -1\ntile t 6 1 -1\ntile ? 2 0 -1\nGameEnd\n";

struct Setting {
  std::shared_ptr<pexil::Lexicon> lexicon;
  std::string input;
  std::string copy;
};

Setting& setting() {
  static Setting s = [] {
    pexil::textPane().SetQuiet(true);  // the pane keeps every line; don't grow it for ever
    pexil::setProgramSeed(1);
    std::istringstream definitions(kDefinitions);
    pexil::readGameDefinitions(definitions);
    const auto folder = std::filesystem::temp_directory_path() / ("pexil-fuzz-position-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "WORDS.LST") << "aa ab ad at ba bad bat cab cat dab tab tad act qi za zax zee";
    Setting made;
    pexil::activateGameType(pexil::kKindStandard);
    made.lexicon = std::make_shared<pexil::Lexicon>();
    made.lexicon->loadLeaves = false;
    loadWordListWithTables(*made.lexicon, (folder / "WORDS.LST").string());
    made.input = (folder / "input.pexil").string();
    made.copy = (folder / "copy.pexil").string();
    return made;
  }();
  return s;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Setting& s = setting();
  pexil::activateGameType(pexil::kKindStandard);
  {
    std::ofstream out(s.input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  pexil::Game game;
  pexil::startGame(game, 2, s.lexicon);
  game.historyEnabled = false;
  const pexil::Game before = game;

  if (!pexil::ReadPosition(game, s.input)) {
    // Refused: the previous game and its rules are back.
    if (game.playerCount != before.playerCount || !(game.bag == before.bag) || game.lexicon != before.lexicon ||
        pexil::rules().gameKind != pexil::kKindStandard || pexil::rules().width != 15) {
      __builtin_trap();
    }
    return 0;
  }

  if (!pexil::tilesConserved(game)) __builtin_trap();
  if (game.toMove < 0 || game.toMove >= game.playerCount) __builtin_trap();
  for (int p = 0; p < game.playerCount; ++p) {
    if (game.racks[static_cast<std::size_t>(p)].total() > pexil::rules().rackSize) __builtin_trap();
  }

  // What was read writes out and reads back to the same text.
  if (!pexil::WritePosition(game, s.copy)) __builtin_trap();
  const std::string written = fileText(s.copy);
  pexil::Game again;
  pexil::startGame(again, 1, game.lexicon);
  again.historyEnabled = false;
  if (!pexil::ReadPosition(again, s.copy)) __builtin_trap();
  if (!pexil::WritePosition(again, s.copy) || fileText(s.copy) != written) __builtin_trap();

  pexil::GenerateMoves(game, false);
  return 0;
}
