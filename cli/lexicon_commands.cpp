// Commands about word lists: build-graph.
#include "commands.hpp"
#include "files/atomic_file.hpp"
#include "files/data_files.hpp"
#include "game_choice.hpp"
#include "lexicon/word_graph.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "text/messages.hpp"

namespace pexil::cli {

int runBuildGraph(const Arguments& args) {
  auto options = parseOptions(args, {"--type", "--kind"});
  if (!options) return 2;
  if (options->positional.size() != 1) {
    PrintMessageF(msg::CliBadOption, "build-graph LIST");
    return 2;
  }
  // The list is read from the current folder when it is there, else from
  // the data folder; the graph is written beside it.
  const std::string& named = options->positional.front();
  const std::string list = userInputPath(named);
  // Read the list with the alphabet of the game type it belongs to: the
  // chosen one, or the one whose default list it is. Only the alphabet is
  // taken, so no game-type checks (the language-pack notice) run.
  loadGameDefinitionsOnce();
  if (!options->has("--type") && !options->has("--kind")) {
    const std::string base = latin1Lower(list.substr(list.find_last_of('/') + 1));
    for (int i = 0; i < gameTypeCount(); ++i) {
      if (latin1Lower(gameType(i).defaultWordList) == base) {
        options->values["--type"] = std::to_string(i + 1);
        break;
      }
    }
  }
  if (!activateChosenGame(*options)) return 1;
  const int alphabet = activeGameType() ? activeGameType()->alphabet : kAlphabetEnglish;
  activateGameType(kKindStandard);
  setAlphabetCounts(alphabet);
  auto lexicon = std::make_unique<Lexicon>();
  lexicon->loadLeaves = false;
  lexicon->useGraphFile = false;
  if (!loadCommandWordList(*lexicon, list, named)) return kExitNoWordList;
  const WordGraph graph = WordGraph::build(*lexicon);
  const std::string target = companionName(list, ".tribble");
  if (!writeFileAtomically(target, graph.serialise())) {
    PrintMessageF(msg::CliCannotWrite, target.c_str());
    return 1;
  }
  PrintMessageF(msg::CliGraphWritten, target.c_str(), static_cast<int>(graph.nodeCount()), lexicon->wordCount());
  return 0;
}

}  // namespace pexil::cli
