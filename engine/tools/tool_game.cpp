#include "tools/tool_game.hpp"

#include <fstream>

#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "tables/rack_tables.hpp"
#include "text/text_pane.hpp"

namespace pexil {

bool FileReadable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return static_cast<bool>(in);
}

bool ActivateToolGameType(const std::string& typeName) {
  const int index = findGameType(typeName);
  if (index < 0 || !activateGameType(kKindDefined, index)) return false;
  setWordListAlphabet(gameType(index).alphabet);
  return true;
}

bool StartToolGame(Game& game, const std::string& typeName, const std::string& listName) {
  if (!ActivateToolGameType(typeName)) return false;
  const GameType& type = gameType(findGameType(typeName));
  auto lexicon = std::make_shared<Lexicon>();
  const std::string name = listName.empty() ? type.defaultWordList : listName;
  if (!loadWordListWithTables(*lexicon, name) || lexicon->wordCount() == 0) {
    textPane().Print("Cannot read the word list " + name + ".");
    return false;
  }
  LoadRackTables(*lexicon);
  NewGame(game, 2, std::move(lexicon));
  return true;
}

}  // namespace pexil
