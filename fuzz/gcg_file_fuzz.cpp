// Reads arbitrary bytes as a game record, in both reading modes, then
// writes what was read and reads that again: no input may crash the
// reader, lose or make a tile, or give a record we cannot read back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "state/game.hpp"
#include "text/text_pane.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::shared_ptr<pexil::Lexicon> lexicon;
  static std::string path, again;
  if (!lexicon) {
    pexil::textPane().SetQuiet(true);
    pexil::setProgramSeed(1);
    const auto folder = std::filesystem::temp_directory_path() / ("pexil-fuzz-gcg-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "WORDS.LST") << "aa ab ad at ba bad bat cab cat dab tab tad act qi za zax zee water";
    lexicon = std::make_shared<pexil::Lexicon>();
    lexicon->loadLeaves = false;
    loadWordListWithTables(*lexicon, (folder / "WORDS.LST").string());
    path = (folder / "record.gcg").string();
    again = (folder / "again.gcg").string();
  }
  pexil::activateGameType(pexil::kKindStandard);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  pexil::GcgReadOptions options;
  options.lexicon = lexicon;
  // The first byte picks the mode, so that both are explored.
  options.analysisMode = size > 0 && (data[0] & 1) != 0;
  options.stopAfterMove = size > 1 && (data[1] & 3) == 0 ? data[1] % 40 : -1;
  pexil::Game game;
  const pexil::GcgReadResult result = pexil::ReadGcg(game, path, options);
  // Input that holds nothing of a game is refused and leaves the game as it was.
  if (!result.opened) {
    if (!result.nothingRead || game.playerCount != 0 || !game.history.empty()) __builtin_trap();
    pexil::undoStack().clear();
    return 0;
  }
  if (!pexil::tilesConserved(game)) __builtin_trap();
  if (!pexil::WriteGcg(game, again)) return 0;
  pexil::Game copy;
  options.analysisMode = false;
  options.stopAfterMove = -1;
  pexil::ReadGcg(copy, again, options);
  if (!pexil::tilesConserved(copy) || copy.history.size() != game.history.size()) __builtin_trap();
  pexil::undoStack().clear();
  return 0;
}
