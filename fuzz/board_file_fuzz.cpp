// Reads arbitrary bytes as a board file and as a typed rack, then
// generates moves on whatever board was accepted.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "../cli/board_text_file.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "state/game.hpp"
#include "text/text_pane.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::shared_ptr<pexil::Lexicon> lexicon;
  static std::string path;
  if (!lexicon) {
    pexil::textPane().SetQuiet(true);
    pexil::setProgramSeed(1);
    const auto folder = std::filesystem::temp_directory_path() / ("pexil-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "WORDS.LST") << "aa ab ad at ba bad bat cab cat dab tab tad act qi za zax zee";
    lexicon = std::make_shared<pexil::Lexicon>();
    loadWordListWithTables(*lexicon, (folder / "WORDS.LST").string());
    path = (folder / "board.txt").string();
  }
  pexil::activateGameType(pexil::kKindStandard);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  pexil::Game game;
  pexil::startGame(game, 2, lexicon);
  for (int p = 0; p < game.playerCount; ++p) pexil::returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  if (!pexil::cli::layBoardFile(game, path)) return 0;
  const std::string typed(reinterpret_cast<const char*>(data), size < 12 ? size : 12);
  const auto rack = pexil::cli::parseRackText(typed);
  if (!pexil::GiveRack(game, 0, rack ? *rack : std::string("ABCDEZ?"))) return 0;
  pexil::prepareBoard(game);
  pexil::GenerateMoves(game, false);
  if (!pexil::allNonNegative(game.bag)) __builtin_trap();
  return 0;
}
